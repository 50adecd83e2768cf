// SPDX-License-Identifier: MIT
// What the GL layer asks of the rasteriser beneath it: the clear, the two tests it applies
// itself (depth and culling), the viewport, and primitives of processed vertices. In a
// browser that is WebGL (webgl.h); natively, a renderer that keeps the calls.
#ifndef WEB_GL_RENDERER_H
#define WEB_GL_RENDERER_H

#include <vector>

#include "gl/core.h"

namespace zbv::web::gl {

// A vertex as the renderer draws it: clip coordinates (x, y, z, w), then its colour (red,
// green, blue, alpha), all floats.
inline constexpr int kClipFloats = 4;
inline constexpr int kColourFloats = 4;
inline constexpr int kVertexFloats = kClipFloats + kColourFloats;

// The vertex written at `out` as the renderer takes it, kVertexFloats floats; the place after
// them returned.
float* writeForRenderer(float* out, const Vertex& v);

// One entry for each call; enumerations are OpenGL's (and WebGL's) numbers. A table of plain
// functions, so that a renderer may be the browser's imports themselves.
struct Renderer {
  void (*clearColour)(float red, float green, float blue, float alpha);
  void (*clear)(unsigned mask);
  // GL_DEPTH_TEST or GL_CULL_FACE switched on (1) or off (0).
  void (*capability)(unsigned cap, int on);
  void (*cullFace)(unsigned mode);
  void (*frontFace)(unsigned mode);
  void (*viewport)(int x, int y, int width, int height);
  // A primitive (GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN) of count vertices, each of
  // kVertexFloats floats, in the order the primitive takes them.
  void (*draw)(unsigned mode, const float* vertices, int count);
};

// The renderer the context draws through from now on; null, none (calls go nowhere).
void setRenderer(const Renderer* renderer);
const Renderer* renderer();

}  // namespace zbv::web::gl

#endif  // WEB_GL_RENDERER_H
