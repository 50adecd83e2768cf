// SPDX-License-Identifier: MIT
// The viewer's frame, drawn by its own callbacks into a real window and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "glut.h"
#include "scene_probes.h"
#include "viewer.h"

namespace zbv::test {
namespace {

class Render : public InWindow {};
class Projection : public InWindow {};

// Only the given light among lights 1-3 on, lighting on, depth test on.
void onlyLight(GLenum light) {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  for (GLenum l : {GL_LIGHT1, GL_LIGHT2, GL_LIGHT3}) l == light ? glEnable(l) : glDisable(l);
}

TEST_F(Render, UnlitObjectsShowTheirFlatColours) {
  glDisable(GL_LIGHTING);
  expectFlatScene(drawFrame());
  // The flat colours in bytes, as the scene's colour table gives them.
  EXPECT_EQ(flat(kFloor), (Rgb{31, 31, 31}));
  EXPECT_EQ(flat(kGrey), (Rgb{153, 153, 153}));
  EXPECT_EQ(glErrors(), "");
}

TEST_F(Render, EachLightShadesByTheLightingEquation) {
  // At start-up the white light alone shines.
  expectLitScene(drawFrame(), kWhite);
  const struct {
    GLenum id;
    Colour colour;
  } lights[] = {{GL_LIGHT1, kYellow}, {GL_LIGHT2, kCyan}, {GL_LIGHT3, kWhite}};
  for (const auto& light : lights) {
    SCOPED_TRACE(::testing::Message() << "light " << light.id - GL_LIGHT0);
    onlyLight(light.id);
    expectLitScene(drawFrame(), light.colour);
  }
  EXPECT_EQ(glErrors(), "");
}

TEST_F(Render, FloorIsDarkGreyAndNeverBlack) {
  const Image f = drawFrame();
  // Every pixel of the bottom rows is floor, in front of all three teapots.
  for (int y = 280; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) {
      ASSERT_TRUE(near(f.at(x, y), lit(kFloor, kWhite, floorNdotL()))) << x << "," << y;
    }
  }
}

TEST_F(Render, WithoutDepthTestLaterTeapotsCoverEarlierOnes) {
  glDisable(GL_LIGHTING);
  const Image on = drawFrame();
  EXPECT_TRUE(near(at(on, kTeapot1Over2), flat(kGrey)));
  EXPECT_TRUE(near(at(on, kTeapot1Over3), flat(kGrey)));
  EXPECT_TRUE(near(at(on, kTeapot2Over3), flat(kRed)));
  glDisable(GL_DEPTH_TEST);
  expectLaterTeapotsOnTop(drawFrame());
  // Lit, the same holds: the front teapot's pixel takes the red teapot's hue.
  glEnable(GL_LIGHTING);
  const Rgb px = at(drawFrame(), kTeapot1Over2);
  EXPECT_GT(px.r, px.g + 100);
  EXPECT_NEAR(px.g, px.b, kTolerance);
  EXPECT_EQ(glErrors(), "");
}

// A frame depends on nothing left behind: not on the previous frame, not on whatever normal
// the last vertex drawn before it happened to carry.
TEST_F(Render, TwoFramesInARowAreIdentical) {
  const Image first = drawFrame();
  expectLitScene(first, kWhite);
  const Image second = drawFrame();
  EXPECT_EQ(imageDistance(first, second), 0);
  glNormal3f(0, -1, 0);
  const Image third = drawFrame();
  EXPECT_EQ(imageDistance(first, third), 0);
}

TEST_F(Projection, FollowsTheWindowsAspectRatio) {
  reshape(400, 300);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  // The matrix gluPerspective documents, column by column.
  const double f = 1 / std::tan(M_PI / 6), zNear = 0.1, zFar = 100, aspect = 4.0 / 3.0;
  const double a = (zFar + zNear) / (zNear - zFar), b = 2 * zFar * zNear / (zNear - zFar);
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
  EXPECT_EQ(glErrors(), "");
}

TEST_F(Projection, WiderWindowDoesNotStretchTheTeapots) {
  const int square = frontTeapotWidth(drawFrame(300, 300));
  const int wide = frontTeapotWidth(drawFrame(400, 300));
  EXPECT_GT(square, 100);
  EXPECT_NEAR(wide, square, 2);
  // The vertical field of view is fixed: a lower window shrinks the teapot with it.
  const int low = frontTeapotWidth(drawFrame(300, 200));
  EXPECT_NEAR(low * 3.0 / 2.0, square, 3);
}

}  // namespace
}  // namespace zbv::test
