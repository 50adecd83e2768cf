// SPDX-License-Identifier: MIT
// The web build's teapot beside GLUT's own: the vertex arrays GLUT leaves bound after
// drawing it, and its triangles in the order feedback mode reports them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "glut.h"
#include "in_window.h"
#include "teapot.h"

namespace zbv::test {
namespace {

// Feedback gives window coordinates: with this box and a 16x16 viewport they are the
// object's own coordinates shifted by the half-width.
constexpr double kHalf = 8;
constexpr GLsizei kViewport = 16;

// GLUT's teapot of this size as feedback reports it: x, y, z of each triangle's corners.
std::vector<float> glutTriangles(double size) {
  std::vector<GLfloat> buffer(kTeapotTriangles * 11 + 100);
  glDisable(GL_CULL_FACE);  // every triangle, whichever way it faces
  glViewport(0, 0, kViewport, kViewport);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-kHalf, kHalf, -kHalf, kHalf, -kHalf, kHalf);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glutSolidTeapot(size);
  const GLint n = glRenderMode(GL_RENDER);
  glEnable(GL_CULL_FACE);
  std::vector<float> out;
  for (GLint i = 0; i + 2 < n;) {
    if (static_cast<GLint>(buffer[static_cast<std::size_t>(i)]) != GL_POLYGON_TOKEN) break;
    const int corners = static_cast<int>(buffer[static_cast<std::size_t>(i) + 1]);
    i += 2;
    for (int c = 0; c < corners && c < 3; ++c, i += 3) {
      const float* w = &buffer[static_cast<std::size_t>(i)];
      out.push_back(static_cast<float>(w[0] - kHalf));
      out.push_back(static_cast<float>(w[1] - kHalf));
      out.push_back(static_cast<float>((1 - 2 * w[2]) * kHalf));  // depth runs to -z
    }
  }
  return out;
}

class Teapot : public InWindow {};

TEST_F(Teapot, MatchesGlutsVerticesNormalsAndTriangleOrder) {
  // The geometry is the same whatever draws it; one driver's feedback mode is enough.
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (renderer && std::strstr(renderer, "softpipe")) {
    GTEST_SKIP() << "Mesa's softpipe crashes in feedback mode; run this on another renderer";
  }
  for (double size : {1.0, 3.0}) {
    SCOPED_TRACE(size);
    const TeapotMesh ours = makeTeapot(size);
    ASSERT_EQ(ours.positions.size(), kTeapotVertices * 3u);
    ASSERT_EQ(ours.indices.size(), kTeapotTriangles * 3u);

    const std::vector<float> theirs = glutTriangles(size);
    ASSERT_EQ(theirs.size(), ours.indices.size() * 3) << "GLUT drew another number of triangles";
    int worst = -1;
    double worstError = 0;
    for (std::size_t t = 0; t < ours.indices.size(); ++t) {
      for (std::size_t k = 0; k < 3; ++k) {
        const double e = std::fabs(ours.positions[ours.indices[t] * 3u + k] - theirs[t * 3 + k]);
        if (e > worstError) worstError = e, worst = static_cast<int>(t / 3);
      }
    }
    EXPECT_LT(worstError, 2e-5 * kHalf) << "triangle " << worst << " differs from GLUT's";

    // The arrays GLUT drew from: positions and normals, vertex for vertex.
    GLvoid *vertices = nullptr, *normals = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &vertices);
    glGetPointerv(GL_NORMAL_ARRAY_POINTER, &normals);
    GLint type = 0, stride = -1;
    glGetIntegerv(GL_NORMAL_ARRAY_TYPE, &type);
    glGetIntegerv(GL_NORMAL_ARRAY_STRIDE, &stride);
    ASSERT_TRUE(vertices && normals && type == GL_FLOAT && stride == 0)
        << "GLUT no longer leaves tightly packed float arrays bound after its teapot";
    const auto* p = static_cast<const float*>(vertices);
    const auto* n = static_cast<const float*>(normals);
    double positionError = 0, normalError = 0;
    for (std::size_t i = 0; i < ours.positions.size(); ++i) {
      positionError = std::fmax(positionError, std::fabs(p[i] - ours.positions[i]));
      normalError = std::fmax(normalError, std::fabs(n[i] - ours.normals[i]));
    }
    EXPECT_LT(positionError, 1e-5 * size);
    EXPECT_LT(normalError, 1e-5);
  }
}

}  // namespace
}  // namespace zbv::test
