// SPDX-License-Identifier: MIT
// The callbacks under abuse in one long-lived context: every key, absurd sizes, and a soak.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "glut.h"
#include "scene_probes.h"
#include "viewer.h"

namespace zbv::test {
namespace {

// Resident memory of this process, in KiB.
long residentKiB() {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST(Storm, EveryKeyAndSizeRaisesNoGlErrorAndKeysRestoreThePicture) {
  ZBV_NEED_WINDOW();
  const Image startUp = drawFrame();
  for (int key = 0; key < 256; ++key) {
    keyboard(static_cast<unsigned char>(key), key, -key);
    ASSERT_EQ(glErrors(), "") << "keyboard " << key;
    display();
    ASSERT_EQ(glErrors(), "") << "display after key " << key;
  }
  const struct {
    int w, h;
  } sizes[] = {{1, 1}, {4000, 30}, {30, 3000}, {0, 0}, {300, 0}, {0, 300}, {300, 300}};
  for (const auto& s : sizes) {
    if (s.w > 0 && s.h > 0) {
      ASSERT_TRUE(resizeWindow(s.w, s.h)) << s.w << "x" << s.h;
    }
    reshape(s.w, s.h);
    ASSERT_EQ(glErrors(), "") << "reshape " << s.w << "x" << s.h;
    display();
    ASSERT_EQ(glErrors(), "") << "display at " << s.w << "x" << s.h;
  }
  for (unsigned char key : {'1', '3', '7'}) keyboard(key, 0, 0);
  EXPECT_EQ(imageDistance(drawFrame(), startUp), 0);
}

// Ten thousand frames with keys and resizes between them: memory stays put after warm-up.
TEST(Soak, TenThousandFramesKeepMemoryAndRaiseNoGlError) {
  ZBV_NEED_WINDOW();
  const char keys[] =
      "1234567x\x1b"
      "2q4";
  const struct { int w, h; } sizes[] = {{300, 300}, {200, 150}, {64, 64}, {1, 1}, {400, 300}};
  // One cycle goes through every size; memory is compared at the same point of the first
  // and the last cycle, as buffers differ with the window's size.
  constexpr int kFrames = 10000, kPerSize = 500, kCycle = 5 * kPerSize;
  long warm = 0, last = 0;
  for (int frame = 0; frame < kFrames; ++frame) {
    if (frame % 7 == 0) keyboard(static_cast<unsigned char>(keys[(frame / 7) % 12]), 0, 0);
    if (frame % kPerSize == 0) {
      const auto& s = sizes[(frame / kPerSize) % 5];
      ASSERT_TRUE(resizeWindow(s.w, s.h));
      reshape(s.w, s.h);
    }
    display();
    if (frame % 100 == 0) {
      ASSERT_EQ(glErrors(), "") << "frame " << frame;
    }
    if (frame % kCycle == kCycle - 1) {
      glFinish();
      (warm == 0 ? warm : last) = residentKiB();
    }
  }
  const long grown = last - warm;
  std::printf("resident memory after one cycle %ld KiB, grown by %ld KiB over %d more frames\n",
              warm, grown, kFrames - kCycle);
  EXPECT_LT(grown, 1024);
  EXPECT_EQ(glErrors(), "");
}

}  // namespace
}  // namespace zbv::test
