// SPDX-License-Identifier: MIT
// The frame as it is drawn: the clear and every draw since, each with its vertices as they
// left per-vertex processing and the GL state it was drawn under, watched through the GL
// layer's hooks. The renderer is given the clear and the first draws up to a limit (all of
// them unless the page asks to see the frame stopped after an earlier draw); the capture
// (capture.h) hears of the same, and of the frame's end.
#ifndef WEB_PROBE_FRAME_RECORD_H
#define WEB_PROBE_FRAME_RECORD_H

#include <cstdint>
#include <vector>

#include "gl/hooks.h"

namespace zbv::web::probe {

struct Draw {
  gl::Primitive primitive;
  bool depthTest = false, cullFace = false, lighting = false;
  GLenum cullMode = GL_BACK, frontFace = GL_CCW;
  bool shown = false;  // given to the renderer
  // A hash of what decides where the draw stands in the depth buffer: its mode, vertices'
  // clip coordinates and order, its culling and the viewport.
  std::uint32_t hash = 0;
};

struct FrameRecord {
  bool colourCleared = false, depthCleared = false;
  gl::Vec4 clearColour{0, 0, 0, 0};
  GLint viewport[4] = {0, 0, 0, 0};
  gl::Mat4 projection = gl::Context::identity();
  // The near and far planes of the projection, as the program (or the lab) asked for them;
  // where the projection came from no perspective call, recovered from its matrix.
  double zNear = 0, zFar = 0;
  std::vector<Draw> draws;
};

// A hash of what decides the frame's depth buffer: the shown draws that test depth, in
// order, and whether depth was cleared.
std::uint32_t depthHash(const FrameRecord& r);

const FrameRecord& frameRecord();

// Registers the hooks that keep the record and apply the limit: from now on every clear
// starts a new record.
void watchFrames();
// The frame is drawn: the capture is told (GLUT's frame end).
void frameEnded();

// How many draws of each frame the renderer is given; negative for all of them.
int drawLimit();

}  // namespace zbv::web::probe

// Called by the page's script.
extern "C" {

// The renderer gets the first `count` draws of each frame from now on (all of them when
// negative), and the frame is drawn again.
void zbv_frame_show_draws(int count);
// How many draws of the frame last drawn the renderer was given, and how many of those had
// the depth test on (and so wrote depth).
int zbv_frame_draws_shown();
int zbv_frame_draws_testing_depth();
}

#endif  // WEB_PROBE_FRAME_RECORD_H
