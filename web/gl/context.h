// SPDX-License-Identifier: MIT
// The OpenGL state of the one context, and the steps a vertex goes through, as the
// fixed-function pipeline defines them.
#ifndef WEB_GL_CONTEXT_H
#define WEB_GL_CONTEXT_H

#include <GL/gl.h>

#include "gl/core.h"

namespace zbv::web::gl {

inline constexpr int kLights = 8;

struct Light {
  bool on = false;
  Vec4 ambient{0, 0, 0, 1};
  Vec4 diffuse{0, 0, 0, 1};
  Vec4 specular{0, 0, 0, 1};
  Vec4 position{0, 0, 1, 0};  // in eye coordinates: transformed when it is set
};

struct Material {
  Vec4 ambient{0.2f, 0.2f, 0.2f, 1};
  Vec4 diffuse{0.8f, 0.8f, 0.8f, 1};
  Vec4 specular{0, 0, 0, 1};
  Vec4 emission{0, 0, 0, 1};
  float shininess = 0;
};

struct Context {
  bool depthTest = false, cullFace = false, lighting = false, normalize = false;
  Light lights[kLights];
  Material front, back;  // lighting is one-sided: only the front material shows
  Vec4 colour{1, 1, 1, 1};
  Vec3 normal{0, 0, 1};
  Mat4 modelview = identity(), projection = identity();
  GLenum matrixMode = GL_MODELVIEW;
  GLenum cullMode = GL_BACK, frontFace = GL_CCW;
  GLint viewport[4] = {0, 0, 0, 0};
  Vec4 clearColour{0, 0, 0, 0};
  GLenum error = GL_NO_ERROR;
  GLenum primitive = 0;  // the mode of the glBegin in progress, 0 outside one
  // The planes the last perspective projection was made with (gluPerspective, in double, as
  // asked), and the projection matrix it left: see projectionPlanes.
  double perspectiveNear = 0, perspectiveFar = 0;
  Mat4 perspectiveMatrix{};

  Context() { lights[0].diffuse = lights[0].specular = {1, 1, 1, 1}; }
  static Mat4 identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }
};

Context& context();

inline float dot(const Vec3& a, const Vec3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
// The vector scaled to length 1; a zero vector stays as it is.
Vec3 unit(const Vec3& v);

// Records an error unless one is already waiting to be read.
void fail(GLenum error);
// False (and GL_INVALID_OPERATION recorded) between glBegin and glEnd.
bool outsidePrimitive();

Mat4 multiply(const Mat4& a, const Mat4& b);
Vec4 transform(const Mat4& m, const Vec4& v);
// The current matrix, the one glMatrixMode chose.
Mat4& currentMatrix();

// The near and far planes of the projection as it stands, as they were asked for, where it
// is the one the last perspective projection left; false where it is not (or there was none).
bool projectionPlanes(double* zNear, double* zFar);

// The lit colour of a vertex at this eye-space position with this eye-space unit normal.
// Fills *terms, when given, with the parts the colour was summed from.
Vec4 lightVertex(const Vec4& eye, const Vec3& normal, LightTerms* terms = nullptr);

}  // namespace zbv::web::gl

#endif  // WEB_GL_CONTEXT_H
