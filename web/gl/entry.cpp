// SPDX-License-Identifier: MIT
// The C entry points of GL/gl.h and GL/glu.h, each handed to the context (core.h). Linked
// where no other OpenGL is: into the page, and natively into a test that has no libGL.
#include <GL/gl.h>
#include <GL/glu.h>

#include "gl/core.h"

namespace gl = zbv::web::gl;

extern "C" {

void glEnable(GLenum cap) {
  gl::enable(cap);
}

void glDisable(GLenum cap) {
  gl::disable(cap);
}

GLboolean glIsEnabled(GLenum cap) {
  return gl::isEnabled(cap) ? GL_TRUE : GL_FALSE;
}

GLenum glGetError(void) {
  return gl::getError();
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  gl::clearColor(red, green, blue, alpha);
}

void glClear(GLbitfield mask) {
  gl::clear(mask);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  gl::viewport(x, y, width, height);
}

void glCullFace(GLenum mode) {
  gl::cullFace(mode);
}

void glFrontFace(GLenum mode) {
  gl::frontFace(mode);
}

void glFlush(void) {
  gl::flush();
}

void glMatrixMode(GLenum mode) {
  gl::matrixMode(mode);
}

void glLoadIdentity(void) {
  gl::loadIdentity();
}

void glMultMatrixf(const GLfloat* m) {
  gl::multMatrix(m);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  gl::translate(x, y, z);
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  gl::light(light, pname, params);
}

void glGetLightfv(GLenum light, GLenum pname, GLfloat* params) {
  gl::getLight(light, pname, params);
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
  gl::material(face, pname, params);
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
  gl::color(red, green, blue);
}

void glColor3fv(const GLfloat* v) {
  gl::color(v[0], v[1], v[2]);
}

void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) {
  gl::normal(nx, ny, nz);
}

void glBegin(GLenum mode) {
  gl::begin(mode);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  gl::vertex(x, y, z);
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  gl::vertex(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}

void glEnd(void) {
  gl::end();
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  gl::lookAt(eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  gl::perspective(fovy, aspect, zNear, zFar);
}

}  // extern "C"
