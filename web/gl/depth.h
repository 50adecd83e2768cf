// SPDX-License-Identifier: MIT
// The depth buffer's format the picture is drawn with: a depth in [0, 1] kept as a code of so
// many bits, k = round(z (2^bits - 1)), or as a 32-bit float whose bits are its code. The GL
// layer owns it: its browser side (depth_format.js) sets it when the page chooses a format,
// and everything above reads it here. 24 bits until then, as the canvas's own buffer has.
#ifndef WEB_GL_DEPTH_H
#define WEB_GL_DEPTH_H

#include <cstdint>

namespace zbv::web::gl {

struct DepthFormat {
  int bits = 24;
  bool isFloat = false;
};

const DepthFormat& depthFormat();

// The code the format gives window z, exactly (z in double, clamped to [0, 1], rounded to the
// nearest code): codes compare as the depths they keep do, neighbouring codes one apart.
std::int64_t depthCode(double z);
// The depth a code stands for.
double depthOfCode(std::int64_t code);

}  // namespace zbv::web::gl

extern "C" {

// The format from now on: 16 or 24 bits (isFloat 0), or a 32-bit float (isFloat 1).
void zbv_gl_depth_format(int bits, int isFloat);
}

#endif  // WEB_GL_DEPTH_H
