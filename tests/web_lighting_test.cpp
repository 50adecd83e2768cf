// SPDX-License-Identifier: MIT
// The web GL's per-vertex lighting against Mesa's own fixed-function lighting: both are given
// the same random lights, materials, matrices, normals and switches, within what the web GL
// implements, and Mesa's lit colours are read back through feedback mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gl/core.h"
#include "glut.h"
#include "in_window.h"
#include "web_random.h"

namespace zbv::test {
namespace {

namespace ours = zbv::web::gl;

// Each call made on both contexts, Mesa's and the web GL's.
void switchBoth(GLenum cap, bool on) {
  if (on) {
    glEnable(cap);
    ours::enable(cap);
  } else {
    glDisable(cap);
    ours::disable(cap);
  }
}
void lightBoth(GLenum light, GLenum pname, const std::array<float, 4>& v) {
  glLightfv(light, pname, v.data());
  ours::light(light, pname, v.data());
}
void materialBoth(GLenum face, GLenum pname, const std::array<float, 4>& v) {
  glMaterialfv(face, pname, v.data());
  ours::material(face, pname, v.data());
}
void modelviewBoth(const std::array<float, 16>& m) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMultMatrixf(m.data());
  ours::matrixMode(GL_MODELVIEW);
  ours::loadIdentity();
  ours::multMatrix(m.data());
}

// What Mesa makes of these vertices: their colours as feedback mode reports them.
std::vector<std::array<float, 4>> mesaColours(const std::vector<ours::Vec3>& positions,
                                              const std::vector<ours::Vec3>& normals) {
  std::vector<GLfloat> buffer(positions.size() * 8 + 8);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glBegin(GL_POINTS);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    glNormal3fv(normals[i].data());
    glVertex3fv(positions[i].data());
  }
  glEnd();
  const GLint n = glRenderMode(GL_RENDER);
  std::vector<std::array<float, 4>> colours;
  for (GLint i = 0; i + 7 < n; i += 8) {
    if (buffer[static_cast<std::size_t>(i)] != GL_POINT_TOKEN) break;
    const GLfloat* c = &buffer[static_cast<std::size_t>(i) + 4];
    colours.push_back({c[0], c[1], c[2], c[3]});
  }
  return colours;
}

class WebLighting : public InWindow {};

TEST_F(WebLighting, MatchesMesaForRandomLightsMaterialsMatricesAndSwitches) {
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (renderer && std::strstr(renderer, "softpipe")) {
    GTEST_SKIP() << "Mesa's softpipe crashes in feedback mode; run this on another renderer";
  }
  // Every eye-space point below lies well inside this box.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1000, 1000, -1000, 1000, -1000, 1000);

  Random random(2026);
  double worst = 0;
  // Mesa makes a program of its own for each set of switches (which lights are on, and
  // positional or directional; lighting; GL_NORMALIZE), which takes a while: ten of those,
  // each with 32 sets of random values.
  std::array<bool, 8> positional{};
  for (int round = 0; round < 320; ++round) {
    SCOPED_TRACE(round);
    if (const int switches = round / 32; round % 32 == 0) {
      switchBoth(GL_LIGHTING, switches % 5 != 4);
      switchBoth(GL_NORMALIZE, switches % 2 == 0);
      for (std::size_t i = 0; i < 8; ++i) {
        switchBoth(GL_LIGHT0 + static_cast<GLenum>(i), random.chance(0.4));
        positional[i] = random.chance(0.5);
      }
    }
    const auto current = random.colour();
    glColor3f(current[0], current[1], current[2]);
    ours::color(current[0], current[1], current[2]);

    // Lights are placed under one model-view matrix, vertices drawn under another.
    modelviewBoth(random.affine(0.5, 2, random.chance(0.5), 20));
    for (std::size_t i = 0; i < 8; ++i) {
      const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
      lightBoth(light, GL_AMBIENT, random.colour());
      lightBoth(light, GL_DIFFUSE, random.colour());
      lightBoth(light, GL_SPECULAR, random.chance(0.5) ? random.colour() : std::array<float, 4>{});
      lightBoth(
          light, GL_POSITION,
          {random.f(-30, 30), random.f(-30, 30), random.f(-30, 30), positional[i] ? 1.0f : 0.0f});
    }
    // One-sided lighting shows the front material alone, whatever the back one holds.
    materialBoth(GL_BACK, GL_DIFFUSE, random.colour());
    const GLenum face = random.chance(0.5) ? GL_FRONT : GL_FRONT_AND_BACK;
    materialBoth(face, GL_AMBIENT, random.colour());
    materialBoth(face, GL_DIFFUSE, random.colour());
    materialBoth(face, GL_SPECULAR, random.chance(0.7) ? random.colour() : std::array<float, 4>{});
    const auto emission = random.colour();
    materialBoth(face, GL_EMISSION,
                 random.chance(0.3)
                     ? std::array<float, 4>{emission[0] / 3, emission[1] / 3, emission[2] / 3, 1}
                     : std::array<float, 4>{0, 0, 0, 1});
    const std::array<float, 4> shininess{random.chance(0.1) ? 0 : random.f(0, 128)};
    materialBoth(face, GL_SHININESS, shininess);

    modelviewBoth(random.affine(0.5, 2, random.chance(0.5), 20));
    std::vector<ours::Vec3> positions, normals;
    for (int i = 0; i < 6; ++i) {
      positions.push_back({random.f(-10, 10), random.f(-10, 10), random.f(-10, 10)});
      // Of any length, which counts without GL_NORMALIZE; there, short enough that no
      // highlight outgrows a float after the matrix (which may lengthen it twice over).
      const float len = random.f(0.3, ours::isEnabled(GL_NORMALIZE) ? 2 : 0.75);
      ours::Vec3 n{random.f(-1, 1), random.f(-1, 1), random.f(-1, 1)};
      const float norm = std::max(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1e-3f);
      for (float& c : n) c *= len / norm;
      normals.push_back(n);
    }
    const auto theirs = mesaColours(positions, normals);
    ASSERT_EQ(theirs.size(), positions.size()) << "Mesa's feedback lost points";
    for (std::size_t i = 0; i < positions.size(); ++i) {
      const ours::Vec4 lit = ours::processVertex(positions[i], normals[i]).colour;
      for (std::size_t k = 0; k < 4; ++k) {
        const double e = std::fabs(lit[k] - theirs[i][k]);
        worst = std::max(worst, e);
        EXPECT_LT(e, 1e-4) << "vertex " << i << ", channel " << k << ": Mesa " << theirs[i][k]
                           << ", web " << lit[k];
      }
    }
    if (HasFailure()) break;
  }
  RecordProperty("worst", std::to_string(worst));
}

}  // namespace
}  // namespace zbv::test
