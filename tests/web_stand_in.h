// SPDX-License-Identifier: MIT
// The web layer run natively, without a browser: the viewer's callbacks call the web GL's
// entry points, and what the browser would do for GLUT and the inspector is done here (the
// window's few calls, the depth target, and WebGL's rasteriser asked for a pixel, answered
// by the reference rasteriser). The counters tell a test what was asked.
#ifndef TESTS_WEB_STAND_IN_H
#define TESTS_WEB_STAND_IN_H

namespace zbv::test {

struct BrowserCalls {
  int redisplays = 0;    // glutPostRedisplay
  int depthDraws = 0;    // draws into the depth target
  int coversAsked = 0;   // pixels the history asked the rasteriser about
  int subpixelBits = 8;  // what the rasteriser says it snaps to
};
BrowserCalls& browser();

// The web GL's context as it is at start-up, the viewer's init() and reshape() applied at
// the default size, the inspector watching, the recording renderer drawing, and the whole
// frame shown; the counters at zero.
void startViewer();

}  // namespace zbv::test

#endif  // TESTS_WEB_STAND_IN_H
