// SPDX-License-Identifier: MIT
// The model-view and projection matrices.
#include "gl/context.h"

namespace zbv::web::gl {

Mat4 multiply(const Mat4& a, const Mat4& b) {
  Mat4 r{};
  for (std::size_t col = 0; col < 4; ++col)
    for (std::size_t row = 0; row < 4; ++row) {
      float s = 0;
      for (std::size_t k = 0; k < 4; ++k) s += a[k * 4 + row] * b[col * 4 + k];
      r[col * 4 + row] = s;
    }
  return r;
}

Vec4 transform(const Mat4& m, const Vec4& v) {
  Vec4 r{};
  for (std::size_t row = 0; row < 4; ++row)
    r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
  return r;
}

Mat4& currentMatrix() {
  Context& c = context();
  return c.matrixMode == GL_PROJECTION ? c.projection : c.modelview;
}

const Mat4& matrix(unsigned mode) {
  const Context& c = context();
  return mode == GL_PROJECTION ? c.projection : c.modelview;
}

void matrixMode(unsigned mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_MODELVIEW && mode != GL_PROJECTION) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().matrixMode = mode;
}

void loadIdentity() {
  if (outsidePrimitive()) currentMatrix() = Context::identity();
}

void multMatrix(const float* m) {
  if (!outsidePrimitive()) return;
  Mat4 b;
  for (std::size_t i = 0; i < 16; ++i) b[i] = m[i];
  currentMatrix() = multiply(currentMatrix(), b);
}

void translate(float x, float y, float z) {
  const float t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
  multMatrix(t);
}

}  // namespace zbv::web::gl
