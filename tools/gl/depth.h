// SPDX-License-Identifier: MIT
// What the depth buffer holds once the viewer has drawn a frame in the GL window: the stored
// values, read back just before the swap.
#ifndef TOOLS_DEPTH_H
#define TOOLS_DEPTH_H

#include <vector>

#include "image.h"
#include "outcome.h"

namespace zbv {

// One depth value per pixel, in [0, 1] (1 is the cleared, farthest value), rows from the
// top like a picture's, and the near and far planes of the projection the frame was drawn
// with.
struct DepthMap {
  int width = 0;
  int height = 0;
  std::vector<double> z;
  double zNear = 0, zFar = 0;

  bool empty() const { return width == 0 || height == 0; }
  // Value at column x, row y counted from the top.
  double at(int x, int y) const { return z[static_cast<std::size_t>(y * width + x)]; }
  // How far in front of the eye (along the view) a surface stored with this value stands.
  double eyeDistance(double value) const;
};

// A frame of the viewer drawn in the GL window, in colour and in depth.
struct Frame {
  Image colour;
  DepthMap depth;
};

// The depth buffer of the frame being drawn, as it stands (read before the swap).
DepthMap readDepth(int width, int height);
// The same read as floats, as a buffer of floats holds its values; one of integers gives each
// value k of b bits as k / (2^b - 1).
DepthMap readDepthAsFloats(int width, int height);

// Draws a frame as drawFrame does and reads the depth buffer it leaves.
Outcome<Frame> drawFrameAndDepth(int width, int height);

// How many bits the window's depth buffer stores per pixel.
int depthBits();

}  // namespace zbv

#endif  // TOOLS_DEPTH_H
