// SPDX-License-Identifier: MIT
// The web GL's matrices against the ones Mesa's GL and GLU leave: the same random sequence of
// matrix calls on both, both matrices compared after every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gl/core.h"
#include "glut.h"
#include "in_window.h"
#include "web_random.h"

namespace zbv::test {
namespace {

namespace ours = zbv::web::gl;

// Whether Mesa's current matrix of this mode and ours are alike, relative to their size.
::testing::AssertionResult alike(GLenum mode) {
  GLfloat theirs[16];
  glGetFloatv(mode == GL_PROJECTION ? GL_PROJECTION_MATRIX : GL_MODELVIEW_MATRIX, theirs);
  const ours::Mat4& mine = ours::matrix(mode);
  double size = 1, worst = 0;
  for (std::size_t i = 0; i < 16; ++i) {
    size = std::max(size, std::fabs(double(theirs[i])));
    worst = std::max(worst, std::fabs(double(theirs[i]) - mine[i]));
  }
  if (worst <= 1e-5 * size) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure() << "off by " << worst << ":";
  for (std::size_t i = 0; i < 16; ++i) failure << " " << theirs[i] << "/" << mine[i];
  return failure;
}

// Both matrices of both contexts the identity, the model-view one current.
void identityBoth() {
  for (GLenum mode : {GLenum{GL_PROJECTION}, GLenum{GL_MODELVIEW}}) {
    glMatrixMode(mode);
    glLoadIdentity();
    ours::matrixMode(mode);
    ours::loadIdentity();
  }
}

class WebMatrices : public InWindow {};

TEST_F(WebMatrices, MatchMesasAfterRandomMatrixCalls) {
  Random random(1987);
  identityBoth();
  for (int step = 0; step < 2000; ++step) {
    const double pick = random(0, 1);
    std::string call;
    if (pick < 0.15) {
      // Now and then a mode neither has: an error, and the mode stays.
      const GLenum mode = random.chance(0.1) ? GL_MODELVIEW + 7
                                             : (random.chance(0.5) ? GL_MODELVIEW : GL_PROJECTION);
      glMatrixMode(mode);
      ours::matrixMode(mode);
      call = "glMatrixMode " + std::to_string(mode);
    } else if (pick < 0.25) {
      glLoadIdentity();
      ours::loadIdentity();
      call = "glLoadIdentity";
    } else if (pick < 0.45) {
      const float x = random.f(-50, 50), y = random.f(-50, 50), z = random.f(-50, 50);
      glTranslatef(x, y, z);
      ours::translate(x, y, z);
      call = "glTranslatef";
    } else if (pick < 0.6) {
      const auto m = random.affine(0.2, 3, random.chance(0.5), 20);
      glMultMatrixf(m.data());
      ours::multMatrix(m.data());
      call = "glMultMatrixf";
    } else if (pick < 0.8) {
      // Flat views, empty depth ranges and no width now and then: both leave the matrix.
      const double fovy = random.chance(0.05) ? 0 : random(1, 179);
      const double aspect = random.chance(0.05) ? 0 : random(0.1, 5);
      const double zNear = random(0.01, 10);
      const double zFar = random.chance(0.05) ? zNear : zNear + random(0.1, 1000);
      gluPerspective(fovy, aspect, zNear, zFar);
      ours::perspective(fovy, aspect, zNear, zFar);
      call = "gluPerspective";
    } else {
      double v[9];
      for (double& c : v) c = random(-20, 20);
      gluLookAt(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
      ours::lookAt(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
      call = "gluLookAt";
    }
    SCOPED_TRACE("step " + std::to_string(step) + ": " + call);
    ASSERT_EQ(ours::getError(), glGetError());
    ASSERT_TRUE(alike(GL_MODELVIEW));
    ASSERT_TRUE(alike(GL_PROJECTION));
    // Products of many calls outgrow a float's precision: start again from the identity.
    if (step % 5 == 4) identityBoth();
  }
}

}  // namespace
}  // namespace zbv::test
