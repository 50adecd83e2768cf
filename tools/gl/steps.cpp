// SPDX-License-Identifier: MIT
#include "steps.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "gl_window.h"
#include "scene_facts.h"

namespace zbv {

namespace {

// The back buffer as it stands, rows from the top, with the bits per channel it stores.
Image readColour(int width, int height) {
  Image im(width, height);
  GLint bits[3] = {8, 8, 8};
  glGetIntegerv(GL_RED_BITS, &bits[0]);
  glGetIntegerv(GL_GREEN_BITS, &bits[1]);
  glGetIntegerv(GL_BLUE_BITS, &bits[2]);
  im.bits = std::min({bits[0], bits[1], bits[2]});
  std::vector<std::uint8_t> rows(im.rgb.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * 3;
  for (std::ptrdiff_t y = 0; y < height; ++y) {
    std::copy_n(rows.begin() + (height - 1 - y) * stride, stride, im.rgb.begin() + y * stride);
  }
  return im;
}

}  // namespace

Outcome<FrameSteps> drawFrameByDraws(int width, int height) {
  FrameSteps s;
  afterDraw([&s, width, height] {
    s.after.push_back(Frame{readColour(width, height), readDepth(width, height)});
  });
  auto whole = drawFrameAndDepth(width, height);
  afterDraw(nullptr);
  if (!whole) return Failure{whole.why()};
  s.whole = std::move(*whole);
  if (s.after.size() != static_cast<std::size_t>(facts::kDraws))
    return Failure{"the frame had " + std::to_string(s.after.size()) + " draws, not " +
                   std::to_string(facts::kDraws)};
  return s;
}

}  // namespace zbv
