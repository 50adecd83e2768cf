// SPDX-License-Identifier: MIT
// What the viewer's frames leave in the depth buffer, read back just before the swap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "depth.h"
#include "scene_probes.h"
#include "tour.h"
#include "viewer.h"

namespace zbv::test {
namespace {

struct V3 {
  double x, y, z;
};
V3 operator+(V3 a, V3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(double k, V3 a) {
  return {k * a.x, k * a.y, k * a.z};
}
V3 cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 unit(V3 a) {
  return (1 / std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z)) * a;
}

// The value the depth buffer should hold where the ray through the centre of pixel (x, y),
// y counted from the bottom as in window coordinates, meets the floor y = -2: the camera of
// gluLookAt((0, 5, 10), (0, 0, 0), (0, 1, 0)), gluPerspective(60, aspect, 0.1, 100)'s depth
// mapping, then window z = (z_ndc + 1) / 2. False if the ray misses the floor.
bool floorDepth(int x, int y, int width, int height, double* value) {
  const V3 eye{0, 5, 10};
  const V3 forward = unit({0, -5, -10});
  const V3 side = unit(cross(forward, {0, 1, 0}));
  const V3 up = cross(side, forward);
  const double tanHalf = std::tan(M_PI / 6), aspect = double(width) / height;
  const double nx = 2 * (x + 0.5) / width - 1, ny = 2 * (y + 0.5) / height - 1;
  // One unit along the view per unit of the ray's parameter: the parameter is the eye depth.
  const V3 ray = (nx * tanHalf * aspect) * side + (ny * tanHalf) * up + forward;
  const double d = (-2 - eye.y) / ray.y;
  const V3 hit = eye + d * ray;
  if (d <= 0 || std::fabs(hit.x) > 100 || std::fabs(hit.z) > 100) return false;
  const double n = 0.1, f = 100;
  const double ndc = (f + n) / (f - n) - 2 * f * n / ((f - n) * d);
  *value = (ndc + 1) / 2;
  return true;
}

// Values near 1 step by 2^-24, both in a 24-bit buffer and in the float arithmetic that
// fills a deeper one; the vertices are transformed, clipped and interpolated in float too,
// which costs a step or two more. 8 steps allow that and little else: a far plane of 101
// instead of 100 moves the floor's values by about 1e-5, some 170 steps.
constexpr double kDepthTolerance = 8.0 / (1 << 24);

class Depth : public InWindow {};

TEST_F(Depth, FloorHoldsTheProjectedDepthAndTheSkyTheClearedValue) {
  const Frame f = drawFrameAndDepth();
  ASSERT_EQ(f.depth.width, 300);
  ASSERT_EQ(f.depth.height, 300);
  // The bottom rows show the floor alone, in front of all three teapots.
  double worst = 0;
  for (int row = 280; row < 300; ++row) {
    for (int x = 0; x < 300; ++x) {
      double expected = 0;
      ASSERT_TRUE(floorDepth(x, 299 - row, 300, 300, &expected)) << x << "," << row;
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
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) brightest = std::max(brightest, grey.at(x, y).r);
  EXPECT_EQ(brightest, 255);
}

TEST_F(Depth, StaysClearedWithTheDepthTestOff) {
  // A frame with the test on first, so that the buffer holds values to be cleared away.
  const DepthMap on = drawFrameAndDepth().depth;
  ASSERT_LT(*std::min_element(on.z.begin(), on.z.end()), 1.0);
  keyboard('2', 0, 0);
  for (char lighting : {'3', '4'}) {
    keyboard(static_cast<unsigned char>(lighting), 0, 0);
    const Frame f = drawFrameAndDepth();
    ASSERT_FALSE(f.depth.empty());
    EXPECT_EQ(std::count(f.depth.z.begin(), f.depth.z.end(), 1.0),
              static_cast<long>(f.depth.z.size()))
        << "key " << lighting;
    EXPECT_EQ(imageDistance(depthPicture(f.depth), Image(300, 300)), 0);
  }
}

// The README's depth strip is what the viewer's frames leave today.
TEST_F(Depth, DocumentedDepthStripMatchesTheTour) {
  Image documented;
  ASSERT_TRUE(loadPng(ZBV_SOURCE_DIR "/docs/images/depth-strip.png", &documented));
  std::vector<Image> pictures;
  for (const Frame& f : replayTour()) pictures.push_back(depthPicture(f.depth));
  const Image strip = makeStrip(pictures);
  ASSERT_FALSE(strip.empty()) << "the tour could not be drawn";
  EXPECT_TRUE(alikeAcrossRenderers(strip, documented))
      << "docs/images/depth-strip.png is stale: `make gallery` draws it anew";
}

}  // namespace
}  // namespace zbv::test
