// SPDX-License-Identifier: MIT
// The viewer's frame draw by draw, read back after each draw before the swap.
#include <gtest/gtest.h>

#include "in_window.h"
#include "lighting.h"
#include "probes.h"
#include "scene_oracle.h"
#include "steps.h"
#include "tour.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using facts::kTour;

class Steps : public InWindow {
 protected:
  static FrameSteps byDraws() { return valueOr(drawFrameByDraws(facts::kWidth, facts::kHeight)); }
};

TEST_F(Steps, TheLastDrawLeavesTheWholeFrameInEveryState) {
  const auto tour = replayTourByDraws();
  ASSERT_TRUE(worked(tour));
  ASSERT_EQ(tour->size(), static_cast<std::size_t>(facts::kTourLength));
  for (std::size_t k = 0; k < tour->size(); ++k) {
    const FrameSteps& s = (*tour)[k];
    ASSERT_EQ(s.after.size(), static_cast<std::size_t>(kSteps)) << kTour[k].file;
    EXPECT_TRUE(identical(s.after.back().colour, s.whole.colour)) << kTour[k].file;
    EXPECT_EQ(s.after.back().depth.z, s.whole.depth.z) << kTour[k].file;
    // The grey teapot's draw changes the picture the floor left.
    EXPECT_FALSE(identical(s.after[0].colour, s.after[1].colour)) << kTour[k].file;
  }
}

// A pixel where the grey teapot stands in front of the red one, found from the geometry:
// nearest is grey, drawn last is red, and neither at an edge.
Point greyInFrontOfRed() {
  View on;
  on.lighting = false;
  View off = on;
  off.depthTest = false;
  const SceneOracle front{on}, last{off};
  for (int y = 0; y < facts::kHeight; ++y)
    for (int x = 0; x < facts::kWidth; ++x)
      if (front.at(x, y).object == 0 && last.at(x, y).object == 1 && front.smoothAt(x, y, 0) &&
          last.smoothAt(x, y, 0))
        return {x, y};
  return {-1, -1};
}

TEST_F(Steps, WithTheDepthTestOffTheRedTeapotPaintsOverTheGreyOne) {
  const Point p = greyInFrontOfRed();
  ASSERT_GE(p.x, 0) << "the red teapot is nowhere behind the grey one";
  const Rgb grey = toRgb(facts::kTeapots[0].colour), red = toRgb(facts::kTeapots[1].colour);
  keyboard('4', 0, 0);  // flat colours, which the equation gives exactly
  for (char depth : {'1', '2'}) {
    keyboard(static_cast<unsigned char>(depth), 0, 0);
    const FrameSteps s = byDraws();
    ASSERT_EQ(s.after.size(), static_cast<std::size_t>(kSteps));
    EXPECT_TRUE(near(s.after[1].colour, p, grey)) << "key " << depth;
    EXPECT_TRUE(near(s.after[2].colour, p, depth == '2' ? red : grey)) << "key " << depth;
  }
}

// The README's strip of the depth-test-off frame draw by draw is what the viewer draws today.
TEST_F(Steps, DocumentedStepsStripMatchesTheFrame) {
  const auto documented = loadPng(ZBV_SOURCE_DIR "/docs/images/steps-strip.png");
  ASSERT_TRUE(worked(documented));
  keyboard(static_cast<unsigned char>(kTour[facts::kStripStops[1]].key), 0, 0);
  std::vector<Image> pictures;
  for (const Frame& f : byDraws().after) pictures.push_back(f.colour);
  const auto strip = sideBySide(pictures);
  ASSERT_TRUE(worked(strip));
  EXPECT_TRUE(alikeAcrossRenderers(*strip, *documented))
      << "docs/images/steps-strip.png is stale: `make gallery` draws it anew";
}

}  // namespace
}  // namespace zbv::test
