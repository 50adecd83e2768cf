// SPDX-License-Identifier: MIT
#include "lab.h"

#include <algorithm>
#include <cstdio>

#include "depth_picture.h"
#include "gl_window.h"
#include "offscreen.h"

namespace zbv {

Outcome<Frame> drawPreset(const facts::LabPreset& preset) {
  resetToStartUp();
  auto f = drawOffscreen(preset.planes, preset.depth, facts::kWidth, facts::kHeight);
  resetToStartUp();
  if (!f) return Failure{std::string("lab preset ") + preset.file + ": " + f.why()};
  return f;
}

Outcome<std::vector<Frame>> drawPresets() {
  std::vector<Frame> frames;
  for (const facts::LabPreset& preset : facts::kLabPresets) {
    auto f = drawPreset(preset);
    if (!f) return Failure{f.why()};
    frames.push_back(std::move(*f));
  }
  return frames;
}

std::string formatName(facts::DepthFormat format) {
  const int bits = facts::integerBits(format);
  return bits != 0 ? std::to_string(bits) + "-bit integers" : "32-bit floats";
}

int sameRendererTolerance(int bits) {
  return bits >= 8 ? 0 : lsbSteps(facts::kSameRendererSteps, bits);
}

std::string describePreset(const facts::LabPreset& preset, const DepthMap& depth) {
  std::vector<double> values;
  for (double v : depth.z)
    if (v < 1) values.push_back(v);
  std::sort(values.begin(), values.end());
  const auto distinct = std::unique(values.begin(), values.end()) - values.begin();
  char planes[120];
  std::snprintf(planes, sizeof planes, "%s, near %g, far %g, %td distinct value%s below 1; ",
                formatName(preset.depth).c_str(), preset.planes.zNear, preset.planes.zFar, distinct,
                distinct == 1 ? "" : "s");
  // Eight decimals: the presets' values differ from one another and from 1 well past six.
  return planes + describeDepth(depth, 8);
}

}  // namespace zbv
