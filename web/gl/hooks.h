// SPDX-License-Identifier: MIT
// What a layer above the GL layer may watch and decide, without the GL layer knowing it:
// every clear, every primitive with its processed vertices and the state it was drawn under,
// whether a primitive reaches the renderer at all, and the planes a perspective projection is
// made with. One hook of each kind; registering another replaces it, null removes it.
#ifndef WEB_GL_HOOKS_H
#define WEB_GL_HOOKS_H

#include <cstdint>
#include <vector>

#include "gl/context.h"

namespace zbv::web::gl {

// A primitive as per-vertex processing leaves it: its mode, its vertices, and the order the
// primitive takes them in (indices into vertices).
struct Primitive {
  GLenum mode = GL_TRIANGLES;
  std::vector<Vertex> vertices;
  std::vector<std::uint32_t> order;
};

// After the renderer has cleared: the mask, and the state the clear was made in.
using ClearHook = void (*)(GLbitfield mask, const Context& state);
// Before a primitive reaches the renderer: false keeps it back.
using DrawGate = bool (*)(const Primitive& primitive, const Context& state);
// After the renderer has been given the primitive (drawn) or not: the primitive is the
// hook's to keep.
using DrawHook = void (*)(Primitive&& primitive, const Context& state, bool drawn);

// When a perspective projection is asked for (gluPerspective): the near and far planes asked,
// which the hook may change to those the projection is made with.
using PlanesHook = void (*)(double* zNear, double* zFar);

void onClear(ClearHook hook);
void gateDraws(DrawGate gate);
void onDraw(DrawHook hook);
void onPerspective(PlanesHook hook);

}  // namespace zbv::web::gl

#endif  // WEB_GL_HOOKS_H
