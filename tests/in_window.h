// SPDX-License-Identifier: MIT
// Tests on the viewer's callbacks in this process's one GL window, opened by the first of
// them: each starts from the viewer's start-up state, whatever the test before it left, and
// ends having raised no GL or X error.
#ifndef TESTS_IN_WINDOW_H
#define TESTS_IN_WINDOW_H

#include <gtest/gtest.h>

#include "gl_window.h"
#include "image.h"
#include "landmarks.h"
#include "scene_facts.h"
#include "stop.h"
#include "x_client.h"

namespace zbv::test {

class InWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ZBV_STOP_UNLESS(openViewerWindow());
    resetToStartUp();
    takeXErrors();
  }
  void TearDown() override {
    if (!openViewerWindow()) return;
    EXPECT_EQ(takeGlErrors(), "");
    EXPECT_EQ(takeXErrors(), "");
  }
  // A frame of this size drawn by the viewer's callbacks; the test stops if there is none.
  static Image frame(int width = facts::kWidth, int height = facts::kHeight) {
    return valueOr(drawFrame(width, height));
  }
};

}  // namespace zbv::test

#endif  // TESTS_IN_WINDOW_H
