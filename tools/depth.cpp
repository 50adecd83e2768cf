// SPDX-License-Identifier: MIT
#include "depth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gl_window.h"
#include "glut.h"
#include "tour.h"
#include "viewer.h"

namespace zbv {

// Rows turned to run from the top. Read as 32-bit integers, which hold every bit of a 24- or
// 32-bit buffer (as floats, a 32-bit one would lose some).
DepthMap readDepth(int width, int height) {
  DepthMap d;
  d.width = width;
  d.height = height;
  d.z.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::vector<GLuint> rows(d.z.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, rows.data());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      d.z[static_cast<std::size_t>(y * width + x)] =
          rows[static_cast<std::size_t>((height - 1 - y) * width + x)] / 4294967295.0;
    }
  }
  // A perspective matrix holds its planes in its third row: -(f + n) / (f - n), -2fn / (f - n).
  GLdouble p[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  d.zNear = p[14] / (p[10] - 1);
  d.zFar = p[14] / (p[10] + 1);
  return d;
}

double DepthMap::eyeDistance(double value) const {
  // Window z = (z_ndc + 1) / 2, and z_ndc = (f + n) / (f - n) - 2fn / ((f - n) d).
  const double ndc = 2 * value - 1;
  return 2 * zFar * zNear / (zFar + zNear - ndc * (zFar - zNear));
}

Frame drawFrameAndDepth(int width, int height) {
  Frame f;
  beforeSwap([&f, width, height] { f.depth = readDepth(width, height); });
  f.colour = drawFrame(width, height);
  beforeSwap(nullptr);
  if (f.colour.empty()) f.depth = DepthMap();
  return f;
}

int depthBits() {
  GLint bits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &bits);
  return bits;
}

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

std::string describeDepth(const DepthMap& depth) {
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
                  "depth: nearest %.6f (%.2f units ahead), farthest %.6f (%.2f units ahead); "
                  "%ld of %zu pixels keep the cleared 1",
                  nearest, depth.eyeDistance(nearest), farthest, depth.eyeDistance(farthest),
                  cleared, depth.z.size());
  }
  return line;
}

std::vector<Frame> replayTour() {
  std::vector<Frame> frames;
  resetToStartUp();
  for (const Stop& stop : kTour) {
    if (stop.key) keyboard(static_cast<unsigned char>(stop.key), 0, 0);
    Frame f = drawFrameAndDepth();
    if (f.colour.empty() || f.depth.empty()) break;
    frames.push_back(std::move(f));
  }
  resetToStartUp();
  return frames;
}

}  // namespace zbv
