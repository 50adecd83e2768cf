// SPDX-License-Identifier: MIT
// Vertices: transformed to eye and clip coordinates, lit or given the current colour, and
// handed on a primitive at a time to the renderer, which interpolates the colours across
// each triangle (smooth shading); the hooks see each primitive on its way.
#include <algorithm>
#include <utility>
#include <vector>

#include "gl/context.h"
#include "gl/hooks.h"
#include "gl/renderer.h"

namespace zbv::web::gl {

namespace {

DrawGate drawGate = nullptr;
DrawHook drawHook = nullptr;

// The vertices of the primitive being built.
std::vector<Vertex>& pending() {
  static std::vector<Vertex> v;
  return v;
}

// The normal in eye coordinates: multiplied by the inverse of the model-view matrix's
// upper 3x3 part, from the right.
Vec3 eyeNormal(const Mat4& m, const Vec3& n) {
  const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], f = m[9], g = m[2], h = m[6],
              i = m[10];
  const float det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0) return n;
  // The cofactors: over the determinant, the transpose of the inverse.
  const float cof[3][3] = {{(e * i - f * h), -(d * i - f * g), (d * h - e * g)},
                           {-(b * i - c * h), (a * i - c * g), -(a * h - b * g)},
                           {(b * f - c * e), -(a * f - c * d), (a * e - b * d)}};
  Vec3 r{};
  for (std::size_t j = 0; j < 3; ++j)
    r[j] = (cof[j][0] * n[0] + cof[j][1] * n[1] + cof[j][2] * n[2]) / det;
  return r;
}

// The primitive given to the renderer unless the gate keeps it back, then to the hook.
void submit(Primitive&& p) {
  const Context& c = context();
  const bool drawn = !drawGate || drawGate(p, c);
  if (drawn && renderer()) {
    // Sized once and written in place: a teapot's primitive has thousands of vertices.
    std::vector<float> flat(p.order.size() * kVertexFloats);
    float* out = flat.data();
    for (std::uint32_t i : p.order) out = writeForRenderer(out, p.vertices[i]);
    renderer()->draw(p.mode, flat.data(), static_cast<int>(p.order.size()));
  }
  if (drawHook) drawHook(std::move(p), c, drawn);
}

}  // namespace

void gateDraws(DrawGate gate) {
  drawGate = gate;
}

void onDraw(DrawHook hook) {
  drawHook = hook;
}

float* writeForRenderer(float* out, const Vertex& v) {
  static_assert(kClipFloats == 4 && kColourFloats == 4, "a vertex as the renderer takes it");
  out = std::copy(v.clip.begin(), v.clip.end(), out);
  return std::copy(v.colour.begin(), v.colour.end(), out);
}

Vertex processVertex(const Vec3& position, const Vec3& normal) {
  const Context& c = context();
  const Vec4 eye = transform(c.modelview, {position[0], position[1], position[2], 1});
  Vertex v{transform(c.projection, eye), c.colour, {}};
  if (c.lighting) {
    const Vec3 n = eyeNormal(c.modelview, normal);
    v.colour = lightVertex(eye, c.normalize ? unit(n) : n, &v.terms);
  }
  return v;
}

void drawTriangles(const float* positions, const float* normals, int vertexCount,
                   const std::uint16_t* indices, int indexCount) {
  if (!outsidePrimitive()) return;
  Primitive p;
  p.vertices.reserve(static_cast<std::size_t>(vertexCount));
  for (int i = 0; i < vertexCount; ++i) {
    const float* at = positions + 3 * i;
    const float* n = normals + 3 * i;
    p.vertices.push_back(processVertex({at[0], at[1], at[2]}, {n[0], n[1], n[2]}));
  }
  p.order.assign(indices, indices + indexCount);
  submit(std::move(p));
}

void begin(unsigned mode) {
  if (!outsidePrimitive()) return;
  if (mode != GL_TRIANGLES && mode != GL_TRIANGLE_STRIP && mode != GL_TRIANGLE_FAN) {
    fail(GL_INVALID_ENUM);
    return;
  }
  context().primitive = mode;
  pending().clear();
}

void vertex(float x, float y, float z) {
  // Outside glBegin and glEnd a vertex has no effect.
  if (context().primitive != 0) pending().push_back(processVertex({x, y, z}, context().normal));
}

void end() {
  Context& c = context();
  if (c.primitive == 0) {
    fail(GL_INVALID_OPERATION);
    return;
  }
  Primitive p;
  p.mode = c.primitive;
  p.vertices.swap(pending());
  c.primitive = 0;
  if (p.vertices.size() < 3) return;
  p.order.resize(p.vertices.size());
  for (std::size_t i = 0; i < p.order.size(); ++i) p.order[i] = static_cast<std::uint32_t>(i);
  submit(std::move(p));
}

}  // namespace zbv::web::gl
