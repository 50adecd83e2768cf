// SPDX-License-Identifier: MIT
#include "web_rasteriser.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace zbv::test {

namespace {

constexpr unsigned kBack = 0x0405, kFrontAndBack = 0x0408, kCcw = 0x0901;

// The polygon's part on the side of the plane where side(p) >= 0.
std::vector<ClipVertex> cut(const std::vector<ClipVertex>& poly,
                            double (*side)(const ClipVertex&)) {
  std::vector<ClipVertex> kept;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const ClipVertex &p = poly[i], &q = poly[(i + 1) % poly.size()];
    const double dp = side(p), dq = side(q);
    if (dp >= 0) kept.push_back(p);
    if ((dp >= 0) != (dq >= 0)) {
      ClipVertex r;
      for (std::size_t k = 0; k < 4; ++k) r[k] = p[k] + dp / (dp - dq) * (q[k] - p[k]);
      kept.push_back(r);
    }
  }
  return kept;
}

}  // namespace

bool rasterCovers(const Raster& raster, const std::array<ClipVertex, 3>& triangle, int x, int y) {
  std::vector<ClipVertex> poly(triangle.begin(), triangle.end());
  poly = cut(poly, [](const ClipVertex& p) { return p[3] + p[2]; });  // near
  poly = cut(poly, [](const ClipVertex& p) { return p[3] - p[2]; });  // far
  if (poly.size() < 3) return false;
  // Window coordinates in steps of the sub-pixel grid (or unsnapped, as doubles).
  const double scale = raster.subpixelBits < 0 ? 1 : std::ldexp(1.0, raster.subpixelBits);
  std::vector<std::array<double, 2>> at;
  for (const ClipVertex& p : poly) {
    if (p[3] <= 0) return false;
    std::array<double, 2> w{};
    for (std::size_t k = 0; k < 2; ++k) {
      w[k] = (raster.viewport[k] + (p[k] / p[3] + 1) * raster.viewport[k + 2] / 2) * scale;
      if (raster.subpixelBits >= 0) w[k] = std::floor(w[k] + 0.5);
    }
    at.push_back(w);
  }
  double area = 0;
  for (std::size_t i = 0; i < at.size(); ++i) {
    const auto &p = at[i], &q = at[(i + 1) % at.size()];
    area += p[0] * q[1] - q[0] * p[1];
  }
  if (area == 0) return false;
  if (raster.cull) {
    const bool front = (area > 0) == (raster.frontFace == kCcw);
    if (raster.cullMode == kFrontAndBack || (raster.cullMode == kBack) != front) return false;
  }
  // Counter-clockwise from here on: the inside lies to the left of every edge.
  if (area < 0) std::vector<std::array<double, 2>>(at.rbegin(), at.rend()).swap(at);
  const double px = (x + 0.5) * scale, py = (y + 0.5) * scale;
  for (std::size_t i = 0; i < at.size(); ++i) {
    const auto &a = at[i], &b = at[(i + 1) % at.size()];
    const double ex = b[0] - a[0], ey = b[1] - a[1];
    const double e = ex * (py - a[1]) - ey * (px - a[0]);
    // A left edge runs down, a top edge runs to the left along a row.
    const bool topLeft = ey < 0 || (ey == 0 && ex < 0);
    if (e < 0 || (e == 0 && !topLeft)) return false;
  }
  return true;
}

}  // namespace zbv::test
