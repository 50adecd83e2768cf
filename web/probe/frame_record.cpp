// SPDX-License-Identifier: MIT
#include "frame_record.h"

#include <GL/freeglut.h>

#include <utility>

#include "depth_target.h"
#include "export.h"

namespace zbv::web::probe {

namespace {

FrameRecord& record() {
  static FrameRecord r;
  return r;
}

int limit = -1;

// A glClear: the start of a new frame; the depth target is cleared with the depth buffer.
void cleared(GLbitfield mask, const gl::Context& c) {
  FrameRecord& r = record();
  r.colourCleared = (mask & GL_COLOR_BUFFER_BIT) != 0;
  r.depthCleared = (mask & GL_DEPTH_BUFFER_BIT) != 0;
  r.clearColour = c.clearColour;
  for (int i = 0; i < 4; ++i) r.viewport[i] = c.viewport[i];
  r.draws.clear();
  zbv_depth_clear(mask);
}

// The first draws of the frame up to the limit reach the renderer.
bool shown(const gl::Primitive& /*primitive*/, const gl::Context& /*c*/) {
  return limit < 0 || static_cast<int>(record().draws.size()) < limit;
}

// A primitive of the frame, drawn or not: recorded, and drawn into the depth target too.
void drawn(gl::Primitive&& p, const gl::Context& c, bool onScreen) {
  FrameRecord& r = record();
  // The projection the frame's vertices went through, for the distances the depths stand for.
  r.projection = c.projection;
  // With the depth test off, OpenGL writes no depth: the target keeps what it held.
  if (onScreen && c.depthTest) zbv_depth_draw(p.mode, static_cast<int>(p.order.size()));
  Draw d;
  d.primitive = std::move(p);
  d.depthTest = c.depthTest;
  d.cullFace = c.cullFace;
  d.lighting = c.lighting;
  d.cullMode = c.cullMode;
  d.frontFace = c.frontFace;
  r.draws.push_back(std::move(d));
}

}  // namespace

const FrameRecord& frameRecord() {
  return record();
}

int drawLimit() {
  return limit;
}

void watchFrames() {
  gl::onClear(cleared);
  gl::gateDraws(shown);
  gl::onDraw(drawn);
}

}  // namespace zbv::web::probe

extern "C" {

ZBV_EXPORT void zbv_frame_show_draws(int count) {
  zbv::web::probe::limit = count;
  glutPostRedisplay();
}

ZBV_EXPORT int zbv_frame_draws_shown() {
  const int all = static_cast<int>(zbv::web::probe::frameRecord().draws.size());
  return zbv::web::probe::limit < 0 || zbv::web::probe::limit > all ? all : zbv::web::probe::limit;
}

ZBV_EXPORT int zbv_frame_draws_testing_depth() {
  const auto& draws = zbv::web::probe::frameRecord().draws;
  int n = 0;
  for (int i = 0; i < zbv_frame_draws_shown(); ++i)
    n += draws[static_cast<std::size_t>(i)].depthTest ? 1 : 0;
  return n;
}

}  // extern "C"
