// The viewer's frame, drawn by its own callbacks into a real window and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gl_window.h"
#include "glut.h"
#include "lighting.h"
#include "viewer.h"

namespace zbv::test {
namespace {

// Interior points of a 300x300 frame, counted from the top-left corner.
struct Point {
  int x, y;
};
constexpr Point kSky{150, 10}, kSkyLeft{20, 20}, kFloorLeft{10, 290}, kFloorRight{290, 290},
    kFloorBehind{60, 90};
constexpr Point kTeapot1Front{150, 170}, kTeapot1Left{100, 170}, kTeapot1Right{200, 170};
constexpr Point kTeapot2Left{165, 99}, kTeapot2Right{230, 110};
constexpr Point kTeapot3{95, 85};
// Where two teapots overlap on screen: the nearer one first, the one drawn later second.
constexpr Point kTeapot1Over2{180, 132}, kTeapot1Over3{120, 114}, kTeapot2Over3{132, 102};

Rgb at(const Image& im, Point p) {
  return im.at(p.x, p.y);
}

// Only the given light among lights 1-3 on, lighting on, depth test on.
void onlyLight(GLenum light) {
  glEnable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  for (GLenum l : {GL_LIGHT1, GL_LIGHT2, GL_LIGHT3}) l == light ? glEnable(l) : glDisable(l);
}

TEST(Render, UnlitObjectsShowTheirFlatColours) {
  ZBV_NEED_WINDOW();
  glDisable(GL_LIGHTING);
  const Image f = drawFrame();
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
    EXPECT_TRUE(near(at(f, probe.p), probe.expected)) << "at " << probe.p.x << "," << probe.p.y;
  }
  // The flat colours, in bytes as the table of the scene gives them.
  EXPECT_EQ(flat(kFloor), (Rgb{31, 31, 31}));
  EXPECT_EQ(flat(kGrey), (Rgb{153, 153, 153}));
  EXPECT_EQ(glErrors(), "");
}

// The start-up state and every single light: what faces away from the light shows the
// ambient part alone, what faces it is brighter by the diffuse part, and the floor is lit
// from straight above at its corners' n.l.
TEST(Render, EachLightShadesByTheLightingEquation) {
  ZBV_NEED_WINDOW();
  const struct {
    GLenum id;
    Colour colour;
  } lights[] = {{GL_LIGHT3, kWhite}, {GL_LIGHT1, kYellow}, {GL_LIGHT2, kCyan}};
  for (const auto& light : lights) {
    SCOPED_TRACE(::testing::Message() << "light " << light.id - GL_LIGHT0);
    onlyLight(light.id);
    const Image f = drawFrame();
    EXPECT_TRUE(near(at(f, kSky), {0, 0, 0}));
    for (Point p : {kFloorLeft, kFloorRight, kFloorBehind}) {
      EXPECT_TRUE(near(at(f, p), lit(kFloor, light.colour, floorNdotL())));
    }
    for (Point p : {kTeapot1Front, kTeapot1Left}) {
      EXPECT_TRUE(near(at(f, p), lit(kGrey, light.colour, 0)));
    }
    EXPECT_TRUE(near(at(f, kTeapot2Left), lit(kRed, light.colour, 0)));
    EXPECT_TRUE(facesLight(at(f, kTeapot1Right), kGrey, light.colour));
    EXPECT_TRUE(facesLight(at(f, kTeapot2Right), kRed, light.colour));
    EXPECT_TRUE(facesLight(at(f, kTeapot3), kBlue, light.colour));
  }
  EXPECT_EQ(glErrors(), "");
}

TEST(Render, FloorIsDarkGreyAndNeverBlack) {
  ZBV_NEED_WINDOW();
  onlyLight(GL_LIGHT3);
  const Image f = drawFrame();
  // Every pixel of the bottom rows is floor, in front of all three teapots.
  for (int y = 280; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) {
      ASSERT_TRUE(near(f.at(x, y), lit(kFloor, kWhite, floorNdotL()))) << x << "," << y;
    }
  }
}

