// SPDX-License-Identifier: MIT
#include "depth_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zbv {

Image depthPicture(const DepthMap& depth) {
  Image im(depth.width, depth.height);
  if (depth.empty()) return im;
  const double nearest = *std::min_element(depth.z.begin(), depth.z.end());
  const double span = 1.0 - nearest;
  for (int y = 0; y < depth.height; ++y) {
    for (int x = 0; x < depth.width; ++x) {
      int g = 0;
      if (span > 0) g = static_cast<int>(std::lround(255 * (1.0 - depth.at(x, y)) / span));
      g = std::clamp(g, 0, 255);
      im.set(x, y, Rgb{g, g, g});
    }
  }
  return im;
}

std::string describeDepth(const DepthMap& depth, int decimals) {
  double nearest = 1, farthest = 0;
  long cleared = 0;
  for (double v : depth.z) {
    nearest = std::min(nearest, v);
    if (v < 1) {
      farthest = std::max(farthest, v);
    } else {
      ++cleared;
    }
  }
  char line[200];
  if (cleared == static_cast<long>(depth.z.size())) {
    std::snprintf(line, sizeof line, "depth: nothing stored, all %ld pixels keep the cleared 1",
                  cleared);
  } else {
    // How far ahead of the eye, along the view, surfaces with those values stand.
    std::snprintf(line, sizeof line,
                  "depth: nearest %.*f (%.2f units ahead), farthest %.*f (%.2f units ahead); "
                  "%ld of %zu pixels keep the cleared 1",
                  decimals, nearest, depth.eyeDistance(nearest), decimals, farthest,
                  depth.eyeDistance(farthest), cleared, depth.z.size());
  }
  return line;
}

}  // namespace zbv
