// SPDX-License-Identifier: MIT
#include "web_stand_in.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "gl/context.h"
#include "gl/depth.h"
#include "gl/recording_renderer.h"
#include "glut/window.h"
#include "probe/capture.h"
#include "probe/coverage.h"
#include "probe/frame_record.h"
#include "scene_facts.h"
#include "viewer.h"
#include "web_rasteriser.h"

namespace zbv::test {

BrowserCalls& browser() {
  static BrowserCalls calls;
  return calls;
}

void startViewer() {
  namespace gl = web::gl;
  gl::context() = gl::Context();
  zbv_gl_depth_format(24, 0);
  gl::setRenderer(&gl::recordingRenderer());
  gl::forgetRecordedCalls();
  web::probe::watchFrames();
  zbv_frame_show_draws(-1);
  init();
  reshape(facts::kWidth, facts::kHeight);
  browser() = BrowserCalls();
}

namespace {

// A draw's triangles with the window's box each covers (where all its corners lie in front of
// the eye; else the whole window), made once for each draw the record holds.
struct Boxed {
  std::uint32_t tri[3];
  double lo[2], hi[2];
};
const std::vector<Boxed>& boxes(std::size_t k) {
  static std::vector<std::pair<std::uint32_t, std::vector<Boxed>>> cache;
  const auto& r = web::probe::frameRecord();
  const auto& d = r.draws[k];
  if (cache.size() <= k) cache.resize(k + 1);
  if (!cache[k].second.empty() && cache[k].first == d.hash) return cache[k].second;
  cache[k] = {d.hash, {}};
  Boxed b{};
  for (std::size_t t = 0; web::probe::triangle(d.primitive, t, b.tri); ++t) {
    b.lo[0] = b.lo[1] = -1e30;
    b.hi[0] = b.hi[1] = 1e30;
    bool ahead = true;
    for (std::uint32_t i : b.tri) ahead = ahead && d.primitive.vertices[i].clip[3] > 0;
    if (ahead) {
      for (std::size_t c = 0; c < 2; ++c) {
        b.lo[c] = 1e30;
        b.hi[c] = -1e30;
        for (std::uint32_t i : b.tri) {
          const auto& p = d.primitive.vertices[i].clip;
          const double at =
              r.viewport[c] + (double(p[c]) / double(p[3]) + 1) * r.viewport[c + 2] / 2;
          b.lo[c] = std::min(b.lo[c], at - 1);
          b.hi[c] = std::max(b.hi[c], at + 1);
        }
      }
    }
    cache[k].second.push_back(b);
  }
  return cache[k].second;
}

// What draw k leaves at pixel (x, y) as the stand-in GPU computes it: of its triangles that
// the reference rasteriser says cover the pixel, the nearest (with the depth test off, the
// last), its code from its depth as the probe finds it there plus the offset where one is
// set, and the number of its last vertex in the order the renderer was given them; code -1
// for none.
struct Kept {
  std::int64_t code = -1;
  std::int64_t vertex = -1;
};
Kept kept(std::size_t k, int x, int y) {
  const auto& r = web::probe::frameRecord();
  const auto& d = r.draws[k];
  Raster raster;
  for (std::size_t i = 0; i < 4; ++i) raster.viewport[i] = r.viewport[i];
  raster.subpixelBits = browser().subpixelBits;
  raster.cull = d.cullFace;
  raster.cullMode = d.cullMode;
  raster.frontFace = d.frontFace;
  const double snap = double(1 << browser().subpixelBits), px = x + 0.5, py = y + 0.5;
  Kept best;
  std::size_t t = 0;
  for (const Boxed& b : boxes(k)) {
    const std::size_t at = t++;
    if (px < b.lo[0] || px > b.hi[0] || py < b.lo[1] || py > b.hi[1]) continue;
    std::array<ClipVertex, 3> clip;
    const web::gl::Vec4* v[3];
    for (std::size_t i = 0; i < 3; ++i) {
      v[i] = &d.primitive.vertices[b.tri[i]].clip;
      for (std::size_t c = 0; c < 4; ++c) clip[i][c] = (*v[i])[c];
    }
    if (!rasterCovers(raster, clip, x, y)) continue;
    web::probe::Hit hit{};
    if (web::probe::covers(d, r, v, px, py, snap, &hit) == web::probe::Cover::no) continue;
    const std::int64_t code = web::gl::depthCode(hit.depth);
    if (best.code >= 0 && d.depthTest && code >= best.code) continue;
    best.code = code;
    // The renderer is given the triangle's vertices in order: its last is the 3t + 2nd of a
    // list of triangles, the t + 2nd of a strip or a fan.
    best.vertex = std::int64_t(d.primitive.mode == GL_TRIANGLES ? 3 * at + 2 : at + 2);
  }
  const int only = browser().offsetDraw;
  if (best.code >= 0 && browser().every > 0 && (x + y) % browser().every == 0 &&
      (only < 0 || std::size_t(only) == k))
    best.code = std::max<std::int64_t>(0, best.code + browser().offset);
  return best;
}

}  // namespace

}  // namespace zbv::test

using zbv::test::browser;

extern "C" {

// GLUT: the window's calls the viewer makes in its callbacks.
void glutSolidTeapot(GLdouble size) {
  zbv::web::glut::solidTeapot(size);
}
void glutSwapBuffers(void) {}
void glutPostRedisplay(void) {
  ++browser().redisplays;
}

// The capture.
void zbv_capture_clear(unsigned /*mask*/) {}
void zbv_capture_draw(int /*index*/, unsigned /*mode*/, int /*count*/, std::uint32_t /*hash*/,
                      int /*depthTest*/) {
  ++browser().captureDraws;
}
void zbv_capture_frame_end(std::uint32_t /*depthHash*/) {}

double zbv_capture_brought(int index, int x, int y) {
  ++browser().broughtAsked;
  return browser().known ? double(zbv::test::kept(std::size_t(index), x, y).code) : -2;
}

double zbv_capture_vertex(int index, int x, int y) {
  return browser().known ? double(zbv::test::kept(std::size_t(index), x, y).vertex) : -2;
}

// The buffer after the frame: the least code the shown draws that test depth bring, or the
// cleared one.
double zbv_capture_stored(int x, int y) {
  if (!browser().known) return -2;
  const auto& draws = zbv::web::probe::frameRecord().draws;
  std::int64_t held = zbv::web::gl::depthCode(1.0);
  for (std::size_t k = 0; k < draws.size(); ++k) {
    if (!draws[k].shown || !draws[k].depthTest) continue;
    const std::int64_t code = zbv::test::kept(k, x, y).code;
    if (code >= 0) held = std::min(held, code);
  }
  return double(held);
}

int zbv_capture_subpixel_bits() {
  return browser().subpixelBits;
}

}  // extern "C"
