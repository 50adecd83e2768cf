// SPDX-License-Identifier: MIT
// The web layer's pixel history, run natively: the viewer's own callbacks draw through the
// web GL (no browser, no libGL), and what the history says happened at a pixel is set
// against the scene's facts, and against a reference rasteriser where coverage is the point.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "camera.h"
#include "gl/context.h"
#include "gl/depth.h"
#include "gl/recording_renderer.h"
#include "probe/frame_record.h"
#include "scene_facts.h"
#include "scene_oracle.h"
#include "viewer.h"
#include "web_history.h"
#include "web_rasteriser.h"
#include "web_stand_in.h"

namespace zbv::test {
namespace {

using facts::kHeight;
using facts::kWidth;

// 2^-24: one step of a 24-bit depth buffer.
constexpr double kDepthStep = 1.0 / (1 << 24);

class WebHistory : public ::testing::Test {
 protected:
  void SetUp() override { startViewer(); }
};

// The draw that drew an object the oracle names: the floor first, then the teapots.
int drawOf(int object) {
  return object == Seen::kNothing ? -1 : object + 1;
}

// Every fragment the history gives at pixel (x, y) of the picture (from its top left) agrees
// with the scene: the last draw there is the last object drawn there; with the depth test the
// nearest one passes and nothing after it does, without it none is tested; the colour written
// is the scene's; on the floor, the depth stored is the one its ray gives.
::testing::AssertionResult agrees(const SceneOracle& nearest, const SceneOracle& last,
                                  const View& view, int x, int y) {
  const PixelHistory h = pixelHistory(x, kHeight - 1 - y);
  const Seen front = nearest.at(x, y), top = last.at(x, y);
  auto fail = [&]() {
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): ";
  };
  int lastDrawn = -1;
  for (std::size_t d = 0; d < h.draws.size(); ++d) {
    if (!h.draws[d].fragments.empty()) lastDrawn = static_cast<int>(d);
    for (const Fragment& f : h.draws[d].fragments)
      if ((f.verdict == Fragment::noTest) == view.depthTest)
        return fail() << "draw " << d << " has verdict " << f.verdict;
  }
  if (lastDrawn != drawOf(top.object))
    return fail() << "last drawn by draw " << lastDrawn << ", not " << drawOf(top.object);
  int writer = -1;
  const Fragment* written = h.written(&writer);
  if (writer != drawOf(front.object))
    return fail() << "written by draw " << writer << ", not " << drawOf(front.object);
  if (!written) return ::testing::AssertionSuccess();
  const double tolerance = facts::kPixelSteps / 255.0;
  const double expected[3] = {front.colour.r, front.colour.g, front.colour.b};
  for (std::size_t k = 0; k < 3; ++k)
    if (std::fabs(written->colour[k] - expected[k]) > tolerance)
      return fail() << "channel " << k << " is " << written->colour[k] << ", not " << expected[k];
  double depth = 0;
  if (view.depthTest && front.object == Seen::kFloor && floorDepth(x, y, kWidth, kHeight, &depth) &&
      std::fabs(written->depth - depth) > facts::kDepthSteps24 * kDepthStep)
    return fail() << "floor depth " << written->depth << ", not " << depth;
  return ::testing::AssertionSuccess();
}

TEST_F(WebHistory, AgreesWithTheSceneInEveryStateOfTheTour) {
  View view;
  for (const facts::Stop& stop : facts::kTour) {
    SCOPED_TRACE(stop.file);
    if (stop.key) {
      keyboard(static_cast<unsigned char>(stop.key), 0, 0);
      view = afterKey(view, stop.key);
    }
    display();
    View unordered = view;
    unordered.depthTest = false;
    const SceneOracle nearest{view}, last{unordered};
    for (const facts::Landmark& landmark : facts::kLandmarks)
      EXPECT_TRUE(agrees(nearest, last, view, landmark.at.x, landmark.at.y)) << landmark.name;
    int checked = 0;
    for (int y = 3; y < kHeight; y += 13)
      for (int x = 3; x < kWidth; x += 13) {
        // Where one object fills the pixel and its neighbours, whichever is drawn last.
        const int steps = static_cast<int>(facts::kPixelSteps);
        if (!nearest.smoothAt(x, y, steps) || !last.smoothAt(x, y, steps)) continue;
        ++checked;
        EXPECT_TRUE(agrees(nearest, last, view, x, y));
      }
    EXPECT_GT(checked, 300);
  }
}

// The floor and the grey teapot drawn a second time where they stand: every fragment meets
// exactly the depth it left, and GL_LESS lets none of them through.
TEST_F(WebHistory, ADrawAtTheStoredDepthFailsTheDepthTest) {
  display();
  const facts::Vec3 eye = facts::kEye, target = facts::kTarget, up = facts::kUp;
  glLoadIdentity();
  gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, up.x, up.y, up.z);
  const double y = facts::kFloor.y, h = facts::kFloor.halfSize;
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3d(h, y, -h);
  glVertex3d(h, y, h);
  glVertex3d(-h, y, -h);
  glVertex3d(-h, y, h);
  glEnd();
  const facts::Teapot& grey = facts::kTeapots[0];
  glTranslatef(static_cast<float>(grey.at.x), static_cast<float>(grey.at.y),
               static_cast<float>(grey.at.z));
  glutSolidTeapot(grey.size);
  ASSERT_EQ(web::probe::frameRecord().draws.size(), 6u);

