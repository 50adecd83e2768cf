// SPDX-License-Identifier: MIT
// Drawing from arrays, for GLUT's solid shapes.
#ifndef WEB_GL_DRAW_H
#define WEB_GL_DRAW_H

#include <cstdint>

namespace zbv::web {

// Triangles through the same per-vertex processing as glVertex, in the current colour and
// material: three indices per triangle into vertexCount positions and unit normals.
void drawTriangles(const float* positions, const float* normals, int vertexCount,
                   const std::uint16_t* indices, int indexCount);

}  // namespace zbv::web

#endif  // WEB_GL_DRAW_H
