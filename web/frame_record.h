// SPDX-License-Identifier: MIT
// The frame as it is drawn: the clear and every draw since, each with its vertices as they
// left per-vertex processing and the GL state it was drawn under. WebGL is given the clear
// and the first draws up to a limit (all of them unless the page asks to see the frame
// stopped after an earlier draw), into the picture and into the depth target beside it.
#ifndef WEB_FRAME_RECORD_H
#define WEB_FRAME_RECORD_H

#include <cstdint>
#include <vector>

#include "gl_context.h"

namespace zbv::web {

struct Draw {
  GLenum mode = GL_TRIANGLES;
  bool depthTest = false, cullFace = false, lighting = false;
  GLenum cullMode = GL_BACK, frontFace = GL_CCW;
  std::vector<Vertex> vertices;
  std::vector<std::uint32_t> order;  // the vertices in the order the primitive takes them
};

struct FrameRecord {
  bool colourCleared = false, depthCleared = false;
  Vec4 clearColour{0, 0, 0, 0};
  GLint viewport[4] = {0, 0, 0, 0};
  Mat4 projection = Context::identity();
  std::vector<Draw> draws;
};

const FrameRecord& frameRecord();

// A glClear: the start of a new frame, given to WebGL.
void beginFrame(GLbitfield mask);

// A primitive of the frame: recorded, and drawn unless the limit stops it.
void submitDraw(GLenum mode, std::vector<Vertex> vertices, std::vector<std::uint32_t> order);

// The vertex appended to `out` as WebGL draws it: kVertexFloats floats (webgl.h).
void appendForWebgl(std::vector<float>& out, const Vertex& v);

// How many draws of each frame WebGL is given; negative for all of them.
int drawLimit();

}  // namespace zbv::web

#endif  // WEB_FRAME_RECORD_H
