// SPDX-License-Identifier: MIT
#include "lighting.h"

#include <algorithm>
#include <cmath>

namespace zbv::test {

using namespace facts;

Colour lit(const Colour& m, const Colour& light, double ndotl) {
  const double d = std::max(0.0, ndotl);
  const auto shade = [&](double mc, double lc) {
    return std::clamp(mc * (kGlobalAmbient + lc) + mc * lc * d, 0.0, 1.0);
  };
  return {shade(m.r, light.r), shade(m.g, light.g), shade(m.b, light.b)};
}

Colour litVertex(const Colour& m, const Colour& light, Vec3 point, Vec3 normal) {
  return lit(m, light, dot(unit(normal), unit(kLightPosition - point)));
}

double floorNdotL() {
  const double h = kFloor.halfSize;
  double sum = 0;
  for (Vec3 corner :
       {Vec3{h, kFloor.y, -h}, Vec3{h, kFloor.y, h}, Vec3{-h, kFloor.y, -h}, Vec3{-h, kFloor.y, h}})
    sum += dot(Vec3{0, 1, 0}, unit(kLightPosition - corner));
  return sum / 4;
}

Rgb toRgb(const Colour& c) {
  const auto byte = [](double v) {
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  return {byte(c.r), byte(c.g), byte(c.b)};
}

}  // namespace zbv::test
