// SPDX-License-Identifier: MIT
#include "gl_window.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

#include "glut.h"
#include "viewer.h"
#include "xdrive.h"

namespace zbv {

namespace {

// The size GLUT last reported through the reshape callback.
int shownWidth = -1, shownHeight = -1;
// How often GLUT has asked for the window to be redrawn.
int redraws = 0;
// What runs between the viewer's drawing and its swap.
std::function<void()> swapHook;

void recordSize(int w, int h) {
  shownWidth = w;
  shownHeight = h;
}

// Lets GLUT handle events until the window has been shown at this size (or 10 s pass).
bool waitForSize(int w, int h) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (shownWidth != w || shownHeight != h) {
    if (std::chrono::steady_clock::now() > end) return false;
    glutMainLoopEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// What the window shows now.
Image readFrame() {
  // What the window shows, once the server has taken the swapped frame. (The back buffer
  // is not worth reading after a swap: its contents are undefined then, and on Mesa's
  // software path the first frame after a resize reads back black.)
  static XClient x;
  glFinish();
  XSync(glXGetCurrentDisplay(), False);
  return x.grab(glXGetCurrentDrawable());
}

}  // namespace

std::string openViewerWindow() {
  static std::string why = [] {
    // GLUT ends the process when it cannot reach the display; look first.
    const char* name = std::getenv("DISPLAY");
    Display* probe = XOpenDisplay(nullptr);
    if (!probe) {
      return std::string("needs an X display, and ") +
             (name ? "cannot open DISPLAY=" + std::string(name) : "DISPLAY is not set") +
             " (run the tests through scripts/with-xvfb or `make test`)";
    }
    XCloseDisplay(probe);
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
    if (!waitForSize(300, 300)) return std::string("the test window never appeared");
    return std::string();
  }();
  return why;
}

bool resizeWindow(int width, int height) {
  if (shownWidth == width && shownHeight == height) return true;
  glutReshapeWindow(width, height);
  return waitForSize(width, height);
}

Image drawFrame(int width, int height) {
  if (!resizeWindow(width, height)) return {};
  reshape(width, height);
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

void restoreStartUp() {
  glDisable(GL_LIGHT1);
  glDisable(GL_LIGHT2);
  init();
}

std::string glErrors() {
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
