// SPDX-License-Identifier: MIT
#include "gl/depth.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gl/export.h"

namespace zbv::web::gl {

namespace {

DepthFormat& format() {
  static DepthFormat f;
  return f;
}

double largestCode() {
  return std::ldexp(1.0, format().bits) - 1;
}

}  // namespace

const DepthFormat& depthFormat() {
  return format();
}

std::int64_t depthCode(double z) {
  z = std::clamp(z, 0.0, 1.0);
  if (format().isFloat) {
    const float f = static_cast<float>(z);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
  }
  return static_cast<std::int64_t>(std::floor(z * largestCode() + 0.5));
}

double depthOfCode(std::int64_t k) {
  if (format().isFloat) {
    const auto bits = static_cast<std::uint32_t>(k);
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  return static_cast<double>(k) / largestCode();
}

}  // namespace zbv::web::gl

extern "C" ZBV_EXPORT void zbv_gl_depth_format(int bits, int isFloat) {
  auto& f = zbv::web::gl::format();
  f.isFloat = isFloat != 0;
  f.bits = f.isFloat ? 32 : std::clamp(bits, 1, 31);
}
