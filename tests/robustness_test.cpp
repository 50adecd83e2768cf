// SPDX-License-Identifier: MIT
// The callbacks under abuse in one long-lived context: every key, absurd sizes, and a soak.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "glut.h"
#include "process.h"
#include "scene_probes.h"
#include "viewer.h"

namespace zbv::test {
namespace {

class Storm : public InWindow {};
class Soak : public InWindow {};

TEST_F(Storm, EveryKeyAndSizeRaisesNoGlErrorAndKeysRestoreThePicture) {
  const Image startUp = drawFrame();
  expectLitScene(startUp, kWhite);
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

// Ten thousand frames with keys and resizes between them. Buffers differ with the window's
// size, so memory is read at the same point of every cycle through the sizes. The allocator
// raises its high-water mark now and then, in steps that stay; a leak raises it cycle after
// cycle, so memory must not rise in most cycles after the first two.
TEST_F(Soak, TenThousandFramesKeepMemoryAndRaiseNoGlError) {
  const char keys[] =
      "1234567x\x1b"
      "2q4";
  const struct { int w, h; } sizes[] = {{300, 300}, {200, 150}, {64, 64}, {1, 1}, {400, 300}};
  constexpr int kFrames = 10000, kPerSize = 200, kCycle = 5 * kPerSize;
  std::vector<long> resident;  // KiB, after each cycle
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
      resident.push_back(residentKiB());
    }
  }
  int rises = 0, late = 0;
  std::printf("resident memory after each cycle of %d frames (KiB):", kCycle);
  for (std::size_t i = 0; i < resident.size(); ++i) {
    std::printf(" %ld", resident[i]);
    if (i >= 2) {
      ++late;
      rises += resident[i] > resident[i - 1] ? 1 : 0;
    }
  }
  std::printf("\nrose in %d of the last %d cycles, by %ld KiB from the second to the last\n", rises,
              late, resident.back() - resident[1]);
  EXPECT_LE(rises, late / 2) << "memory rises cycle after cycle: a leak";
  EXPECT_EQ(glErrors(), "");
}

}  // namespace
}  // namespace zbv::test
