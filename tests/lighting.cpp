// SPDX-License-Identifier: MIT
#include "lighting.h"

#include <algorithm>
#include <cmath>

namespace zbv::test {

int toByte(double v) {
  return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

Rgb flat(const Colour& m) {
  return {toByte(m.r), toByte(m.g), toByte(m.b)};
}

namespace {
double shade(double m, double light, double ndotl) {
  return m * (kGlobalAmbient + light) + m * light * std::max(0.0, ndotl);
}
}  // namespace

Rgb lit(const Colour& m, const Colour& light, double ndotl) {
  return {toByte(shade(m.r, light.r, ndotl)), toByte(shade(m.g, light.g, ndotl)),
          toByte(shade(m.b, light.b, ndotl))};
}

double floorNdotL() {
  const double corners[4][2] = {{100, -100}, {100, 100}, {-100, -100}, {-100, 100}};
  double sum = 0;
  for (const auto& c : corners) {
    const double lx = 5 - c[0], ly = 3 - -2.0, lz = 0 - c[1];
    sum += ly / std::sqrt(lx * lx + ly * ly + lz * lz);
  }
  return sum / 4;
}

::testing::AssertionResult near(const Rgb& pixel, const Rgb& expected) {
  if (channelDistance(pixel, expected) <= kTolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << pixel << ", expected " << expected;
}

::testing::AssertionResult facesLight(const Rgb& pixel, const Colour& m, const Colour& light) {
  const int got[3] = {pixel.r, pixel.g, pixel.b};
  const double gain[3] = {m.r * light.r, m.g * light.g, m.b * light.b};
  const double base[3] = {m.r * (kGlobalAmbient + light.r), m.g * (kGlobalAmbient + light.g),
                          m.b * (kGlobalAmbient + light.b)};
  int best = -1;
  for (int c = 0; c < 3; ++c) {
    if (gain[c] > 0 && got[c] < 255 && (best < 0 || gain[c] > gain[best])) best = c;
  }
  // Every lit channel saturated: n.l is large, and all of them must read 255.
  double ndotl = 1;
  if (best >= 0) ndotl = (got[best] / 255.0 - base[best]) / gain[best];
  if (ndotl * gain[best < 0 ? 0 : best] * 255 <= kTolerance) {
    return ::testing::AssertionFailure()
           << "pixel " << pixel << " is not lit beyond its ambient part (n.l = " << ndotl << ")";
  }
  return near(pixel, lit(m, light, ndotl)) << " with n.l = " << ndotl;
}

}  // namespace zbv::test
