// SPDX-License-Identifier: MIT
// The viewer's frame draw by draw: after each draw its display() issues (the floor's
// glBegin/glEnd strip, then each glutSolidTeapot; facts::kDrawFiles names them), the colour
// and depth buffers as they stand, read back before the swap. For the gallery and the tests.
#ifndef TOOLS_STEPS_H
#define TOOLS_STEPS_H

#include <vector>

#include "depth.h"
#include "image.h"
#include "outcome.h"

namespace zbv {

// A frame drawn as drawFrameAndDepth draws it, and the buffers after each of its
// facts::kDraws draws (or a failure).
struct FrameSteps {
  Frame whole;               // the frame as the window shows it, and its depth before the swap
  std::vector<Frame> after;  // after draw 1, 2, ...
};
Outcome<FrameSteps> drawFrameByDraws(int width, int height);

}  // namespace zbv

#endif  // TOOLS_STEPS_H
