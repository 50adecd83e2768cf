// SPDX-License-Identifier: MIT
#include "web_stand_in.h"

#include <GL/freeglut.h>

#include "gl/context.h"
#include "gl/recording_renderer.h"
#include "glut/window.h"
#include "probe/depth_target.h"
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
  gl::setRenderer(&gl::recordingRenderer());
  gl::forgetRecordedCalls();
  web::probe::watchFrames();
  zbv_frame_show_draws(-1);
  init();
  reshape(facts::kWidth, facts::kHeight);
  browser() = BrowserCalls();
}

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

// The depth target: only counted.
void zbv_depth_clear(unsigned /*mask*/) {}
void zbv_depth_draw(unsigned /*mode*/, int /*count*/) {
  ++browser().depthDraws;
}
void zbv_depth_frame_end() {}

// WebGL's rasteriser, for the pixels the history cannot decide alone: three vertices as the
// renderer takes them, in the viewport GL has set.
int zbv_webgl_subpixel_bits() {
  return browser().subpixelBits;
}
int zbv_webgl_covers(const float* vertices, int x, int y, int cullFace, unsigned cullMode,
                     unsigned frontFace) {
  ++browser().coversAsked;
  zbv::test::Raster raster;
  for (std::size_t k = 0; k < 4; ++k) raster.viewport[k] = zbv::web::gl::context().viewport[k];
  raster.subpixelBits = browser().subpixelBits;
  raster.cull = cullFace != 0;
  raster.cullMode = cullMode;
  raster.frontFace = frontFace;
  std::array<zbv::test::ClipVertex, 3> triangle;
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t k = 0; k < 4; ++k)
      triangle[i][k] = vertices[i * zbv::web::gl::kVertexFloats + k];
  return zbv::test::rasterCovers(raster, triangle, x, y) ? 1 : 0;
}

}  // extern "C"
