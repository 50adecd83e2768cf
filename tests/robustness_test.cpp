// SPDX-License-Identifier: MIT
// The callbacks under abuse: every key and absurd sizes.
#include <gtest/gtest.h>

#include "glut.h"
#include "in_window.h"
#include "landmarks.h"
#include "viewer.h"

namespace zbv::test {
namespace {

class Storm : public InWindow {};

TEST_F(Storm, EveryKeyAndSizeRaisesNoGlErrorAndKeysRestoreThePicture) {
  const Image startUp = frame();
  for (int key = 0; key < 256; ++key) {
    keyboard(static_cast<unsigned char>(key), key, -key);
    ASSERT_EQ(takeGlErrors(), "") << "keyboard " << key;
    display();
    ASSERT_EQ(takeGlErrors(), "") << "display after key " << key;
  }
  const struct {
    int w, h;
  } sizes[] = {
      {1, 1}, {4000, 30}, {30, 3000}, {0, 0}, {300, 0}, {0, 300}, {facts::kWidth, facts::kHeight}};
  for (const auto& s : sizes) {
    if (s.w > 0 && s.h > 0) {
      ASSERT_TRUE(worked(resizeWindow(s.w, s.h))) << s.w << "x" << s.h;
    }
    reshape(s.w, s.h);
    ASSERT_EQ(takeGlErrors(), "") << "reshape " << s.w << "x" << s.h;
    display();
    ASSERT_EQ(takeGlErrors(), "") << "display at " << s.w << "x" << s.h;
  }
  for (char key : {'1', '3', '7'}) keyboard(static_cast<unsigned char>(key), 0, 0);
  EXPECT_TRUE(identical(frame(), startUp));
}

}  // namespace
}  // namespace zbv::test
