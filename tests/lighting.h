// SPDX-License-Identifier: MIT
// What the OpenGL lighting equation says the scene's pixels must be. Materials here have
// equal ambient and diffuse colours and no specular or emission; every light has equal
// ambient and diffuse colours and stands at (5, 3, 0), with no attenuation:
//   colour = m * (global + light) + m * light * max(0, n.l)
#ifndef TESTS_LIGHTING_H
#define TESTS_LIGHTING_H

#include <gtest/gtest.h>

#include "image.h"

namespace zbv::test {

struct Colour {
  double r, g, b;
};

inline constexpr Colour kYellow{1, 1, 0}, kCyan{0, 1, 1}, kWhite{1, 1, 1};
inline constexpr Colour kFloor{0.12, 0.12, 0.12}, kGrey{0.6, 0.6, 0.6}, kRed{0.6, 0.12, 0.12},
    kBlue{0.12, 0.12, 0.6};
inline constexpr double kGlobalAmbient = 0.2;  // OpenGL's default light-model ambient
inline constexpr int kTolerance = 3;           // of 255, per channel

// A colour in [0, 1] as the 8-bit value the framebuffer stores.
int toByte(double v);
// Unlit: the current colour as it stands.
Rgb flat(const Colour& m);
// Lit by one light with the given n.l.
Rgb lit(const Colour& m, const Colour& light, double ndotl);
// n.l on the floor: lighting is computed at its four corners, which differ by less than a
// hundredth; their mean stands for the whole floor.
double floorNdotL();

// The pixel matches within the tolerance.
::testing::AssertionResult near(const Rgb& pixel, const Rgb& expected);
// The pixel faces the light: n.l, read off its strongest unsaturated lit channel, is
// positive, and with that n.l the equation gives every channel.
::testing::AssertionResult facesLight(const Rgb& pixel, const Colour& m, const Colour& light);

}  // namespace zbv::test

#endif  // TESTS_LIGHTING_H
