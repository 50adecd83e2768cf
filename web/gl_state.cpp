// SPDX-License-Identifier: MIT
// Enables, errors, and what WebGL itself applies: the clear, the viewport and the faces.
#include <GL/gl.h>

#include "frame_record.h"
#include "gl_context.h"
#include "webgl.h"

namespace zbv::web {

Context& context() {
  static Context c;
  return c;
}

void fail(GLenum error) {
  if (context().error == GL_NO_ERROR) context().error = error;
}

bool outsidePrimitive() {
  if (context().primitive == 0) return true;
  fail(GL_INVALID_OPERATION);
  return false;
}

namespace {

// The flag behind a capability; null (and GL_INVALID_ENUM) for one this layer lacks.
bool* flag(GLenum cap) {
  Context& c = context();
  switch (cap) {
    case GL_DEPTH_TEST:
      return &c.depthTest;
    case GL_CULL_FACE:
      return &c.cullFace;
    case GL_LIGHTING:
      return &c.lighting;
    case GL_NORMALIZE:
      return &c.normalize;
    default:
      if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLights) return &c.lights[cap - GL_LIGHT0].on;
      fail(GL_INVALID_ENUM);
      return nullptr;
  }
}

void setCapability(GLenum cap, bool on) {
  if (!outsidePrimitive()) return;
  bool* f = flag(cap);
  if (!f) return;
  *f = on;
  // These two are the rasteriser's: WebGL applies them.
  if (cap == GL_DEPTH_TEST || cap == GL_CULL_FACE) zbv_webgl_capability(cap, on);
}

}  // namespace

}  // namespace zbv::web

using namespace zbv::web;

extern "C" {

void glEnable(GLenum cap) {
  setCapability(cap, true);
}

void glDisable(GLenum cap) {
  setCapability(cap, false);
}

GLboolean glIsEnabled(GLenum cap) {
  if (!outsidePrimitive()) return GL_FALSE;
  const bool* f = flag(cap);
  return f && *f ? GL_TRUE : GL_FALSE;
}

GLenum glGetError(void) {
  const GLenum e = context().error;
  context().error = GL_NO_ERROR;
  return e;
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  if (!outsidePrimitive()) return;
  context().clearColour = {red, green, blue, alpha};
  zbv_webgl_clear_color(red, green, blue, alpha);
}

void glClear(GLbitfield mask) {
  if (!outsidePrimitive()) return;
  if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) {
    fail(GL_INVALID_VALUE);
    return;
  }
  beginFrame(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (!outsidePrimitive()) return;
  if (width < 0 || height < 0) {
    fail(GL_INVALID_VALUE);
    return;
  }
  Context& c = context();
  c.viewport[0] = x;
  c.viewport[1] = y;
  c.viewport[2] = width;
  c.viewport[3] = height;
  zbv_webgl_viewport(x, y, width, height);
}

void glCullFace(GLenum mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().cullMode = mode;
  zbv_webgl_cull_face(mode);
}

void glFrontFace(GLenum mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_CW && mode != GL_CCW) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().frontFace = mode;
  zbv_webgl_front_face(mode);
}

// The browser hands the frame on once the event that drew it is done.
void glFlush(void) {
  outsidePrimitive();
}

}  // extern "C"
