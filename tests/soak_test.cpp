// SPDX-License-Identifier: MIT
// The callbacks in one long-lived context: ten thousand frames, memory watched.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "glut.h"
#include "in_window.h"
#include "landmarks.h"
#include "process.h"
#include "viewer.h"

namespace zbv::test {
namespace {

class Soak : public InWindow {};

// Ten thousand frames with keys and resizes between them. Buffers differ with the window's
// size, so memory is read at the same point of every cycle through the sizes. The allocator
// raises its high-water mark now and then, in steps that stay; a leak raises it cycle after
// cycle, so memory must not rise in most cycles after the first two.
TEST_F(Soak, TenThousandFramesKeepMemoryAndRaiseNoGlError) {
  const char keys[] =
      "1234567x\x1b"
      "2q4";
  const struct {
    int w, h;
  } sizes[] = {{facts::kWidth, facts::kHeight}, {200, 150}, {64, 64}, {1, 1}, {400, 300}};
  constexpr int kFrames = 10000, kPerSize = 200, kCycle = 5 * kPerSize;
  std::vector<long> resident;  // KiB, after each cycle
  for (int frame = 0; frame < kFrames; ++frame) {
    if (frame % 7 == 0) keyboard(static_cast<unsigned char>(keys[(frame / 7) % 12]), 0, 0);
    if (frame % kPerSize == 0) {
      const auto& s = sizes[(frame / kPerSize) % 5];
      ASSERT_TRUE(worked(resizeWindow(s.w, s.h)));
      reshape(s.w, s.h);
    }
    display();
    if (frame % 100 == 0) {
      ASSERT_EQ(takeGlErrors(), "") << "frame " << frame;
    }
    if (frame % kCycle == kCycle - 1) {
      glFinish();
      const auto kib = residentKiB();
      ASSERT_TRUE(worked(kib));
      resident.push_back(*kib);
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
}

}  // namespace
}  // namespace zbv::test
