// SPDX-License-Identifier: MIT
// The depth buffer's format, as the inspector reckons with it: a depth in [0, 1] kept as a
// code of so many bits (k = round(z (2^bits - 1))), or as a 32-bit float. The page sets it to
// the format its picture is drawn with; 24 bits until then.
#ifndef WEB_PROBE_DEPTH_FORMAT_H
#define WEB_PROBE_DEPTH_FORMAT_H

#include <cstdint>

namespace zbv::web::probe {

struct DepthFormat {
  int bits = 24;
  bool isFloat = false;
};

const DepthFormat& depthFormat();

// What the buffer keeps for window z: the code, or the float's bits. Codes compare as the
// depths they keep do (for floats in [0, 1] too), and neighbouring codes are one apart.
std::int64_t code(double z);
// The depth a code stands for.
double depthOf(std::int64_t code);

}  // namespace zbv::web::probe

extern "C" {

// The format the picture is drawn with from now on: 16 or 24 bits (isFloat 0), or a 32-bit
// float (bits 32, isFloat 1).
void zbv_probe_depth_format(int bits, int isFloat);
}

#endif  // WEB_PROBE_DEPTH_FORMAT_H