  const SceneOracle scene{View{}};
  int again = 0;
  for (int py = 0; py < kHeight; py += 7)
    for (int px = 0; px < kWidth; px += 7) {
      const int object = scene.at(px, py).object;
      if (object != Seen::kFloor && object != 0) continue;
      const PixelHistory hist = pixelHistory(px, kHeight - 1 - py);
      int writer = -1;
      const Fragment* stored = hist.written(&writer);
      ASSERT_TRUE(stored) << px << ", " << py;
      const DrawHistory& second = hist.draws[object == Seen::kFloor ? 4 : 5];
      for (const Fragment& f : second.fragments) {
        EXPECT_EQ(f.verdict, Fragment::failed) << "pixel (" << px << ", " << py << ")";
        again += f.depth == stored->depth ? 1 : 0;
      }
    }
  EXPECT_GT(again, 1000) << "too few fragments met the stored depth exactly";
}

// Where this GPU brings other codes than the exact depths give (as single-precision
// interpolation and the conversion to codes may), the history follows the GPU's: a draw's code
// after it is the least of the one before and the code it brings, each verdict is GL_LESS
// between those codes, and the last fragment to write depth holds what the buffer keeps. In
// a 16-bit buffer with the near plane at 0.0001, where the grey teapot's foot and the floor
// share codes, the teapot brought one code lower wins there, against its exact depth.
TEST_F(WebHistory, VerdictsFollowTheCodesTheGpuBrings) {
  zbv_gl_depth_format(16, 0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(facts::kFovyDegrees, 1, 0.0001, facts::kFar);
  browser().offset = -1;
  browser().offsetDraw = 1;  // the grey teapot
  browser().every = 1;
  display();
  int flipped = 0, checked = 0;
  for (int y = 0; y < kHeight; y += 3)
    for (int x = 0; x < kWidth; x += 3) {
      const PixelHistory h = pixelHistory(x, y);
      long long held = 65535;
      for (const DrawHistory& d : h.draws) {
        ASSERT_EQ(d.before, held) << x << ", " << y;
        const long long brings = d.brought >= 0 ? static_cast<long long>(d.brought) : held;
        held = d.depthTest ? std::min(held, brings) : held;
        ASSERT_EQ(d.after, held) << x << ", " << y;
        for (const Fragment& f : d.fragments) {
          EXPECT_EQ(f.verdict, f.code < f.before ? Fragment::passed : Fragment::failed);
          flipped += f.gpuCode && f.verdict == Fragment::passed && f.exactCode >= f.before;
        }
      }
      ASSERT_EQ(h.stored, double(held)) << x << ", " << y;
      int writer = -1;
      const Fragment* written = h.written(&writer);
      if (written) {
        EXPECT_EQ(written->code, held) << x << ", " << y;
      }
      ++checked;
    }
  EXPECT_GT(checked, 9000);
  // Ties the exact depths would fail, won by the GPU's lower code.
  EXPECT_GT(flipped, 20);
  zbv_gl_depth_format(24, 0);
}

// Random triangles in front of, across and behind the near and far planes: wherever a pixel
// lies, the history finds a triangle covering it exactly where the reference rasteriser does
// (with the vertices snapped to the sub-pixel grid), and gives the depth the triangle's plane
// has on the pixel's ray.
TEST_F(WebHistory, CoverageAndDepthAtTheNearAndFarPlanesAndSubpixelEdges) {
  constexpr int kSize = 48;
  constexpr double kNear = 1, kFar = 10, kFovy = 60;
  std::mt19937 random(7);
  auto uniform = [&](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random);
  };
  int snapped = 0, clipped = 0;
  for (int bits : {4, 8}) {
    browser().subpixelBits = bits;
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFovy, 1, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Eye-space corners, each at a depth from half the near plane to beyond the far one.
    std::vector<std::array<facts::Vec3, 3>> corners(60);
    for (auto& triangle : corners) {
      glBegin(GL_TRIANGLES);
      for (facts::Vec3& c : triangle) {
        const double depth = uniform(kNear / 2, kFar * 1.3);
        c = {uniform(-0.7, 0.7) * depth, uniform(-0.7, 0.7) * depth, -depth};
        glVertex3d(c.x, c.y, c.z);
      }
      glEnd();
    }
    const auto& draws = web::probe::frameRecord().draws;
    ASSERT_EQ(draws.size(), corners.size());
    Raster raster{{0, 0, kSize, kSize}, bits};
    Raster unsnapped = raster;
    unsnapped.subpixelBits = -1;
    const double tanHalf = std::tan(kFovy * M_PI / 360);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const PixelHistory h = pixelHistory(x, y);
        // The pixel centre's ray from the eye, at eye depth 1.
        const facts::Vec3 ray{(2 * (x + 0.5) / kSize - 1) * tanHalf,
                              (2 * (y + 0.5) / kSize - 1) * tanHalf, -1};
        for (std::size_t d = 0; d < draws.size(); ++d) {
          std::array<ClipVertex, 3> clip;
          for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t k = 0; k < 4; ++k) clip[i][k] = draws[d].primitive.vertices[i].clip[k];
          const bool covers = rasterCovers(raster, clip, x, y);
          snapped += covers != rasterCovers(unsnapped, clip, x, y) ? 1 : 0;
          const auto& found = h.draws[d].fragments;
          ASSERT_EQ(found.size(), covers ? 1u : 0u)
              << "triangle " << d << ", pixel (" << x << ", " << y << "), " << bits << " bits";
          if (!covers) continue;
          const auto& c = corners[d];
          const facts::Vec3 n = cross(c[1] - c[0], c[2] - c[0]);
          const double eyeDepth = dot(n, c[0]) / dot(n, ray);
          const double ndc =
              (kFar + kNear) / (kFar - kNear) - 2 * kFar * kNear / ((kFar - kNear) * eyeDepth);
          // Found where snapping moved a cut edge past the pixel, it is clamped to the range.
          const double expected = std::clamp((ndc + 1) / 2, 0.0, 1.0);
          // Cut by a plane, the triangle is found unsnapped: its depth is its plane's. (Whole
          // ones are snapped first, which moves their depth by a fraction of a pixel's step.)
          const bool across = c[0].z > -kNear || c[1].z > -kNear || c[2].z > -kNear ||
                              c[0].z < -kFar || c[1].z < -kFar || c[2].z < -kFar;
          if (!across) continue;
          ++clipped;
          EXPECT_NEAR(found[0].depth, expected, 1e-5) << "triangle " << d;
        }
      }
  }
  // The cases that matter did occur: coverage that snapping changes, clipped triangles, and
  // pixels near their cut edges, decided by what the rasteriser keeps.
  EXPECT_GT(snapped, 0);
  EXPECT_GT(clipped, 1000);
  EXPECT_GT(browser().broughtAsked, 0);
}

// The page's "show the frame only up to draw N": the renderer gets the clear and the first N
// draws, the record all of them, and the capture the shown ones.
TEST_F(WebHistory, AFrameStoppedAfterADrawReachesTheRendererUpToIt) {
  using Kind = web::gl::RecordedCall::Kind;
  for (int shown : {0, 2, -1}) {
    SCOPED_TRACE(shown);
    const int posted = browser().redisplays, captured = browser().captureDraws;
    zbv_frame_show_draws(shown);
    EXPECT_EQ(browser().redisplays, posted + 1);
    display();
    const int all = static_cast<int>(web::probe::frameRecord().draws.size());
    const int expected = shown < 0 ? all : shown;
    EXPECT_EQ(all, 4);
    EXPECT_EQ(web::gl::recordedSinceClear(Kind::draw), expected);
    EXPECT_EQ(zbv_frame_draws_shown(), expected);
    EXPECT_EQ(browser().captureDraws - captured, expected);
    EXPECT_EQ(pixelHistory(0, 0).shown, expected);
  }
  keyboard('2', 0, 0);
  display();
  EXPECT_EQ(zbv_frame_draws_testing_depth(), 0);
}

}  // namespace
}  // namespace zbv::test
