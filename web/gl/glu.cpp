// SPDX-License-Identifier: MIT
// GLU's camera and perspective projection, multiplied onto the current matrix.
#include <cmath>

#include "gl/context.h"
#include "gl/core.h"
#include "gl/hooks.h"

namespace zbv::web::gl {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x, y, z;
};
Vec cross(const Vec& a, const Vec& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec normalised(const Vec& v) {
  const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return len > 0 ? Vec{v.x / len, v.y / len, v.z / len} : v;
}

PlanesHook planesHook = nullptr;

void multiply(const double (&m)[16]) {
  float f[16];
  for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
  multMatrix(f);
}

}  // namespace

void lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY, double centerZ,
            double upX, double upY, double upZ) {
  // Rows: to the right, up, and backwards from the eye, which moves to the origin.
  const Vec forward = normalised({centerX - eyeX, centerY - eyeY, centerZ - eyeZ});
  const Vec side = normalised(cross(forward, {upX, upY, upZ}));
  const Vec up = cross(side, forward);
  const double m[16] = {side.x, up.x, -forward.x, 0, side.y, up.y, -forward.y, 0,
                        side.z, up.z, -forward.z, 0, 0,      0,    0,          1};
  multiply(m);
  translate(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

void onPerspective(PlanesHook hook) {
  planesHook = hook;
}

void perspective(double fovy, double aspect, double zNear, double zFar) {
  if (planesHook) planesHook(&zNear, &zFar);
  const double half = fovy / 2 * kPi / 180, depth = zFar - zNear;
  const double s = std::sin(half);
  // Nothing to multiply by for a flat view, an empty depth range or no width.
  if (depth == 0 || s == 0 || aspect == 0) return;
  const double cot = std::cos(half) / s;
  // Column by column; the rest are zero.
  double m[16] = {};
  m[0] = cot / aspect;
  m[5] = cot;
  m[10] = -(zFar + zNear) / depth;
  m[11] = -1;
  m[14] = -2 * zNear * zFar / depth;
  multiply(m);
  Context& c = context();
  if (c.matrixMode != GL_PROJECTION) return;
  c.perspectiveNear = zNear;
  c.perspectiveFar = zFar;
  c.perspectiveMatrix = c.projection;
}

bool projectionPlanes(double* zNear, double* zFar) {
  const Context& c = context();
  if (c.perspectiveFar <= c.perspectiveNear || c.projection != c.perspectiveMatrix) return false;
  *zNear = c.perspectiveNear;
  *zFar = c.perspectiveFar;
  return true;
}

}  // namespace zbv::web::gl
