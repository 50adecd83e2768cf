// SPDX-License-Identifier: MIT
// The web layer run natively, without a browser: the viewer's callbacks call the web GL's
// entry points, and what the browser would do for GLUT and the probe is done here: the
// window's few calls, and the capture of what the GPU stored, answered by the reference
// rasteriser (which triangles cover a pixel) and the probe's own depth arithmetic, with the
// GPU's rounding played by an offset a test may set. The counters tell a test what was asked.
#ifndef TESTS_WEB_STAND_IN_H
#define TESTS_WEB_STAND_IN_H

#include <cstdint>

namespace zbv::test {

struct BrowserCalls {
  int redisplays = 0;    // glutPostRedisplay
  int captureDraws = 0;  // draws the capture heard of
  int broughtAsked = 0;  // draws' codes at a pixel the history asked for
  int subpixelBits = 8;  // what the rasteriser says it snaps to
  bool known = true;     // whether the capture knows the GPU's codes
  // Where the GPU's code differs from the exact one: added to the code draw offsetDraw (-1:
  // every draw) brings at pixels where (x + y) % every == 0 (every 0: nowhere).
  std::int64_t offset = 0;
  int offsetDraw = -1, every = 0;
};
BrowserCalls& browser();

// The web GL's context as it is at start-up, the viewer's init() and reshape() applied at
// the default size, the probe watching, the recording renderer drawing, and the whole frame
// shown; the counters at zero.
void startViewer();

}  // namespace zbv::test

#endif  // TESTS_WEB_STAND_IN_H
