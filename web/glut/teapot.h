// SPDX-License-Identifier: MIT
// The solid teapot as GLUT draws it: 32 Bezier patches, each evaluated on an 8x8 grid and cut
// into triangles, with unit normals. Plain C++, so the desktop tests can set it beside GLUT's.
#ifndef WEB_TEAPOT_H
#define WEB_TEAPOT_H

#include <cstdint>
#include <vector>

namespace zbv {

struct TeapotMesh {
  std::vector<float> positions;        // x, y, z per vertex
  std::vector<float> normals;          // x, y, z per vertex, unit length
  std::vector<std::uint16_t> indices;  // three per triangle, outward faces clockwise
};

inline constexpr int kTeapotGrid = 8;  // vertices along each side of a patch
inline constexpr int kTeapotPatches = 32;
inline constexpr int kTeapotVertices = kTeapotPatches * kTeapotGrid * kTeapotGrid;
inline constexpr int kTeapotTriangles = kTeapotPatches * (kTeapotGrid - 1) * (kTeapotGrid - 1) * 2;

// A teapot of the given size: centred at the origin, lid up (+y), spout towards +x; it
// reaches size * 0.7875 above and below the centre.
TeapotMesh makeTeapot(double size);

}  // namespace zbv

#endif  // WEB_TEAPOT_H
