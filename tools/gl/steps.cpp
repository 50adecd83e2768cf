// SPDX-License-Identifier: MIT
#include "steps.h"

#include <GL/gl.h>

#include <string>
#include <utility>

#include "gl_window.h"
#include "scene_facts.h"

namespace zbv {

Outcome<FrameSteps> drawFrameByDraws(int width, int height) {
  FrameSteps s;
  afterDraw([&s, width, height] {
    glReadBuffer(GL_BACK);
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
