// SPDX-License-Identifier: MIT
#include "depth.h"

#include <utility>

#include "gl_window.h"
#include "glut.h"

namespace zbv {

namespace {

// The depth buffer read as values of type T, each turned into [0, 1] by `scale`; rows turned
// to run from the top.
template <typename T>
DepthMap readDepthAs(GLenum type, double scale, int width, int height) {
  DepthMap d;
  d.width = width;
  d.height = height;
  d.z.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::vector<T> rows(d.z.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, type, rows.data());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      d.z[static_cast<std::size_t>(y * width + x)] =
          static_cast<double>(rows[static_cast<std::size_t>((height - 1 - y) * width + x)]) * scale;
    }
  }
  // A perspective matrix holds its planes in its third row: -(f + n) / (f - n), -2fn / (f - n).
  GLdouble p[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  d.zNear = p[14] / (p[10] - 1);
  d.zFar = p[14] / (p[10] + 1);
  return d;
}

}  // namespace

// Read as 32-bit integers, which hold every bit of a 24- or 32-bit buffer (as floats, a 32-bit
// one would lose some).
DepthMap readDepth(int width, int height) {
  return readDepthAs<GLuint>(GL_UNSIGNED_INT, 1 / 4294967295.0, width, height);
}

DepthMap readDepthAsFloats(int width, int height) {
  return readDepthAs<GLfloat>(GL_FLOAT, 1, width, height);
}

double DepthMap::eyeDistance(double value) const {
  // Window z = (z_ndc + 1) / 2, and z_ndc = (f + n) / (f - n) - 2fn / ((f - n) d).
  const double ndc = 2 * value - 1;
  return 2 * zFar * zNear / (zFar + zNear - ndc * (zFar - zNear));
}

Outcome<Frame> drawFrameAndDepth(int width, int height) {
  Frame f;
  beforeSwap([&f, width, height] { f.depth = readDepth(width, height); });
  auto colour = drawFrame(width, height);
  beforeSwap(nullptr);
  if (!colour) return Failure{colour.why()};
  f.colour = std::move(*colour);
  return f;
}

int depthBits() {
  GLint bits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &bits);
  return bits;
}

}  // namespace zbv
