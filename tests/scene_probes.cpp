// SPDX-License-Identifier: MIT
#include "scene_probes.h"

#include <cstdlib>
#include <cstring>

namespace zbv::test {

bool onCi() {
  const char* ci = std::getenv("CI");
  return ci && std::strcmp(ci, "true") == 0;
}

namespace {
::testing::Message where(Point p) {
  return ::testing::Message() << "at " << p.x << "," << p.y;
}
}  // namespace

void expectFlatScene(const Image& frame) {
  ASSERT_EQ(frame.width, 300);
  ASSERT_EQ(frame.height, 300);
  const struct {
    Point p;
    Rgb expected;
  } probes[] = {
      {kSky, {0, 0, 0}},
      {kSkyLeft, {0, 0, 0}},
      {kFloorLeft, flat(kFloor)},
      {kFloorRight, flat(kFloor)},
      {kFloorBehind, flat(kFloor)},
      {kTeapot1Front, flat(kGrey)},
      {kTeapot1Right, flat(kGrey)},
      {kTeapot2Right, flat(kRed)},
      {kTeapot3, flat(kBlue)},
  };
  for (const auto& probe : probes) {
    EXPECT_TRUE(near(at(frame, probe.p), probe.expected)) << where(probe.p);
  }
}

void expectLitScene(const Image& frame, const Colour& light) {
  ASSERT_EQ(frame.width, 300);
  ASSERT_EQ(frame.height, 300);
  EXPECT_TRUE(near(at(frame, kSky), {0, 0, 0}));
  for (Point p : {kFloorLeft, kFloorRight, kFloorBehind}) {
    EXPECT_TRUE(near(at(frame, p), lit(kFloor, light, floorNdotL()))) << where(p);
  }
  for (Point p : {kTeapot1Front, kTeapot1Left}) {
    EXPECT_TRUE(near(at(frame, p), lit(kGrey, light, 0))) << where(p);
  }
  EXPECT_TRUE(near(at(frame, kTeapot2Left), lit(kRed, light, 0))) << where(kTeapot2Left);
  EXPECT_TRUE(facesLight(at(frame, kTeapot1Right), kGrey, light)) << where(kTeapot1Right);
  EXPECT_TRUE(facesLight(at(frame, kTeapot2Right), kRed, light)) << where(kTeapot2Right);
  EXPECT_TRUE(facesLight(at(frame, kTeapot3), kBlue, light)) << where(kTeapot3);
}

void expectLaterTeapotsOnTop(const Image& frame) {
  const struct {
    Point p;
    Colour later;
  } overlaps[] = {{kTeapot1Over2, kRed}, {kTeapot1Over3, kBlue}, {kTeapot2Over3, kBlue}};
  for (const auto& o : overlaps) EXPECT_TRUE(near(at(frame, o.p), flat(o.later))) << where(o.p);
}

int frontTeapotWidth(const Image& frame) {
  const int row = frame.height * kTeapot1Front.y / 300;
  int n = 0;
  for (int x = 0; x < frame.width; ++x) {
    const Rgb c = frame.at(x, row);
    n += c.r == c.g && c.g == c.b && c.r > 100 ? 1 : 0;
  }
  return n;
}

::testing::AssertionResult alikeAcrossRenderers(const Image& today, const Image& documented) {
  const Difference d = smoothDifference(today, documented, kTolerance);
  if (d.smooth >= 0 && d.smooth <= kTolerance && d.edgePixels <= today.width * today.height / 1000)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << d.smooth << "/255 apart where smooth, " << d.edgePixels << " edge pixels differ";
}

}  // namespace zbv::test
