// SPDX-License-Identifier: MIT
// The viewer's frame draw by draw, read back after each draw before the swap.
#include <gtest/gtest.h>

#include "in_window.h"
#include "landmarks.h"
#include "scene_oracle.h"
#include "steps.h"
#include "tour.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using facts::kTour;

class Steps : public InWindow {};

// After each draw the buffers hold the scene as far as it is drawn: the floor alone, then each
// teapot added in turn, covering or behind what came before as the depth test decides (with
// the test off the red teapot paints over the grey one in front of it, the landmark
// teapot1Over2 among others); and the last draw leaves what the window then shows.
TEST_F(Steps, EachDrawAddsItsObjectInEveryState) {
  const auto tour = replayTourByDraws();
  ASSERT_TRUE(worked(tour));
  View view;
  for (std::size_t k = 0; k < tour->size(); ++k) {
    SCOPED_TRACE(kTour[k].file);
    view = afterKey(view, kTour[k].key);
    const FrameSteps& s = (*tour)[k];
    for (int draw = 1; draw <= facts::kDraws; ++draw) {
      view.draws = draw;
      EXPECT_TRUE(showsScene(s.after[static_cast<std::size_t>(draw - 1)].colour, view))
          << "after " << facts::kDrawFiles[draw - 1];
    }
    EXPECT_TRUE(identical(s.after.back().colour, s.whole.colour));
  }
}

// The README's strip of the depth-test-off frame draw by draw is what the viewer draws today.
TEST_F(Steps, DocumentedStepsStripMatchesTheFrame) {
  keyboard(static_cast<unsigned char>(kTour[facts::kStripStops[1]].key), 0, 0);
  const auto steps = drawFrameByDraws(facts::kWidth, facts::kHeight);
  ASSERT_TRUE(worked(steps));
  std::vector<Image> pictures;
  for (const Frame& f : steps->after) pictures.push_back(f.colour);
  const auto strip = sideBySide(pictures);
  ASSERT_TRUE(worked(strip));
  EXPECT_TRUE(matchesKept(*strip, ZBV_SOURCE_DIR, "docs/images/steps-strip.png", "make gallery"));
}

}  // namespace
}  // namespace zbv::test
