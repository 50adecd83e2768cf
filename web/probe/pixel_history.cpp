// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn: every fragment each draw produced there, in the
// order OpenGL produced them, with the depth test's verdict against what was stored before
// it, and where a lit fragment's colour came from. Found from the recorded vertices as the
// rasteriser finds them: the point of each triangle that the ray through the pixel's centre
// meets, in clip coordinates, so that its weights are the ones the colours are interpolated
// with (perspective-correct) and a triangle reaching behind the eye needs no clipping.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "coverage.h"
#include "depth_format.h"
#include "depth_target.h"
#include "export.h"
#include "frame_record.h"
#include "gl/renderer.h"
#include "pixel_history.h"

namespace zbv::web::probe {

using gl::Vec3;
using gl::Vec4;
using gl::Vertex;

namespace {

// Whether WebGL's rasteriser covers pixel (x, y) with the triangle, under the draw's culling.
bool askWebgl(const Draw& d, const Vertex* const v[3], int x, int y) {
  std::vector<float> flat;
  for (std::size_t i = 0; i < 3; ++i) gl::appendForRenderer(flat, *v[i]);
  return zbv_webgl_covers(flat.data(), x, y, d.cullFace, d.cullMode, d.frontFace) != 0;
}

// The history as numbers, for the page to read from the module's memory.
std::vector<double>& records() {
  static std::vector<double> h;
  return h;
}

// A record appended to the history: its fields in their order, as doubles.
template <typename Record>
void append(const Record& record) {
  static_assert(sizeof(Record) % sizeof(double) == 0, "a record is doubles alone");
  const auto* at = reinterpret_cast<const double*>(&record);
  for (std::size_t i = 0; i < sizeof(Record) / sizeof(double); ++i) records().push_back(at[i]);
}

history::Vertex vertexRecord(const Vertex& u) {
  const gl::LightTerms& t = u.terms;
  return {u.colour[0],   u.colour[1],   u.colour[2],  t.ambient[0], t.ambient[1],
          t.ambient[2],  t.diffuse[0],  t.diffuse[1], t.diffuse[2], t.specular[0],
          t.specular[1], t.specular[2], t.ndotl};
}

}  // namespace

}  // namespace zbv::web::probe

using namespace zbv::web::probe;

extern "C" {

ZBV_EXPORT const double* zbv_frame_planes() {
  static double planes[2];
  // A perspective matrix holds its planes in its third row: -(f + n) / (f - n), -2fn / (f - n).
  const zbv::web::gl::Mat4& m = frameRecord().projection;
  planes[0] = double(m[14]) / (double(m[10]) - 1);
  planes[1] = double(m[14]) / (double(m[10]) + 1);
  return planes;
}

ZBV_EXPORT const double* zbv_pixel_history(int x, int y) {
  const FrameRecord& r = frameRecord();
  const double* planes = zbv_frame_planes();
  records().clear();
  const DepthFormat& format = depthFormat();
  append(history::Frame{planes[0], planes[1], double(format.bits), double(format.isFloat),
                        double(drawLimit() < 0 ? r.draws.size() : std::size_t(drawLimit())),
                        r.clearColour[0], r.clearColour[1], r.clearColour[2],
                        double(r.depthCleared), double(r.draws.size())});
  // What the depth buffer holds: its code, and the depth of the fragment that left it.
  std::int64_t stored = code(1.0);
  double storedDepth = 1;
  const double snap = double(1 << std::clamp(zbv_webgl_subpixel_bits(), 0, 16));
  for (const Draw& d : r.draws) {
    const std::size_t at = records().size();
    append(history::Draw{double(d.depthTest), double(d.lighting), 0});
    double fragments = 0;
    std::uint32_t tri[3];
    const auto& vertices = d.primitive.vertices;
    for (std::size_t t = 0; triangle(d.primitive, t, tri); ++t) {
      const Vertex* v[3] = {&vertices[tri[0]], &vertices[tri[1]], &vertices[tri[2]]};
      Hit hit{};
      const Vec4* clip[3] = {&v[0]->clip, &v[1]->clip, &v[2]->clip};
      const Cover cover = covers(d, r, clip, x + 0.5, y + 0.5, snap, &hit);
      if (cover == Cover::no || (cover == Cover::ask && !askWebgl(d, v, x, y))) continue;
      fragments += 1;
      // GL_LESS, OpenGL's initial function, between what the buffer keeps.
      history::Verdict verdict = history::noTest;
      const std::int64_t z = code(hit.depth), before = stored;
      const double beforeDepth = storedDepth;
      if (d.depthTest) {
        verdict = z < stored ? history::passed : history::failed;
        if (z < stored) {
          stored = z;
          storedDepth = hit.depth;
        }
      }
      double colour[3] = {0, 0, 0};
      for (std::size_t k = 0; k < 3; ++k)
        for (std::size_t i = 0; i < 3; ++i) colour[k] += hit.weight[i] * v[i]->colour[k];
      append(history::Fragment{double(t), hit.depth, double(z), double(before), beforeDepth,
                               double(verdict), colour[0], colour[1], colour[2], hit.weight[0],
                               hit.weight[1], hit.weight[2]});
      for (const Vertex* u : v) append(vertexRecord(*u));
    }
    reinterpret_cast<history::Draw*>(&records()[at])->fragments = fragments;
  }
  return records().data();
}

ZBV_EXPORT const char* zbv_pixel_history_layout() {
#define ZBV_HISTORY_NAME(name) #name ","
  // (Each list's last comma is dropped by the reader.)
  return "frame:" ZBV_HISTORY_FRAME(ZBV_HISTORY_NAME) ";draw:" ZBV_HISTORY_DRAW(
      ZBV_HISTORY_NAME) ";fragment:" ZBV_HISTORY_FRAGMENT(ZBV_HISTORY_NAME) ";vertex:"
      ZBV_HISTORY_VERTEX(ZBV_HISTORY_NAME);
#undef ZBV_HISTORY_NAME
}

}  // extern "C"
