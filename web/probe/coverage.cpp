// SPDX-License-Identifier: MIT
#include "coverage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zbv::web::probe {

using gl::Vec4;

namespace {

using Point = std::array<double, 4>;

// A convex polygon: a triangle, or what is left of one cut by two planes.
template <typename T>
struct Polygon {
  T at[5];
  std::size_t n = 0;
  void add(const T& p) { at[n++] = p; }
};

// The triangle cut to the part between the near and far planes (-w <= z <= w).
Polygon<Point> clipToDepthRange(Polygon<Point> poly) {
  for (double side : {1.0, -1.0}) {
    Polygon<Point> kept;
    for (std::size_t i = 0; i < poly.n; ++i) {
      const Point& p = poly.at[i];
      const Point& q = poly.at[(i + 1) % poly.n];
      const double dp = p[3] + side * p[2], dq = q[3] + side * q[2];
      if (dp >= 0) kept.add(p);
      if ((dp >= 0) != (dq >= 0)) {
        const double t = dp / (dp - dq);
        Point r;
        for (std::size_t k = 0; k < 4; ++k) r[k] = p[k] + t * (q[k] - p[k]);
        kept.add(r);
      }
    }
    poly = kept;
  }
  return poly;
}

// How far (in pixels) the point (px, py) of the window lies inside the convex polygon's
// edges; negative outside. The polygon is in window coordinates, either way round.
double inside(const Polygon<std::array<double, 2>>& poly, double px, double py) {
  double area = 0;
  for (std::size_t i = 0; i < poly.n; ++i) {
    const auto& p = poly.at[i];
    const auto& q = poly.at[(i + 1) % poly.n];
    area += p[0] * q[1] - q[0] * p[1];
  }
  double least = 1e30;
  for (std::size_t i = 0; i < poly.n; ++i) {
    const auto& p = poly.at[i];
    const auto& q = poly.at[(i + 1) % poly.n];
    const double ex = q[0] - p[0], ey = q[1] - p[1], len = std::sqrt(ex * ex + ey * ey);
    if (len == 0) continue;
    const double cross = ex * (py - p[1]) - ey * (px - p[0]);
    least = std::min(least, (area > 0 ? cross : -cross) / len);
  }
  return least;
}

// WebGL's rasteriser snaps vertices to a fraction of a pixel (SUBPIXEL_BITS) and decides a
// pixel centre on an edge by its own rule. Triangles wholly within the depth range are found
// here from the same snapped positions; a centre exactly on an edge is left to WebGL to
// decide, as is one near the edge of a triangle that must be clipped.
constexpr double kClippedEdgeMargin = 0.1;  // in pixels
constexpr double kNearMargin = 0.5;

// The weights of the point of the triangle whose projection is the window point (px, py):
// sum w_i (x_i - nx w_i) = 0, sum w_i (y_i - ny w_i) = 0, sum w_i = 1. They interpolate the
// colours as the rasteriser does (in clip space: perspective-correct); and its depth there.
bool weigh(const FrameRecord& r, const Point clip[3], double px, double py, Hit* hit) {
  const double nx = 2 * (px - r.viewport[0]) / r.viewport[2] - 1;
  const double ny = 2 * (py - r.viewport[1]) / r.viewport[3] - 1;
  double ex[3], ey[3], w[3];
  for (int i = 0; i < 3; ++i) {
    ex[i] = clip[i][0] - nx * clip[i][3];
    ey[i] = clip[i][1] - ny * clip[i][3];
  }
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    w[i] = ex[j] * ey[k] - ex[k] * ey[j];
  }
  const double sum = w[0] + w[1] + w[2];
  if (sum == 0) return false;
  double z = 0, cw = 0;
  for (int i = 0; i < 3; ++i) {
    hit->weight[i] = w[i] / sum;
    z += hit->weight[i] * clip[i][2];
    cw += hit->weight[i] * clip[i][3];
  }
  if (cw <= 0) return false;
  hit->depth = std::clamp((z / cw + 1) / 2, 0.0, 1.0);
  return true;
}

}  // namespace

