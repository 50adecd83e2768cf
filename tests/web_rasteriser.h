// SPDX-License-Identifier: MIT
// A small reference rasteriser, for the web layer's native tests: whether a triangle given in
// clip coordinates covers a pixel, as a rasteriser decides it. The triangle is cut to the
// depth range (-w <= z <= w), its corners are placed in the window and snapped to 1 / 2^bits
// of a pixel, and a pixel's centre lying exactly on an edge belongs to the triangle only if
// that edge is a top or a left one (the top-left rule; top is towards greater window y).
#ifndef TESTS_WEB_RASTERISER_H
#define TESTS_WEB_RASTERISER_H

#include <array>

namespace zbv::test {

using ClipVertex = std::array<double, 4>;  // x, y, z, w

struct Raster {
  int viewport[4] = {0, 0, 0, 0};  // x, y, width, height
  int subpixelBits = 8;            // negative: corners are not snapped at all
  bool cull = false;
  unsigned cullMode = 0x0405, frontFace = 0x0901;  // GL_BACK, GL_CCW
};

// Whether the triangle covers pixel (x, y) of the window (from its bottom left).
bool rasterCovers(const Raster& raster, const std::array<ClipVertex, 3>& triangle, int x, int y);

}  // namespace zbv::test

#endif  // TESTS_WEB_RASTERISER_H
