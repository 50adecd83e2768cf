// SPDX-License-Identifier: MIT
#include "scene_oracle.h"

#include <algorithm>
#include <cmath>

#include "camera.h"
#include "teapot.h"

namespace zbv::test {

using namespace facts;

namespace {

// Where the ray meets the triangle: its parameter and the weights of b and c; false if it
// misses.
bool hit(const Ray& r, Vec3 a, Vec3 b, Vec3 c, double* t, double* u, double* v) {
  const Vec3 e1 = b - a, e2 = c - a, p = cross(r.dir, e2);
  const double det = dot(e1, p);
  if (std::fabs(det) < 1e-12) return false;
  const Vec3 s = r.origin - a;
  *u = dot(s, p) / det;
  const Vec3 q = cross(s, e1);
  *v = dot(r.dir, q) / det;
  *t = dot(e2, q) / det;
  return *u >= 0 && *v >= 0 && *u + *v <= 1;
}

Colour mix(const Colour& a, const Colour& b, const Colour& c, double u, double v) {
  const double w = 1 - u - v;
  return {w * a.r + u * b.r + v * c.r, w * a.g + u * b.g + v * c.g, w * a.b + u * b.b + v * c.b};
}

}  // namespace

View afterKey(View v, char key) {
  const Key k = keyEffect(key);
  if (k.depthTest >= 0) v.depthTest = k.depthTest == 1;
  if (k.lighting >= 0) v.lighting = k.lighting == 1;
  if (k.light >= 0) v.light = kLights[k.light].colour;
  return v;
}

SceneOracle::SceneOracle(const View& view) : view_(view) {
  // Draw 1 is the floor, draw k + 2 teapot k.
  for (int k = 0; k < static_cast<int>(std::size(kTeapots)) && k + 2 <= view.draws; ++k) {
    const Teapot& pot = kTeapots[k];
    const TeapotMesh mesh = makeTeapot(pot.size);
    const auto vertex = [&](std::size_t i) {
      return Vec3{pot.at.x + mesh.positions[3 * i], pot.at.y + mesh.positions[3 * i + 1],
                  pot.at.z + mesh.positions[3 * i + 2]};
    };
    const auto colour = [&](std::size_t i) {
      if (!view.lighting) return pot.colour;
      const Vec3 n{mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]};
      return litVertex(pot.colour, view.light, vertex(i), n);
    };
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
      const std::size_t i = mesh.indices[t], j = mesh.indices[t + 1], l = mesh.indices[t + 2];
      const Vec3 a = vertex(i), b = vertex(j), c = vertex(l);
      // Outward faces wind clockwise; the others are culled.
      const Vec3 inward = cross(b - a, c - a);
      if (dot(inward, kEye - a) >= 0) continue;
      triangles_.push_back({k, a, b, c, colour(i), colour(j), colour(l)});
    }
  }
  columns_ = (view.width + kCell - 1) / kCell;
  const int rows = (view.height + kCell - 1) / kCell;
  cells_.resize(static_cast<std::size_t>(columns_ * rows));
  for (int n = 0; n < static_cast<int>(triangles_.size()); ++n) {
    const Triangle& tri = triangles_[static_cast<std::size_t>(n)];
    double x[3], y[3];
    int k = 0;
    for (Vec3 corner : {tri.a, tri.b, tri.c}) {
      const Projected p = project(corner, view.width, view.height);
      x[k] = p.x;
      y[k++] = p.y;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(*std::min_element(x, x + 3))) - 1);
    const int x1 = std::min(view.width - 1, static_cast<int>(*std::max_element(x, x + 3)) + 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(*std::min_element(y, y + 3))) - 1);
    const int y1 = std::min(view.height - 1, static_cast<int>(*std::max_element(y, y + 3)) + 1);
    for (int cy = y0 / kCell; cy <= y1 / kCell && y0 <= y1; ++cy)
      for (int cx = x0 / kCell; cx <= x1 / kCell && x0 <= x1; ++cx)
        cells_[static_cast<std::size_t>(cy * columns_ + cx)].push_back(n);
  }
}

Seen SceneOracle::at(int x, int y) const {
  const Ray ray = rayThrough(x, y, view_.width, view_.height);
  Seen seen;
  double nearest = view_.planes.zFar;
  // The floor is drawn first; lit, its corners' colours differ too little to interpolate.
  if (double d = 0; view_.draws >= 1 && floorHit(ray, &d, view_.planes)) {
    seen = {Seen::kFloor,
            view_.lighting ? lit(kFloor.colour, view_.light, floorNdotL()) : kFloor.colour, d};
    nearest = d;
  }
  // Then the teapots, triangle by triangle: with the depth test the nearest surface stays,
  // without it the last one drawn.
  for (int n : cells_[static_cast<std::size_t>((y / kCell) * columns_ + x / kCell)]) {
    const Triangle& tri = triangles_[static_cast<std::size_t>(n)];
    double t = 0, u = 0, v = 0;
    if (!hit(ray, tri.a, tri.b, tri.c, &t, &u, &v) || t < view_.planes.zNear ||
        t > view_.planes.zFar)
      continue;
    if (view_.depthTest && t >= nearest) continue;
    nearest = t;
    seen = {tri.object, mix(tri.ca, tri.cb, tri.cc, u, v), t};
  }
  return seen;
}

bool SceneOracle::smoothAt(int x, int y, int tolerance) const {
  const Seen centre = at(x, y);
  const Rgb c = toRgb(centre.colour);
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = std::clamp(x + dx, 0, view_.width - 1);
      const int ny = std::clamp(y + dy, 0, view_.height - 1);
      const Seen s = at(nx, ny);
      if (s.object != centre.object || channelDistance(toRgb(s.colour), c) > tolerance)
        return false;
    }
  }
  return true;
}

}  // namespace zbv::test