TEST(Render, WithoutDepthTestLaterTeapotsCoverEarlierOnes) {
  ZBV_NEED_WINDOW();
  glDisable(GL_LIGHTING);
  glEnable(GL_DEPTH_TEST);
  const Image on = drawFrame();
  glDisable(GL_DEPTH_TEST);
  const Image off = drawFrame();
  const struct {
    Point p;
    Colour nearer, later;
  } overlaps[] = {
      {kTeapot1Over2, kGrey, kRed}, {kTeapot1Over3, kGrey, kBlue}, {kTeapot2Over3, kRed, kBlue}};
  for (const auto& o : overlaps) {
    EXPECT_TRUE(near(at(on, o.p), flat(o.nearer))) << "depth test on, " << o.p.x << "," << o.p.y;
    EXPECT_TRUE(near(at(off, o.p), flat(o.later))) << "depth test off, " << o.p.x << "," << o.p.y;
  }
  // Lit, the same holds: the front teapot's pixel takes the red teapot's hue.
  glEnable(GL_LIGHTING);
  const Rgb px = at(drawFrame(), kTeapot1Over2);
  EXPECT_GT(px.r, px.g + 100);
  EXPECT_NEAR(px.g, px.b, kTolerance);
  glEnable(GL_DEPTH_TEST);
  EXPECT_EQ(glErrors(), "");
}

// A frame depends on nothing left behind: not on the previous frame, not on whatever normal
// the last vertex drawn before it happened to carry.
TEST(Render, TwoFramesInARowAreIdentical) {
  ZBV_NEED_WINDOW();
  onlyLight(GL_LIGHT3);
  const Image first = drawFrame();
  const Image second = drawFrame();
  EXPECT_EQ(imageDistance(first, second), 0);
  glNormal3f(0, -1, 0);
  const Image third = drawFrame();
  EXPECT_EQ(imageDistance(first, third), 0);
}

TEST(Projection, FollowsTheWindowsAspectRatio) {
  ZBV_NEED_WINDOW();
  reshape(400, 300);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  // The matrix gluPerspective documents, column by column.
  const double f = 1 / std::tan(M_PI / 6), zNear = 0.1, zFar = 100, aspect = 4.0 / 3.0;
  const double expected[16] = {f / aspect,
                               0,
                               0,
                               0,
                               0,
                               f,
                               0,
                               0,
                               0,
                               0,
                               (zFar + zNear) / (zNear - zFar),
                               -1,
                               0,
                               0,
                               2 * zFar * zNear / (zNear - zFar),
                               0};
  // GL keeps the matrix in single precision.
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6) << "element " << i;
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(std::vector<GLint>(vp, vp + 4), (std::vector<GLint>{0, 0, 400, 300}));
}

TEST(Projection, WindowWithNoHeightKeepsItFinite) {
  ZBV_NEED_WINDOW();
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

// Width of the grey teapot, in pixels, along the row through its body.
int frontTeapotWidth(const Image& f) {
  const int row = f.height * kTeapot1Front.y / 300;
  int n = 0;
  for (int x = 0; x < f.width; ++x) n += near(f.at(x, row), flat(kGrey)) ? 1 : 0;
  return n;
}

TEST(Projection, WiderWindowDoesNotStretchTheTeapots) {
  ZBV_NEED_WINDOW();
  glDisable(GL_LIGHTING);
  const int square = frontTeapotWidth(drawFrame(300, 300));
  const int wide = frontTeapotWidth(drawFrame(400, 300));
  EXPECT_GT(square, 100);
  EXPECT_NEAR(wide, square, 2);
  // A narrower window keeps the vertical scale too: the teapot shrinks with the height.
  const int low = frontTeapotWidth(drawFrame(300, 200));
  EXPECT_NEAR(low * 3.0 / 2.0, square, 3);
}

}  // namespace
}  // namespace zbv::test
