// SPDX-License-Identifier: MIT
#include "frame_record.h"

#include <GL/freeglut.h>
#include <emscripten.h>

#include <utility>

#include "webgl.h"

namespace zbv::web {

namespace {

FrameRecord& record() {
  static FrameRecord r;
  return r;
}

int limit = -1;

}  // namespace

const FrameRecord& frameRecord() {
  return record();
}

int drawLimit() {
  return limit;
}

void appendForWebgl(std::vector<float>& out, const Vertex& v) {
  static_assert(kClipFloats == 4 && kColourFloats == 4, "a vertex as WebGL takes it");
  out.insert(out.end(), v.clip.begin(), v.clip.end());
  out.insert(out.end(), v.colour.begin(), v.colour.end());
}

void beginFrame(GLbitfield mask) {
  const Context& c = context();
  FrameRecord& r = record();
  r.colourCleared = (mask & GL_COLOR_BUFFER_BIT) != 0;
  r.depthCleared = (mask & GL_DEPTH_BUFFER_BIT) != 0;
  r.clearColour = c.clearColour;
  for (int i = 0; i < 4; ++i) r.viewport[i] = c.viewport[i];
  r.draws.clear();
  zbv_webgl_clear(mask);
  zbv_depth_clear(mask);
}

void submitDraw(GLenum mode, std::vector<Vertex> vertices, std::vector<std::uint32_t> order) {
  const Context& c = context();
  FrameRecord& r = record();
  // The projection the frame's vertices went through, for the distances the depths stand for.
  r.projection = c.projection;
  const bool shown = limit < 0 || static_cast<int>(r.draws.size()) < limit;
  if (shown) {
    std::vector<float> flat;
    flat.reserve(order.size() * kVertexFloats);
    for (std::uint32_t i : order) appendForWebgl(flat, vertices[i]);
    const int count = static_cast<int>(order.size());
    zbv_webgl_draw(mode, flat.data(), count);
    // With the depth test off, OpenGL writes no depth: the target keeps what it held.
    if (c.depthTest) zbv_depth_draw(mode, count);
  }
  Draw d;
  d.mode = mode;
  d.depthTest = c.depthTest;
  d.cullFace = c.cullFace;
  d.lighting = c.lighting;
  d.cullMode = c.cullMode;
  d.frontFace = c.frontFace;
  d.vertices = std::move(vertices);
  d.order = std::move(order);
  r.draws.push_back(std::move(d));
}

}  // namespace zbv::web

extern "C" {

// Called from the page: WebGL gets the first `count` draws of each frame from now on (all of
// them when negative), and the frame is drawn again.
EMSCRIPTEN_KEEPALIVE void zbv_frame_show_draws(int count) {
  zbv::web::limit = count;
  glutPostRedisplay();
}

// How many draws of the frame last drawn WebGL was given, and how many of those had the depth
// test on (and so wrote depth).
EMSCRIPTEN_KEEPALIVE int zbv_frame_draws_shown() {
  const int all = static_cast<int>(zbv::web::frameRecord().draws.size());
  return zbv::web::limit < 0 || zbv::web::limit > all ? all : zbv::web::limit;
}

EMSCRIPTEN_KEEPALIVE int zbv_frame_draws_testing_depth() {
  const auto& draws = zbv::web::frameRecord().draws;
  int n = 0;
  for (int i = 0; i < zbv_frame_draws_shown(); ++i)
    n += draws[static_cast<std::size_t>(i)].depthTest ? 1 : 0;
  return n;
}

}  // extern "C"
