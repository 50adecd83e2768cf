// SPDX-License-Identifier: MIT
// What the viewer's frames leave in the depth buffer, read back just before the swap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "camera.h"
#include "depth.h"
#include "depth_picture.h"
#include "in_window.h"
#include "landmarks.h"
#include "tour.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using namespace facts;

// Values near 1 step by 2^-24, both in a 24-bit buffer and in the float arithmetic that
// fills a deeper one; the vertices are transformed, clipped and interpolated in float too,
// which costs a step or two more. facts::kDepthSteps24 steps allow that and little else: a
// far plane of 101 instead of 100 moves the floor's values by about 1e-5, some 170 steps.
constexpr double kDepthTolerance = kDepthSteps24 / (1 << 24);

class Depth : public InWindow {};

TEST_F(Depth, FloorHoldsTheProjectedDepthAndTheSkyTheClearedValue) {
  const auto drawn = drawFrameAndDepth(kWidth, kHeight);
  ASSERT_TRUE(worked(drawn));
  const Frame& f = *drawn;
  // The bottom rows show the floor alone, in front of all three teapots.
  double worst = 0;
  for (int row = kHeight - 20; row < kHeight; ++row) {
    for (int x = 0; x < kWidth; ++x) {
      double expected = 0;
      ASSERT_TRUE(floorDepth(x, row, kWidth, kHeight, &expected)) << x << "," << row;
      worst = std::max(worst, std::fabs(f.depth.at(x, row) - expected));
    }
  }
  EXPECT_LE(worst, kDepthTolerance);
  std::printf("largest difference on the floor: %.3g (%.2f steps of 2^-24)\n", worst,
              worst * (1 << 24));
  // Nothing is drawn above the far floor: the cleared value stays, and shows black.
  const Image grey = depthPicture(f.depth);
  for (Point p : {kSky, kSkyLeft}) {
    EXPECT_EQ(f.depth.at(p.x, p.y), 1.0);
    EXPECT_EQ(at(grey, p), (Rgb{0, 0, 0}));
  }
  // The nearest value present is white.
  int brightest = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) brightest = std::max(brightest, grey.at(x, y).r);
  EXPECT_EQ(brightest, 255);
}

TEST_F(Depth, StaysClearedWithTheDepthTestOff) {
  // A frame with the test on first, so that the buffer holds values to be cleared away.
  const auto on = drawFrameAndDepth(kWidth, kHeight);
  ASSERT_TRUE(worked(on));
  ASSERT_LT(*std::min_element(on->depth.z.begin(), on->depth.z.end()), 1.0);
  keyboard('2', 0, 0);
  for (char lighting : {'3', '4'}) {
    keyboard(static_cast<unsigned char>(lighting), 0, 0);
    const auto off = drawFrameAndDepth(kWidth, kHeight);
    ASSERT_TRUE(worked(off));
    const DepthMap& d = off->depth;
    EXPECT_EQ(std::count(d.z.begin(), d.z.end(), 1.0), static_cast<long>(d.z.size()))
        << "key " << lighting;
    EXPECT_TRUE(identical(depthPicture(d), Image(kWidth, kHeight)));
  }
}

// The README's depth strip is what the viewer's frames leave today.
TEST_F(Depth, DocumentedDepthStripMatchesTheTour) {
  const auto frames = replayTour();
  ASSERT_TRUE(worked(frames));
  std::vector<Image> pictures;
  for (const Frame& f : *frames) pictures.push_back(depthPicture(f.depth));
  const auto strip = makeStrip(pictures);
  ASSERT_TRUE(worked(strip));
  EXPECT_TRUE(matchesKept(*strip, ZBV_SOURCE_DIR, "docs/images/depth-strip.png", "make gallery"));
}

}  // namespace
}  // namespace zbv::test
