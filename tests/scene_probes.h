// SPDX-License-Identifier: MIT
// Probes of the viewer's 300x300 frame, shared by the tests that draw it in-process and the
// ones that read it from the real program's window.
#ifndef TESTS_SCENE_PROBES_H
#define TESTS_SCENE_PROBES_H

#include <gtest/gtest.h>

#include <string>

#include "gl_window.h"
#include "image.h"
#include "lighting.h"
#include "x_client.h"

namespace zbv::test {

// Whether this runs under CI (CI=true), where a missing display is a failure.
bool onCi();

// The one decision on a test that cannot run here, given why (empty when it can): with no
// display at all it is skipped, except under CI, which always has one; on a display that
// cannot serve it, it fails. Either way at once, with that one line.
#define ZBV_STOP_IF(why)                                  \
  do {                                                    \
    const std::string why_ = (why);                       \
    if (why_.empty()) break;                              \
    if (!::zbv::test::onCi() && !::zbv::XClient().ok()) { \
      GTEST_SKIP() << why_;                               \
    }                                                     \
    GTEST_FAIL() << why_;                                 \
  } while (0)

// Tests on the viewer's callbacks in this process's one window, opened by the first of them:
// each starts from the viewer's start-up state, whatever the test before it left.
class InWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ZBV_STOP_IF(openViewerWindow());
    resetToStartUp();
  }
};

// Interior points of a 300x300 frame, counted from the top-left corner.
struct Point {
  int x, y;
};
inline constexpr Point kSky{150, 10}, kSkyLeft{20, 20}, kFloorLeft{10, 290}, kFloorRight{290, 290},
    kFloorBehind{60, 90};
inline constexpr Point kTeapot1Front{150, 170}, kTeapot1Left{100, 170}, kTeapot1Right{200, 170};
inline constexpr Point kTeapot2Left{165, 99}, kTeapot2Right{230, 110};
inline constexpr Point kTeapot3{95, 85};
// Where two teapots overlap on screen: the nearer one is drawn first.
inline constexpr Point kTeapot1Over2{180, 132}, kTeapot1Over3{120, 114}, kTeapot2Over3{132, 102};

inline Rgb at(const Image& im, Point p) {
  return im.at(p.x, p.y);
}

// Lighting off: the floor and teapots in their flat colours, black above the far floor.
void expectFlatScene(const Image& frame);
// Lit by one light, depth test on: what faces away from the light shows the ambient part
// alone, what faces it is brighter by the diffuse part, the floor is lit at its corners' n.l.
void expectLitScene(const Image& frame, const Colour& light);
// Depth test off, lighting off: each later teapot covers the earlier ones where they overlap.
void expectLaterTeapotsOnTop(const Image& frame);
// Width in pixels of the front (grey) teapot along the row through its body, in a frame of
// any size; lit or not, its pixels are the only bright neutral grey in that row.
int frontTeapotWidth(const Image& frame);
// A picture of today against one kept in docs/, which another renderer may have drawn: alike
// within the tolerance wherever the picture is smooth, with at most one pixel in a thousand
// off along edges.
::testing::AssertionResult alikeAcrossRenderers(const Image& today, const Image& documented);

}  // namespace zbv::test

#endif  // TESTS_SCENE_PROBES_H
