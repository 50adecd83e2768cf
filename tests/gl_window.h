// One real GLUT window per test process, set up as the viewer sets up its own, and the
// frames drawn into it read back as pictures.
#ifndef TESTS_GL_WINDOW_H
#define TESTS_GL_WINDOW_H

#include <gtest/gtest.h>

#include <string>

#include "image.h"

namespace zbv::test {

// Opens the window (the first time) and applies init(); returns why it could not.
std::string openViewerWindow();

// Sizes the window, calls reshape and display as GLUT would, and reads the frame back.
Image drawFrame(int width = 300, int height = 300);

// Lets GLUT carry out what was posted, then tells how many redraws it has asked for so far.
int redrawsDone();

// What the window shows now.
Image readFrame();

// Every GL error raised since the last call, as text; empty when there was none.
std::string glErrors();

// Whether this runs under CI (CI=true), where a missing display is a failure.
bool onCi();

}  // namespace zbv::test

// Tests that need a window: without an X display they fail under CI and are skipped elsewhere.
#define ZBV_NEED_WINDOW()                                     \
  do {                                                        \
    const std::string why_ = ::zbv::test::openViewerWindow(); \
    if (!why_.empty()) {                                      \
      if (::zbv::test::onCi()) FAIL() << why_;                \
      GTEST_SKIP() << why_;                                   \
    }                                                         \
  } while (0)

#endif  // TESTS_GL_WINDOW_H
