// SPDX-License-Identifier: MIT
// What the depth buffer holds once the viewer has drawn a frame: the stored values, read
// back just before the swap, and a grey picture of them. For the gallery and the tests.
#ifndef TOOLS_DEPTH_H
#define TOOLS_DEPTH_H

#include <string>
#include <vector>

#include "image.h"

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

// A frame of the viewer drawn in the test window, in colour and in depth.
struct Frame {
  Image colour;
  DepthMap depth;
};

// The depth buffer of the frame being drawn, as it stands (read before the swap).
DepthMap readDepth(int width, int height);

// Draws a frame as drawFrame does and reads the depth buffer it leaves; both empty if the
// window would not take the size.
Frame drawFrameAndDepth(int width = 300, int height = 300);

// How many bits the window's depth buffer stores per pixel.
int depthBits();

// Grey picture of a depth map: the nearest value present white, the cleared value 1 black,
// linear in between; all black when nothing was stored.
Image depthPicture(const DepthMap& depth);

// One line on the values found: the nearest, the farthest short of 1, how many pixels keep 1.
std::string describeDepth(const DepthMap& depth);

// The tour replayed in the test window: from the start-up state, each stop's key is given to
// the viewer's keyboard callback and a 300x300 frame drawn, as the real viewer would.
std::vector<Frame> replayTour();

}  // namespace zbv

#endif  // TOOLS_DEPTH_H
