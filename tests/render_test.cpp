// SPDX-License-Identifier: MIT
// The viewer's frame, drawn by its own callbacks into a real window and read back, against
// what the scene's facts say it must show.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "glut.h"
#include "in_window.h"
#include "landmarks.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using namespace facts;

class Render : public InWindow {};
class Projection : public InWindow {};

// Only the given light among lights 1-3 on, lighting on, depth test on.
void onlyLight(GLenum light) {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  for (GLenum l : std::initializer_list<GLenum>{GL_LIGHT1, GL_LIGHT2, GL_LIGHT3})
    l == light ? glEnable(l) : glDisable(l);
}

TEST_F(Render, UnlitObjectsShowTheirFlatColours) {
  glDisable(GL_LIGHTING);
  View unlit;
  unlit.lighting = false;
  EXPECT_TRUE(showsScene(frame(), unlit));
}

// Lights 1, 2 and 3 are facts::kLights in order.
class EachLight : public InWindow, public ::testing::WithParamInterface<int> {};

TEST_P(EachLight, ShadesByTheLightingEquation) {
  onlyLight(static_cast<GLenum>(GL_LIGHT1 + GetParam()));
  View lit;
  lit.light = kLights[GetParam()].colour;
  EXPECT_TRUE(showsScene(frame(), lit));
}
std::string lightName(const ::testing::TestParamInfo<int>& light) {
  return kLights[light.param].name;
}
INSTANTIATE_TEST_SUITE_P(Render, EachLight,
                         ::testing::Range(0, static_cast<int>(std::size(kLights))), lightName);

TEST_F(Render, FloorIsDarkGreyAndNeverBlack) {
  // The bottom rows show the floor alone, in front of all three teapots.
  const Image f = frame();
  EXPECT_TRUE(
      rectMatches(f, 0, kHeight - 20, kWidth, 20, toRgb(lit(kFloor.colour, kWhite, floorNdotL()))));
}

TEST_F(Render, WithoutDepthTestLaterTeapotsCoverEarlierOnes) {
  for (bool lighting : {false, true}) {
    SCOPED_TRACE(lighting ? "lit" : "unlit");
    lighting ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    View view;
    view.depthTest = false;
    view.lighting = lighting;
    EXPECT_TRUE(showsScene(frame(), view));
  }
}

// A frame depends on nothing left behind: not on the previous frame, not on whatever normal
// the last vertex drawn before it happened to carry.
TEST_F(Render, TwoFramesInARowAreIdentical) {
  const Image first = frame();
  EXPECT_TRUE(identical(frame(), first));
  glNormal3f(0, -1, 0);
  EXPECT_TRUE(identical(frame(), first));
}

TEST_F(Projection, FollowsTheWindowsAspectRatio) {
  reshape(400, 300);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  // The matrix gluPerspective documents, column by column.
  const double f = 1 / std::tan(kFovyDegrees * M_PI / 360), aspect = 4.0 / 3.0;
  const double a = (kFar + kNear) / (kNear - kFar), b = 2 * kFar * kNear / (kNear - kFar);
  const double expected[16] = {f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, a, -1, 0, 0, b, 0};
  // GL keeps the matrix in single precision.
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << "element " << i;
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(std::vector<GLint>(vp, vp + 4), (std::vector<GLint>{0, 0, 400, 300}));
}

TEST_F(Projection, WindowWithNoHeightKeepsItFinite) {
  for (int width : {300, 0}) {
    reshape(width, 0);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(m[i])) << width << "x0, element " << i;
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<GLint>(vp, vp + 4), (std::vector<GLint>{0, 0, width, 0}));
  }
}

// Wider, the view widens and the teapots keep their shape; taller, the vertical field of view
// stays and the teapots grow with the window. (The real program's resizes and -geometry are
// the end-to-end tests'; these are shapes far from theirs.)
class OtherSizes : public InWindow, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(OtherSizes, ShowTheSceneUnstretched) {
  const auto [width, height] = GetParam();
  View view;
  view.width = width;
  view.height = height;
  const Image f = frame(width, height);
  EXPECT_TRUE(showsScene(f, view));
  const int square = frontTeapotWidth(frame());
  EXPECT_NEAR(frontTeapotWidth(f), square * height / double(kHeight), 3);
}
std::string sizeName(const ::testing::TestParamInfo<std::pair<int, int>>& size) {
  return std::to_string(size.param.first) + "x" + std::to_string(size.param.second);
}
INSTANTIATE_TEST_SUITE_P(Projection, OtherSizes,
                         ::testing::Values(std::pair{600, 200}, std::pair{260, 400}), sizeName);

}  // namespace
}  // namespace zbv::test
