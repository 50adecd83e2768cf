// SPDX-License-Identifier: MIT
// The viewer's frame draw by draw, read back after each draw before the swap.
#include <gtest/gtest.h>

#include "scene_probes.h"
#include "steps.h"
#include "tour.h"
#include "viewer.h"

namespace zbv::test {
namespace {

class Steps : public InWindow {};

TEST_F(Steps, TheLastDrawLeavesTheWholeFrameInEveryState) {
  const std::vector<FrameSteps> tour = replayTourByDraws();
  ASSERT_EQ(tour.size(), static_cast<std::size_t>(kTourLength));
  for (std::size_t k = 0; k < tour.size(); ++k) {
    const FrameSteps& s = tour[k];
    ASSERT_EQ(s.after.size(), static_cast<std::size_t>(kSteps)) << kTour[k].file;
    EXPECT_EQ(imageDistance(s.after.back().colour, s.whole.colour), 0) << kTour[k].file;
    EXPECT_EQ(s.after.back().depth.z, s.whole.depth.z) << kTour[k].file;
    // Every draw but the hidden ones changes the picture: the floor at least, the teapots too.
    EXPECT_GT(imageDistance(s.after[0].colour, s.after[1].colour), 0) << kTour[k].file;
  }
}

// Where the grey teapot stands in front of the red one: the red draw comes third.
TEST_F(Steps, WithTheDepthTestOffTheRedTeapotPaintsOverTheGreyOne) {
  keyboard('4', 0, 0);  // flat colours, which the equation gives exactly
  for (char depth : {'1', '2'}) {
    keyboard(static_cast<unsigned char>(depth), 0, 0);
    const FrameSteps s = drawFrameByDraws();
    ASSERT_EQ(s.after.size(), static_cast<std::size_t>(kSteps));
    EXPECT_TRUE(near(at(s.after[1].colour, kTeapot1Over2), flat(kGrey))) << "key " << depth;
    const Rgb third = at(s.after[2].colour, kTeapot1Over2);
    EXPECT_TRUE(near(third, flat(depth == '2' ? kRed : kGrey))) << "key " << depth;
  }
  // The same lit: grey is neutral, red is red.
  keyboard('3', 0, 0);
  const FrameSteps lit = drawFrameByDraws();
  ASSERT_EQ(lit.after.size(), static_cast<std::size_t>(kSteps));
  const Rgb grey = at(lit.after[1].colour, kTeapot1Over2),
            red = at(lit.after[2].colour, kTeapot1Over2);
  EXPECT_TRUE(grey.r == grey.g && grey.g == grey.b) << grey;
  EXPECT_GT(red.r, 3 * red.g) << red;
}

// The README's strip of the depth-test-off frame draw by draw is what the viewer draws today.
TEST_F(Steps, DocumentedStepsStripMatchesTheFrame) {
  Image documented;
  ASSERT_TRUE(loadPng(ZBV_SOURCE_DIR "/docs/images/steps-strip.png", &documented));
  keyboard(static_cast<unsigned char>(kTour[kStripStops[1]].key), 0, 0);
  std::vector<Image> pictures;
  for (const Frame& f : drawFrameByDraws().after) pictures.push_back(f.colour);
  EXPECT_TRUE(alikeAcrossRenderers(sideBySide(pictures), documented))
      << "docs/images/steps-strip.png is stale: `make gallery` draws it anew";
}

}  // namespace
}  // namespace zbv::test
