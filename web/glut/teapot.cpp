// SPDX-License-Identifier: MIT
#include "teapot.h"

#include <array>
#include <cmath>

#include "teapot_patches.h"

namespace zbv {

namespace {

using Vec3 = std::array<double, 3>;
using Patch = std::array<Vec3, 16>;  // control points, row by row

// The cubic Bernstein weights at t, and their derivatives.
std::array<double, 4> bernstein(double t) {
  const double s = 1 - t;
  return {s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t};
}
std::array<double, 4> bernsteinSlope(double t) {
  const double s = 1 - t;
  return {-3 * s * s, 3 * s * s - 6 * t * s, 6 * t * s - 3 * t * t, 3 * t * t};
}

Vec3 blend(const Patch& p, const std::array<double, 4>& across,
           const std::array<double, 4>& along) {
  Vec3 r{0, 0, 0};
  for (std::size_t i = 0; i < 4; ++i)
    for (std::size_t j = 0; j < 4; ++j)
      for (std::size_t k = 0; k < 3; ++k) r[k] += across[i] * along[j] * p[i * 4 + j][k];
  return r;
}

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double length(const Vec3& a) {
  return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// The 32 patches in drawing order: each quadrant patch four times, turned by a quarter each
// time; each half patch, then its mirror image, whose rows run backwards so that its faces
// keep their winding.
std::vector<Patch> allPatches() {
  std::vector<Patch> out;
  auto fetch = [](int patch, int i) {
    const float* c = teapot::kControlPoints[teapot::kPatches[patch][i]];
    return Vec3{c[0], c[1], c[2]};
  };
  for (int patch = 0; patch < teapot::kFirstHalfPatch; ++patch) {
    for (int quarter = 0; quarter < 4; ++quarter) {
      Patch p;
      for (int i = 0; i < 16; ++i) {
        Vec3 c = fetch(patch, i);
        for (int q = 0; q < quarter; ++q) c = {-c[1], c[0], c[2]};
        p[static_cast<std::size_t>(i)] = c;
      }
      out.push_back(p);
    }
  }
  for (int patch = teapot::kFirstHalfPatch; patch < teapot::kPatchCount; ++patch) {
    Patch p, mirrored;
    for (int i = 0; i < 16; ++i) {
      const Vec3 c = fetch(patch, i);
      p[static_cast<std::size_t>(i)] = c;
      mirrored[static_cast<std::size_t>((3 - i / 4) * 4 + i % 4)] = {c[0], -c[1], c[2]};
    }
    out.push_back(p);
    out.push_back(mirrored);
  }
  return out;
}

}  // namespace

TeapotMesh makeTeapot(double size) {
  // The data stand on z = 0 with the lid at z = 3.15: turned lid up and centred, at half
  // scale a teapot of size 1.
  const double scale = 0.5 * size, middle = 3.15 / 2;
  // Where a patch closes to a point (the lid's knob, the middle of the bottom), the rows
  // shrink to nothing and give no tangent: the normal there is the teapot's axis.
  const double kPoint = 0.02;

  TeapotMesh m;
  m.positions.reserve(kTeapotVertices * 3);
  m.normals.reserve(kTeapotVertices * 3);
  const double step = 1.0 / (kTeapotGrid - 1);
  for (const Patch& p : allPatches()) {
    for (int i = 0; i < kTeapotGrid; ++i) {
      const auto across = bernstein(i * step), acrossSlope = bernsteinSlope(i * step);
      for (int j = 0; j < kTeapotGrid; ++j) {
        const auto along = bernstein(j * step), alongSlope = bernsteinSlope(j * step);
        const Vec3 at = blend(p, across, along);
        const Vec3 tangent = blend(p, across, alongSlope);
        Vec3 n = cross(tangent, blend(p, acrossSlope, along));
        if (length(tangent) < kPoint) n = {0, 0, at[2] > middle ? 1.0 : -1.0};
        const double len = length(n);
        // Data (x, y, z) become (x, z, -y): a quarter turn about x.
        const Vec3 pos{at[0] * scale, (at[2] - middle) * scale, -at[1] * scale};
        const Vec3 dir{n[0] / len, n[2] / len, -n[1] / len};
        for (std::size_t k = 0; k < 3; ++k) {
          m.positions.push_back(static_cast<float>(pos[k]));
          m.normals.push_back(static_cast<float>(dir[k]));
        }
      }
    }
  }
  // Each grid square, row by row, as two triangles sharing the diagonal from its first
  // corner to the opposite one.
  m.indices.reserve(kTeapotTriangles * 3);
  for (int patch = 0; patch < kTeapotPatches; ++patch) {
    for (int i = 0; i + 1 < kTeapotGrid; ++i) {
      for (int j = 0; j + 1 < kTeapotGrid; ++j) {
        const int a = (patch * kTeapotGrid + i) * kTeapotGrid + j, b = a + kTeapotGrid;
        for (int v : {a, b, b + 1, a, b + 1, a + 1})
          m.indices.push_back(static_cast<std::uint16_t>(v));
      }
    }
  }
  return m;
}

}  // namespace zbv
