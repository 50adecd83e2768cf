// SPDX-License-Identifier: MIT
// A pixel's history as the web layer gives it to the page (web/probe/pixel_history.h),
// read into plain structures.
#ifndef TESTS_WEB_HISTORY_H
#define TESTS_WEB_HISTORY_H

#include <array>
#include <vector>

namespace zbv::test {

struct Fragment {
  int triangle = 0;
  double depth = 0;
  long long exactCode = 0, code = 0, before = 0;
  bool gpuCode = false;
  enum Verdict { noTest = 0, passed = 1, failed = 2 } verdict = noTest;
  std::array<double, 3> colour{};
};

struct DrawHistory {
  bool shown = false, depthTest = false, lighting = false;
  double brought = 0;  // the GPU's code; -1 none, -2 not known
  long long before = 0, after = 0;
  std::vector<Fragment> fragments;
};

struct PixelHistory {
  double near = 0, far = 0;
  int shown = 0;
  double stored = 0;  // the GPU's code after the frame; -2 not known
  std::vector<DrawHistory> draws;
  // The last fragment that wrote the pixel's colour, and its draw; null, -1: none did.
  const Fragment* written(int* draw) const;
};

// The history of pixel (x, y) of the frame last drawn, from the bottom left.
PixelHistory pixelHistory(int x, int y);

}  // namespace zbv::test

#endif  // TESTS_WEB_HISTORY_H
