// SPDX-License-Identifier: MIT
// GLUT in a browser: the window is the page's canvas; key presses, resizes and redisplays
// come from the browser's events, and control returns to the browser between them.
#include <GL/freeglut.h>
#include <emscripten.h>

#include "canvas.h"
#include "gl/webgl.h"
#include "window.h"

namespace zbv::web::glut {

namespace {

struct Window {
  unsigned mode = GLUT_RGB | GLUT_SINGLE;
  bool open = false;
  bool redisplay = false;  // a redisplay posted and not yet carried out
  int width = 0, height = 0;
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
};

Window& window() {
  static Window w;
  return w;
}

void (*frameEnd)() = nullptr;

}  // namespace

void onFrameEnd(void (*hook)()) {
  frameEnd = hook;
}

void reshapeAgain() {
  Window& w = window();
  if (!w.open) return;
  if (w.reshape) {
    w.reshape(w.width, w.height);
  } else {
    glViewport(0, 0, w.width, w.height);
    glutPostRedisplay();
  }
}

}  // namespace zbv::web::glut

using zbv::web::glut::window;
using zbv::web::glut::Window;

extern "C" {

// The command line of a page is its path alone; GLUT has no options to take from it.
void glutInit(int* /*argcp*/, char** /*argv*/) {}

void glutInitDisplayMode(unsigned int mode) {
  window().mode = mode;
}

int glutCreateWindow(const char* title) {
  Window& w = window();
  if (w.open) return 1;  // one canvas, one window
  // The context draws into the canvas's WebGL from now on.
  namespace gl = zbv::web::gl;
  gl::setRenderer(&gl::kWebgl);
  w.open =
      zbv_glut_open(title, (w.mode & GLUT_DEPTH) != 0, gl::kClipFloats, gl::kColourFloats) != 0;
  return w.open ? 1 : 0;
}

void glutDisplayFunc(void (*callback)(void)) {
  window().display = callback;
}

void glutReshapeFunc(void (*callback)(int width, int height)) {
  window().reshape = callback;
}

void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y)) {
  window().keyboard = callback;
}

void glutPostRedisplay(void) {
  Window& w = window();
  if (!w.open || w.redisplay) return;
  w.redisplay = true;
  zbv_glut_request_frame();
}

// The browser shows the drawing buffer once the frame's callback has returned.
void glutSwapBuffers(void) {}

void glutMainLoop(void) {
  // Leaves main without ending the program: from here on the browser's events drive it.
  emscripten_exit_with_live_runtime();
}

void glutSolidTeapot(GLdouble size) {
  zbv::web::glut::solidTeapot(size);
}

// Called from canvas.js.

// 1 when a frame was drawn, 0 when none was asked for.
EMSCRIPTEN_KEEPALIVE int zbv_glut_frame() {
  Window& w = window();
  if (!w.redisplay) return 0;
  w.redisplay = false;
  if (w.display) w.display();
  if (zbv::web::glut::frameEnd) zbv::web::glut::frameEnd();
  return 1;
}

EMSCRIPTEN_KEEPALIVE void zbv_glut_reshape(int width, int height) {
  Window& w = window();
  if (width == w.width && height == w.height) return;
  w.width = width;
  w.height = height;
  zbv::web::glut::reshapeAgain();
}

EMSCRIPTEN_KEEPALIVE void zbv_glut_key(int key, int x, int y) {
  if (window().keyboard) window().keyboard(static_cast<unsigned char>(key), x, y);
}

// The window's picture is gone (a lost context restored, the canvas resized): it is drawn
// again.
EMSCRIPTEN_KEEPALIVE void zbv_glut_repaint() {
  glutPostRedisplay();
}

}  // extern "C"
