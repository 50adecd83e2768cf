// SPDX-License-Identifier: MIT
#include "steps.h"

#include <GL/gl.h>

#include <algorithm>
#include <utility>

#include "gl_window.h"
#include "tour.h"
#include "viewer.h"

namespace zbv {

namespace {

// The back buffer as it stands, rows from the top.
Image readColour(int width, int height) {
  Image im(width, height);
  std::vector<std::uint8_t> rows(im.rgb.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>((height - 1 - y) * stride), stride,
                im.rgb.begin() + static_cast<std::ptrdiff_t>(y * stride));
  }
  return im;
}

}  // namespace

FrameSteps drawFrameByDraws(int width, int height) {
  FrameSteps s;
  afterDraw([&s, width, height] {
    s.after.push_back(Frame{readColour(width, height), readDepth(width, height)});
  });
  s.whole = drawFrameAndDepth(width, height);
  afterDraw(nullptr);
  if (s.whole.colour.empty()) s.after.clear();
  return s;
}

std::vector<FrameSteps> replayTourByDraws() {
  std::vector<FrameSteps> tour;
  resetToStartUp();
  for (const Stop& stop : kTour) {
    if (stop.key) keyboard(static_cast<unsigned char>(stop.key), 0, 0);
    FrameSteps s = drawFrameByDraws();
    if (s.after.empty()) break;
    tour.push_back(std::move(s));
  }
  resetToStartUp();
  return tour;
}

Image sideBySide(const std::vector<Image>& pictures) {
  if (pictures.empty()) return {};
  const int gap = 6, height = pictures.front().height;
  int width = -gap;
  for (const Image& p : pictures) {
    if (p.height != height) return {};
    width += p.width + gap;
  }
  Image out(width, height);
  std::fill(out.rgb.begin(), out.rgb.end(), 255);
  int left = 0;
  for (const Image& p : pictures) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < p.width; ++x) out.set(left + x, y, p.at(x, y));
    left += p.width + gap;
  }
  return out;
}

}  // namespace zbv