Cover covers(const Draw& d, const FrameRecord& r, const Vec4* const v[3], double px, double py,
             double snap, Hit* hit) {
  // Facing: the sign of det [x y w] is that of the projected triangle's area.
  double area = 0;
  for (int i = 0; i < 3; ++i) {
    const Vec4& p = *v[i];
    const Vec4& q = *v[(i + 1) % 3];
    const Vec4& s = *v[(i + 2) % 3];
    area += double(p[0]) * (double(q[1]) * s[3] - double(s[1]) * q[3]);
  }
  if (area == 0) return Cover::no;
  bool whole = true;  // in front of the eye, between the near and far planes
  for (int i = 0; i < 3; ++i)
    whole = whole && (*v[i])[3] > 0 && std::fabs((*v[i])[2]) <= (*v[i])[3];
  // The vertices in clip coordinates, x and y moved to where the rasteriser snaps them.
  Point clip[3];
  Polygon<std::array<double, 2>> window;
  for (int i = 0; i < 3; ++i) {
    for (std::size_t k = 0; k < 4; ++k) clip[i][k] = (*v[i])[k];
    if (!whole) continue;
    std::array<double, 2> at{};
    for (std::size_t k = 0; k < 2; ++k) {
      const double to = r.viewport[k] + (clip[i][k] / clip[i][3] + 1) * r.viewport[k + 2] / 2;
      at[k] = std::floor(to * snap + 0.5) / snap;
      clip[i][k] = (2 * (at[k] - r.viewport[k]) / r.viewport[k + 2] - 1) * clip[i][3];
    }
    window.add(at);
  }
  if (whole) {
    double lo[2] = {window.at[0][0], window.at[0][1]}, hi[2] = {lo[0], lo[1]};
    for (std::size_t i = 0; i < window.n; ++i)
      for (std::size_t k = 0; k < 2; ++k) {
        lo[k] = std::min(lo[k], window.at[i][k]);
        hi[k] = std::max(hi[k], window.at[i][k]);
      }
    if (px < lo[0] - kNearMargin || px > hi[0] + kNearMargin || py < lo[1] - kNearMargin ||
        py > hi[1] + kNearMargin)
      return Cover::no;
  }
  if (d.cullFace) {
    const bool front = (area > 0) == (d.frontFace == GL_CCW);
    if (d.cullMode == GL_FRONT_AND_BACK || (d.cullMode == GL_BACK) != front) return Cover::no;
  }
  if (!whole) {
    Polygon<Point> triangle;
    for (const Point& p : clip) triangle.add(p);
    const Polygon<Point> clipped = clipToDepthRange(triangle);
    if (clipped.n < 3) return Cover::no;
    for (std::size_t i = 0; i < clipped.n; ++i) {
      const Point& p = clipped.at[i];
      window.add({r.viewport[0] + (p[0] / p[3] + 1) * r.viewport[2] / 2,
                  r.viewport[1] + (p[1] / p[3] + 1) * r.viewport[3] / 2});
    }
  }
  const double margin = inside(window, px, py), doubt = whole ? 1e-9 : kClippedEdgeMargin;
  if (margin < -kNearMargin) return Cover::no;
  if (!weigh(r, clip, px, py, hit)) return Cover::no;
  return margin > doubt ? Cover::yes : margin >= -doubt ? Cover::ask : Cover::near;
}

bool onRay(const FrameRecord& r, const Vec4* const v[3], double px, double py, Hit* hit) {
  Point clip[3];
  for (int i = 0; i < 3; ++i)
    for (std::size_t k = 0; k < 4; ++k) clip[i][k] = (*v[i])[k];
  return weigh(r, clip, px, py, hit);
}

std::size_t triangleEndingAt(const gl::Primitive& d, std::size_t n) {
  if (d.mode == GL_TRIANGLES) return n % 3 == 2 ? n / 3 : std::size_t(-1);
  return n >= 2 ? n - 2 : std::size_t(-1);
}

bool triangle(const gl::Primitive& d, std::size_t t, std::uint32_t out[3]) {
  const auto& o = d.order;
  // No triangle (size_t(-1)) or past the end: the sums below would wrap round.
  if (t >= o.size()) return false;
  if (d.mode == GL_TRIANGLES) {
    if (3 * t + 2 >= o.size()) return false;
    for (std::size_t i = 0; i < 3; ++i) out[i] = o[3 * t + i];
  } else if (d.mode == GL_TRIANGLE_STRIP) {
    if (t + 2 >= o.size()) return false;
    // Every other triangle of a strip is taken in reverse, to keep the strip's winding.
    out[0] = o[t % 2 ? t + 1 : t];
    out[1] = o[t % 2 ? t : t + 1];
    out[2] = o[t + 2];
  } else {  // a fan
    if (t + 2 >= o.size()) return false;
    out[0] = o[0];
    out[1] = o[t + 1];
    out[2] = o[t + 2];
  }
  return true;
}

}  // namespace zbv::web::probe
