// SPDX-License-Identifier: MIT
// Enables, errors, and what the renderer itself applies: the clear, the viewport and the
// faces.
#include "gl/context.h"
#include "gl/hooks.h"
#include "gl/renderer.h"

namespace zbv::web::gl {

namespace {

const Renderer* current = nullptr;
ClearHook clearHook = nullptr;

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
  // These two are the rasteriser's: the renderer applies them.
  if ((cap == GL_DEPTH_TEST || cap == GL_CULL_FACE) && current)
    current->capability(cap, on ? 1 : 0);
}

}  // namespace

Context& context() {
  static Context c;
  return c;
}

void setRenderer(const Renderer* renderer) {
  current = renderer;
}

const Renderer* renderer() {
  return current;
}

void onClear(ClearHook hook) {
  clearHook = hook;
}

void fail(GLenum error) {
  if (context().error == GL_NO_ERROR) context().error = error;
}

bool outsidePrimitive() {
  if (context().primitive == 0) return true;
  fail(GL_INVALID_OPERATION);
  return false;
}

void enable(unsigned cap) {
  setCapability(cap, true);
}

void disable(unsigned cap) {
  setCapability(cap, false);
}

bool isEnabled(unsigned cap) {
  if (!outsidePrimitive()) return false;
  const bool* f = flag(cap);
  return f && *f;
}

unsigned getError() {
  const GLenum e = context().error;
  context().error = GL_NO_ERROR;
  return e;
}

void clearColor(float red, float green, float blue, float alpha) {
  if (!outsidePrimitive()) return;
  context().clearColour = {red, green, blue, alpha};
  if (current) current->clearColour(red, green, blue, alpha);
}

void clear(unsigned mask) {
  if (!outsidePrimitive()) return;
  if (mask & ~static_cast<GLbitfield>(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)) {
    fail(GL_INVALID_VALUE);
    return;
  }
  if (current) current->clear(mask);
  if (clearHook) clearHook(mask, context());
}

void viewport(int x, int y, int width, int height) {
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
  if (current) current->viewport(x, y, width, height);
}

void cullFace(unsigned mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_FRONT && mode != GL_BACK && mode != GL_FRONT_AND_BACK) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().cullMode = mode;
  if (current) current->cullFace(mode);
}

void frontFace(unsigned mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_CW && mode != GL_CCW) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().frontFace = mode;
  if (current) current->frontFace(mode);
}

// The browser hands the frame on once the event that drew it is done.
void flush() {
  outsidePrimitive();
}

}  // namespace zbv::web::gl
