// SPDX-License-Identifier: MIT
// Vertices: transformed to eye and clip coordinates, lit or given the current colour, and
// handed on a primitive at a time to the frame's record, which has WebGL draw them. The
// rasteriser interpolates the colours across each triangle (smooth shading).
#include "gl_draw.h"

#include <GL/gl.h>

#include <vector>

#include "frame_record.h"
#include "gl_context.h"

namespace zbv::web {

namespace {

// The vertices of the primitive being built.
std::vector<Vertex>& pending() {
  static std::vector<Vertex> v;
  return v;
}

// The normal in eye coordinates: multiplied by the inverse of the model-view matrix's
// upper 3x3 part, from the right.
Vec3 eyeNormal(const Mat4& m, const Vec3& n) {
  const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6],
              i = m[10];
  const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0) return n;
  // The cofactors: over the determinant, the transpose of the inverse.
  const float cof[3][3] = {{(e * i - f * h), -(d * i - f * g), (d * h - e * g)},
                           {-(b * i - c * h), (a * i - c * g), -(a * h - b * g)},
                           {(b * f - c * e), -(a * f - c * d), (a * e - b * d)}};
  Vec3 r{};
  for (std::size_t j = 0; j < 3; ++j)
    r[j] = (cof[j][0] * n[0] + cof[j][1] * n[1] + cof[j][2] * n[2]) / det;
  return r;
}

}  // namespace

Vertex processVertex(const Vec3& position, const Vec3& normal) {
  const Context& c = context();
  const Vec4 eye = transform(c.modelview, {position[0], position[1], position[2], 1});
  Vertex v{transform(c.projection, eye), c.colour, {}};
  if (c.lighting) {
    const Vec3 n = eyeNormal(c.modelview, normal);
    v.colour = lightVertex(eye, c.normalize ? unit(n) : n, &v.terms);
  }
  return v;
}

void drawTriangles(const float* positions, const float* normals, int vertexCount,
                   const std::uint16_t* indices, int indexCount) {
  if (!outsidePrimitive()) return;
  std::vector<Vertex> lit;
  lit.reserve(static_cast<std::size_t>(vertexCount));
  for (int i = 0; i < vertexCount; ++i) {
    const float* p = positions + 3 * i;
    const float* n = normals + 3 * i;
    lit.push_back(processVertex({p[0], p[1], p[2]}, {n[0], n[1], n[2]}));
  }
  std::vector<std::uint32_t> order(indices, indices + indexCount);
  submitDraw(GL_TRIANGLES, std::move(lit), std::move(order));
}

}  // namespace zbv::web

using namespace zbv::web;

extern "C" {

void glBegin(GLenum mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_TRIANGLES && mode != GL_TRIANGLE_STRIP && mode != GL_TRIANGLE_FAN) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().primitive = mode;
  pending().clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  // Outside glBegin and glEnd a vertex has no effect.
  if (context().primitive != 0) pending().push_back(processVertex({x, y, z}, context().normal));
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  glVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}

void glEnd(void) {
  Context& c = context();
  if (c.primitive == 0) {
    fail(GL_INVALID_OPERATION);
    return;
  }
  std::vector<Vertex> vertices;
  vertices.swap(pending());
  if (vertices.size() >= 3) {
    std::vector<std::uint32_t> order(vertices.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    submitDraw(c.primitive, std::move(vertices), std::move(order));
  }
  c.primitive = 0;
}

}  // extern "C"
