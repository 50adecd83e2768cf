// SPDX-License-Identifier: MIT
// Lights, materials, and the current colour and normal: what per-vertex lighting reads.
#include "gl/context.h"

namespace zbv::web::gl {

namespace {

Vec4 four(const GLfloat* p) {
  return {p[0], p[1], p[2], p[3]};
}

// False, with the error recorded, for a parameter the material has not or a bad value.
bool setMaterial(Material& m, GLenum pname, const GLfloat* params) {
  switch (pname) {
    case GL_AMBIENT:
      m.ambient = four(params);
      return true;
    case GL_DIFFUSE:
      m.diffuse = four(params);
      return true;
    case GL_AMBIENT_AND_DIFFUSE:
      m.ambient = m.diffuse = four(params);
      return true;
    case GL_SPECULAR:
      m.specular = four(params);
      return true;
    case GL_EMISSION:
      m.emission = four(params);
      return true;
    case GL_SHININESS:
      if (params[0] < 0 || params[0] > 128) {
        fail(GL_INVALID_VALUE);
        return false;
      }
      m.shininess = params[0];
      return true;
    default:
      fail(GL_INVALID_ENUM);
      return false;
  }
}

// The light with this name; null (and the error recorded) for none or inside glBegin.
Light* lightNamed(GLenum name) {
  if (!outsidePrimitive()) return nullptr;
  if (name < GL_LIGHT0 || name >= GL_LIGHT0 + kLights) {
    fail(GL_INVALID_ENUM);
    return nullptr;
  }
  return &context().lights[name - GL_LIGHT0];
}

void copy(const Vec4& from, GLfloat* to) {
  for (std::size_t i = 0; i < from.size(); ++i) to[i] = from[i];
}

}  // namespace

void light(unsigned name, unsigned pname, const float* params) {
  Light* found = lightNamed(name);
  if (!found) return;
  Light& l = *found;
  switch (pname) {
    case GL_AMBIENT:
      l.ambient = four(params);
      break;
    case GL_DIFFUSE:
      l.diffuse = four(params);
      break;
    case GL_SPECULAR:
      l.specular = four(params);
      break;
    case GL_POSITION:
      // Kept in eye coordinates, as the model-view matrix stands now.
      l.position = transform(context().modelview, four(params));
      break;
    default:
      fail(GL_INVALID_ENUM);
  }
}

void getLight(unsigned name, unsigned pname, float* params) {
  const Light* l = lightNamed(name);
  if (!l) return;
  switch (pname) {
    case GL_AMBIENT:
      copy(l->ambient, params);
      break;
    case GL_DIFFUSE:
      copy(l->diffuse, params);
      break;
    case GL_SPECULAR:
      copy(l->specular, params);
      break;
    case GL_POSITION:
      copy(l->position, params);
      break;
    default:
      fail(GL_INVALID_ENUM);
  }
}

void material(unsigned face, unsigned pname, const float* params) {
  if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
    fail(GL_INVALID_ENUM);
    return;
  }
  Context& c = context();
  if (face != GL_BACK && !setMaterial(c.front, pname, params)) return;
  if (face != GL_FRONT) setMaterial(c.back, pname, params);
}

void color(float red, float green, float blue) {
  context().colour = {red, green, blue, 1};
}

void normal(float nx, float ny, float nz) {
  context().normal = {nx, ny, nz};
}

}  // namespace zbv::web::gl
