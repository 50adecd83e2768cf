// SPDX-License-Identifier: MIT
// Where the shown draws of the frame lie against its near and far planes: each triangle cut to
// the view's four side planes (and to what lies in front of the eye), and the part left seen
// as lying nearer than the near plane, beyond the far plane, or (in part) between them. For
// the page to say which plane emptied a picture.
#include <algorithm>
#include <array>
#include <vector>

#include "coverage.h"
#include "frame_record.h"
#include "gl/export.h"

namespace zbv::web::probe {

namespace {

using Point = std::array<double, 4>;

// The polygon's part where side(p) >= 0.
template <typename Side>
std::vector<Point> cut(const std::vector<Point>& poly, Side side) {
  std::vector<Point> kept;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point &p = poly[i], &q = poly[(i + 1) % poly.size()];
    const double dp = side(p), dq = side(q);
    if (dp >= 0) kept.push_back(p);
    if ((dp >= 0) != (dq >= 0)) {
      Point r;
      for (std::size_t k = 0; k < 4; ++k) r[k] = p[k] + dp / (dp - dq) * (q[k] - p[k]);
      kept.push_back(r);
    }
  }
  return kept;
}

}  // namespace

}  // namespace zbv::web::probe

extern "C" {

// 1 where every shown triangle that lies in the view lies beyond the far plane, 2 where every
// one lies nearer than the near plane, 3 where none lies in the view at all, 0 otherwise.
ZBV_EXPORT int zbv_frame_extent() {
  using namespace zbv::web::probe;
  bool any = false, before = false, between = false, beyond = false;
  for (const Draw& d : frameRecord().draws) {
    if (!d.shown) continue;
    std::uint32_t tri[3];
    for (std::size_t t = 0; triangle(d.primitive, t, tri); ++t) {
      std::vector<Point> poly;
      for (std::uint32_t i : tri) {
        const auto& c = d.primitive.vertices[i].clip;
        poly.push_back({c[0], c[1], c[2], c[3]});
      }
      poly = cut(poly, [](const Point& p) { return p[3] - 1e-12; });
      for (int axis = 0; axis < 2 && !poly.empty(); ++axis) {
        poly = cut(poly, [axis](const Point& p) { return p[3] - p[std::size_t(axis)]; });
        poly = cut(poly, [axis](const Point& p) { return p[3] + p[std::size_t(axis)]; });
      }
      if (poly.size() < 3) continue;
      any = true;
      for (const Point& p : poly) {
        if (p[2] < -p[3])
          before = true;
        else if (p[2] > p[3])
          beyond = true;
        else
          between = true;
      }
      if (between || (before && beyond)) return 0;
    }
  }
  if (!any) return 3;
  return beyond ? 1 : 2;
}
}
