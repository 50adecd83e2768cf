// SPDX-License-Identifier: MIT
// What OpenGL's lighting equation gives the scene's vertices. Materials here have equal
// ambient and diffuse colours and no specular or emission; every light has equal ambient and
// diffuse colours, stands at one point and is not attenuated:
//   colour = m * (global + light) + m * light * max(0, n.l)
// each channel clamped to [0, 1].
#ifndef TESTS_LIGHTING_H
#define TESTS_LIGHTING_H

#include "camera.h"
#include "image.h"
#include "scene_facts.h"

namespace zbv::test {

using facts::Colour;

// The colour lighting gives a vertex at this point with this normal (any length).
Colour litVertex(const Colour& material, const Colour& light, Vec3 point, Vec3 normal);
// The same with n.l given.
Colour lit(const Colour& material, const Colour& light, double ndotl);
// n.l on the floor: lighting is computed at its four corners, which differ by less than a
// hundredth; their mean stands for the whole floor.
double floorNdotL();

// A colour in [0, 1] as the 8-bit value the framebuffer stores.
Rgb toRgb(const Colour& c);

}  // namespace zbv::test

#endif  // TESTS_LIGHTING_H
