// SPDX-License-Identifier: MIT
#include "frame_record.h"

#include <GL/freeglut.h>

#include <cstring>
#include <utility>

#include "capture.h"
#include "gl/export.h"

namespace zbv::web::probe {

namespace {

FrameRecord& record() {
  static FrameRecord r;
  return r;
}

int limit = -1;

// FNV-1a, over 32-bit words.
struct Hash {
  std::uint32_t h = 2166136261u;
  void add(std::uint32_t word) {
    for (int i = 0; i < 4; ++i) {
      h ^= (word >> (8 * i)) & 0xffu;
      h *= 16777619u;
    }
  }
  void add(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    add(bits);
  }
};

std::uint32_t hashOf(const Draw& d, const GLint* viewport) {
  Hash h;
  h.add(static_cast<std::uint32_t>(d.primitive.mode));
  h.add(static_cast<std::uint32_t>(d.cullFace ? d.cullMode : 0));
  h.add(static_cast<std::uint32_t>(d.frontFace));
  for (int i = 0; i < 4; ++i) h.add(static_cast<std::uint32_t>(viewport[i]));
  for (std::uint32_t i : d.primitive.order) {
    h.add(i);
    for (float f : d.primitive.vertices[i].clip) h.add(f);
  }
  return h.h;
}

// A glClear: the start of a new frame.
void cleared(GLbitfield mask, const gl::Context& c) {
  FrameRecord& r = record();
  r.colourCleared = (mask & GL_COLOR_BUFFER_BIT) != 0;
  r.depthCleared = (mask & GL_DEPTH_BUFFER_BIT) != 0;
  r.clearColour = c.clearColour;
  for (int i = 0; i < 4; ++i) r.viewport[i] = c.viewport[i];
  r.draws.clear();
  zbv_capture_clear(mask);
}

// The first draws of the frame up to the limit reach the renderer.
bool shown(const gl::Primitive& /*primitive*/, const gl::Context& /*c*/) {
  return limit < 0 || static_cast<int>(record().draws.size()) < limit;
}

// A primitive of the frame, drawn or not: recorded, and the capture told of one drawn.
void drawn(gl::Primitive&& p, const gl::Context& c, bool onScreen) {
  FrameRecord& r = record();
  // The projection the frame's vertices went through, for the distances the depths stand for.
  r.projection = c.projection;
  if (!gl::projectionPlanes(&r.zNear, &r.zFar)) {
    // A perspective matrix holds its planes in its third row: -(f + n) / (f - n), -2fn / (f - n).
    r.zNear = double(c.projection[14]) / (double(c.projection[10]) - 1);
    r.zFar = double(c.projection[14]) / (double(c.projection[10]) + 1);
  }
  Draw d;
  d.primitive = std::move(p);
  d.depthTest = c.depthTest;
  d.cullFace = c.cullFace;
  d.lighting = c.lighting;
  d.cullMode = c.cullMode;
  d.frontFace = c.frontFace;
  d.shown = onScreen;
  d.hash = hashOf(d, r.viewport);
  if (onScreen)
    zbv_capture_draw(static_cast<int>(r.draws.size()), d.primitive.mode,
                     static_cast<int>(d.primitive.order.size()), d.hash, d.depthTest ? 1 : 0);
  r.draws.push_back(std::move(d));
}

}  // namespace

std::uint32_t depthHash(const FrameRecord& r) {
  Hash h;
  h.add(static_cast<std::uint32_t>(r.depthCleared ? 1 : 0));
  for (const Draw& d : r.draws)
    if (d.shown && d.depthTest) h.add(d.hash);
  return h.h;
}

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

void frameEnded() {
  zbv_capture_frame_end(depthHash(record()));
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
