// SPDX-License-Identifier: MIT
#include "gl_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "glut.h"
#include "scene_facts.h"
#include "viewer.h"
#include "wait.h"
#include "x_client.h"

namespace zbv {

namespace {

// The size GLUT last reported through the reshape callback.
int shownWidth = -1, shownHeight = -1;
// How often GLUT has asked for the window to be redrawn.
int redraws = 0;
// What runs between the viewer's drawing and its swap, and after each of its draws.
std::function<void()> swapHook, drawHook;
// The planes the viewer's gluPerspective calls are carried out with instead of its own.
std::optional<facts::Planes> planesInstead;

void recordSize(int w, int h) {
  shownWidth = w;
  shownHeight = h;
}

// Lets GLUT handle events until the window has been shown at this size (or 10 s pass).
Outcome<> waitForSize(int w, int h) {
  const bool shown = waitUntil(10, [&] {
    glutMainLoopEvent();
    return shownWidth == w && shownHeight == h;
  });
  if (!shown) {
    return Failure{"the window was never shown at " + std::to_string(w) + "x" + std::to_string(h)};
  }
  return Done{};
}

// What the window shows now.
Outcome<Image> readFrame() {
  // What the window shows, once the server has taken the swapped frame. (The back buffer
  // is not worth reading after a swap: its contents are undefined then, and on Mesa's
  // software path the first frame after a resize reads back black.)
  static XClient x;
  glFinish();
  XSync(glXGetCurrentDisplay(), False);
  return x.grab(glXGetCurrentDrawable());
}

}  // namespace

Outcome<> openViewerWindow() {
  static const Outcome<> opened = []() -> Outcome<> {
    // GLUT ends the process when it cannot reach the display; look first.
    if (auto x = XClient().connected(); !x) return x;
    if (auto x = XClient().trueColour(); !x) return x;
    static char arg0[] = "zbv-test";
    static char* argv[] = {arg0, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutCreateWindow(arg0);
    // The tests call the viewer's callbacks themselves; GLUT's own calls only tell the
    // harness that a redraw was asked for, or that the window is up at its new size.
    glutDisplayFunc([] { ++redraws; });
    glutReshapeFunc(recordSize);
    // Wholly on the screen, where X can read it back.
    glutPositionWindow(0, 0);
    init();
    return waitForSize(facts::kWidth, facts::kHeight);
  }();
  return opened;
}

void resetToStartUp() {
  // OpenGL's initial values of what the tests change and of what the viewer relies on.
  for (GLenum cap :
       std::initializer_list<GLenum>{GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE, GL_NORMALIZE,
                                     GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3})
    glDisable(cap);
  const GLfloat black[] = {0, 0, 0, 1}, ambient[] = {0.2f, 0.2f, 0.2f, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  for (GLenum light : std::initializer_list<GLenum>{GL_LIGHT1, GL_LIGHT2, GL_LIGHT3})
    glLightfv(light, GL_SPECULAR, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glNormal3f(0, 0, 1);
  glColor4f(1, 1, 1, 1);
  for (GLenum mode : std::initializer_list<GLenum>{GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glLoadIdentity();
  }
  takeGlErrors();
  // Then what start-up sets: init(), the default size and the projection for it.
  init();
  if (resizeWindow(facts::kWidth, facts::kHeight)) reshape(facts::kWidth, facts::kHeight);
}

Outcome<> resizeWindow(int width, int height) {
  if (shownWidth == width && shownHeight == height) return Done{};
  glutReshapeWindow(width, height);
  return waitForSize(width, height);
}

Outcome<Image> drawFrame(int width, int height) {
  const bool resized = shownWidth != width || shownHeight != height;
  if (auto sized = resizeWindow(width, height); !sized) return Failure{sized.why()};
  reshape(width, height);
  // On Mesa's software path the first frame swapped after a resize may reach the window only
  // where the old size reached; the next one is whole. Only that one is the frame the hooks
  // watch.
  if (resized) {
    auto swap = std::exchange(swapHook, nullptr), draw = std::exchange(drawHook, nullptr);
    display();
    swapHook = std::move(swap);
    drawHook = std::move(draw);
  }
  display();
  return readFrame();
}

int redrawsDone() {
  glutMainLoopEvent();
  return redraws;
}

void beforeSwap(std::function<void()> hook) {
  swapHook = std::move(hook);
}

void afterDraw(std::function<void()> hook) {
  drawHook = std::move(hook);
}

void substitutePlanes(std::optional<facts::Planes> planes) {
  planesInstead = planes;
}

Image readColour(int width, int height) {
  Image im(width, height);
  GLint bits[3] = {8, 8, 8};
  glGetIntegerv(GL_RED_BITS, &bits[0]);
  glGetIntegerv(GL_GREEN_BITS, &bits[1]);
  glGetIntegerv(GL_BLUE_BITS, &bits[2]);
  im.bits = std::min({bits[0], bits[1], bits[2]});
  std::vector<std::uint8_t> rows(im.rgb.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * 3;
  for (std::ptrdiff_t y = 0; y < height; ++y) {
    std::copy_n(rows.begin() + (height - 1 - y) * stride, stride, im.rgb.begin() + y * stride);
  }
  return im;
}

std::string takeGlErrors() {
  std::string out;
  for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError()) {
    out += reinterpret_cast<const char*>(gluErrorString(e));
    out += "; ";
  }
  return out;
}

}  // namespace zbv

// The viewer's display() ends with glutSwapBuffers(); linked with --wrap, that call comes
// here first, so the frame can be looked at before it is swapped.
extern "C" void __real_glutSwapBuffers(void);
extern "C" void __wrap_glutSwapBuffers(void) {
  if (zbv::swapHook) zbv::swapHook();
  __real_glutSwapBuffers();
}

// So do its draws, which come here and then run the hook.
extern "C" void __real_glEnd(void);
extern "C" void __wrap_glEnd(void) {
  __real_glEnd();
  if (zbv::drawHook) zbv::drawHook();
}

extern "C" void __real_glutSolidTeapot(GLdouble size);
extern "C" void __wrap_glutSolidTeapot(GLdouble size) {
  __real_glutSolidTeapot(size);
  if (zbv::drawHook) zbv::drawHook();
}

// So does its projection, which is carried out with other planes where they are substituted.
extern "C" void __real_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear,
                                      GLdouble zFar);
extern "C" void __wrap_gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear,
                                      GLdouble zFar) {
  if (zbv::planesInstead) {
    zNear = zbv::planesInstead->zNear;
    zFar = zbv::planesInstead->zFar;
  }
  __real_gluPerspective(fovy, aspect, zNear, zFar);
}
