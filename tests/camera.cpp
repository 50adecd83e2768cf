// SPDX-License-Identifier: MIT
#include "camera.h"

#include <cmath>

namespace zbv::test {

using namespace facts;

Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(double k, Vec3 a) {
  return {k * a.x, k * a.y, k * a.z};
}
double dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 unit(Vec3 a) {
  return (1 / std::sqrt(dot(a, a))) * a;
}

namespace {

// gluLookAt's frame: where the camera looks, its right and its up, all unit vectors.
struct Frame {
  Vec3 forward, side, up;
};
Frame lookAt() {
  const Vec3 forward = unit(kTarget - kEye);
  const Vec3 side = unit(cross(forward, kUp));
  return {forward, side, cross(side, forward)};
}

// Half the view's height at unit distance.
double tanHalfFovy() {
  static const double value = std::tan(kFovyDegrees * M_PI / 360);
  return value;
}

}  // namespace

Projected project(Vec3 p, int width, int height) {
  static const Frame f = lookAt();
  const Vec3 e = p - kEye;
  const double depth = dot(e, f.forward), aspect = static_cast<double>(width) / height;
  return {(dot(e, f.side) / (depth * tanHalfFovy() * aspect) + 1) / 2 * width,
          (1 - dot(e, f.up) / (depth * tanHalfFovy())) / 2 * height, depth};
}

Ray rayThrough(double x, double y, int width, int height) {
  static const Frame f = lookAt();
  const double aspect = static_cast<double>(width) / height;
  // Normalised device coordinates of the pixel's centre, y up.
  const double nx = 2 * (x + 0.5) / width - 1, ny = 1 - 2 * (y + 0.5) / height;
  return {kEye, (nx * tanHalfFovy() * aspect) * f.side + (ny * tanHalfFovy()) * f.up + f.forward};
}

double windowDepth(double eyeDepth, Planes planes) {
  const double n = planes.zNear, f = planes.zFar;
  const double ndc = (f + n) / (f - n) - 2 * f * n / ((f - n) * eyeDepth);
  return (ndc + 1) / 2;
}

bool floorHit(const Ray& r, double* eyeDepth, Planes planes) {
  const double d = (kFloor.y - r.origin.y) / r.dir.y;
  const Vec3 hit = r.origin + d * r.dir;
  if (d < planes.zNear || d > planes.zFar || std::fabs(hit.x) > kFloor.halfSize ||
      std::fabs(hit.z) > kFloor.halfSize)
    return false;
  *eyeDepth = d;
  return true;
}

bool floorDepth(int x, int y, int width, int height, double* value, Planes planes) {
  double d = 0;
  if (!floorHit(rayThrough(x, y, width, height), &d, planes)) return false;
  *value = windowDepth(d, planes);
  return true;
}

}  // namespace zbv::test
