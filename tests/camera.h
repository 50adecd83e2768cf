// SPDX-License-Identifier: MIT
// The camera as the checkers know it (scene/facts.json): gluLookAt's frame and
// gluPerspective's projection, computed here in double precision, and the rays through pixels.
#ifndef TESTS_CAMERA_H
#define TESTS_CAMERA_H

#include "scene_facts.h"

namespace zbv::test {

using facts::Vec3;

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(double k, Vec3 a);
double dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 unit(Vec3 a);

// Where a point of the world lands in a window of this size, counted from its top-left
// corner, and its eye depth (distance from the eye along the view).
struct Projected {
  double x, y, depth;
};
Projected project(Vec3 point, int width, int height);

// The ray through the centre of a pixel of a window of this size (x, y counted from the
// top-left corner): from the eye along dir, whose component along the view is 1, so that
// the ray's parameter is the eye depth.
struct Ray {
  Vec3 origin, dir;
};
Ray rayThrough(double x, double y, int width, int height);

// The value gluPerspective's matrix with these planes and the viewport give a point at this
// eye depth: window z = (z_ndc + 1) / 2.
double windowDepth(double eyeDepth, facts::Planes planes = facts::kPlanes);

// Whether the ray meets the floor between the near and far planes, and at what eye depth.
bool floorHit(const Ray& ray, double* eyeDepth, facts::Planes planes = facts::kPlanes);

// The depth buffer's value where the ray through pixel (x, y) meets the floor; false if it
// misses the floor or meets it beyond the far plane.
bool floorDepth(int x, int y, int width, int height, double* value,
                facts::Planes planes = facts::kPlanes);

}  // namespace zbv::test

#endif  // TESTS_CAMERA_H
