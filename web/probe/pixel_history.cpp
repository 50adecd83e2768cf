// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn: every fragment each draw produced there, in the
// order OpenGL produced them, with the depth test's verdict against what was stored before
// it, and where a lit fragment's colour came from. The fragments are found from the recorded
// vertices as the rasteriser finds them: the point of each triangle that the ray through the
// pixel's centre meets, in clip coordinates, so that its weights are the ones the colours are
// interpolated with (perspective-correct) and a triangle reaching behind the eye needs no
// clipping. Which draws reach the pixel, the codes they bring and so the verdicts are this
// GPU's own, where the capture has them (capture.h): the exact depths stand beside them.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "capture.h"
#include "coverage.h"
#include "frame_record.h"
#include "gl/depth.h"
#include "gl/export.h"
#include "pixel_history.h"

namespace zbv::web::probe {

using gl::Vec4;
using gl::Vertex;

namespace {

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

// A triangle of a draw that meets the pixel's centre, or comes near it.
struct Candidate {
  std::size_t triangle;
  Cover cover;
  Hit hit;
  std::int64_t exact;
};

// The fragments a draw leaves at the pixel. Where the capture knows which triangle's fragment
// the GPU kept there (`kept`, its nearest, or with the depth test off its last), that one and
// every triangle that surely covers the pixel (with the depth test off, none drawn after the
// one kept); where the GPU brings nothing, none; where its word is not known, those that surely
// cover the pixel, else the first on an edge.
std::vector<Candidate> reaching(const std::vector<Candidate>& all, double brought, std::size_t kept,
                                bool depthTest, const Candidate& keptHit) {
  std::vector<Candidate> out;
  if (brought == history::kBringsNone) return out;
  const bool known = brought >= 0;
  for (const Candidate& c : all) {
    if (known && c.triangle == kept) continue;
    if (c.cover == Cover::yes && (!known || depthTest || c.triangle < kept)) out.push_back(c);
  }
  if (known) {
    out.push_back(keptHit);
    std::size_t i = out.size() - 1;
    for (; i > 0 && out[i - 1].triangle > keptHit.triangle; --i) std::swap(out[i - 1], out[i]);
  } else if (out.empty()) {
    for (const Candidate& c : all)
      if (c.cover == Cover::ask) return {c};
  }
  return out;
}

}  // namespace

}  // namespace zbv::web::probe

using namespace zbv::web::probe;

extern "C" {

ZBV_EXPORT const double* zbv_frame_planes() {
  static double planes[2];
  planes[0] = frameRecord().zNear;
  planes[1] = frameRecord().zFar;
  return planes;
}

ZBV_EXPORT const double* zbv_pixel_history(int x, int y) {
  namespace gl = zbv::web::gl;
  const FrameRecord& r = frameRecord();
  records().clear();
  const gl::DepthFormat& format = gl::depthFormat();
  // The GPU's codes, where the capture knows them all: the buffer's, and what each shown draw
  // brings. Where it does not, the history's own reckoning stands for all of them, so that
  // the codes said agree with each other.
  double stored = zbv_capture_stored(x, y);
  std::vector<double> brought(r.draws.size(), history::kNotKnown);
  bool gpu = stored != history::kNotKnown;
  for (std::size_t k = 0; gpu && k < r.draws.size(); ++k) {
    if (r.draws[k].shown) brought[k] = zbv_capture_brought(static_cast<int>(k), x, y);
    gpu = brought[k] != history::kNotKnown || !r.draws[k].shown;
  }
  if (!gpu) {
    stored = history::kNotKnown;
    std::fill(brought.begin(), brought.end(), history::kNotKnown);
  }
  append(history::Frame{r.zNear, r.zFar, double(format.bits), double(format.isFloat),
                        double(drawLimit() < 0 ? r.draws.size() : std::size_t(drawLimit())),
                        r.clearColour[0], r.clearColour[1], r.clearColour[2],
                        double(r.depthCleared), stored, double(gpu), double(r.draws.size())});
  // What the depth buffer holds, as its code, and the exact depth of what left it there.
  std::int64_t held = gl::depthCode(1.0);
  double heldDepth = 1;
  const double snap = double(1 << std::clamp(zbv_capture_subpixel_bits(), 0, 16));
  for (std::size_t k = 0; k < r.draws.size(); ++k) {
    const Draw& d = r.draws[k];
    const std::size_t at = records().size();
    append(history::Draw{double(d.shown), double(d.depthTest), double(d.lighting), 0, double(held),
                         double(held), double(history::noTest), 0});
    if (!d.shown) continue;
    std::vector<Candidate> all;
    std::uint32_t tri[3];
    const auto& vertices = d.primitive.vertices;
    for (std::size_t t = 0; triangle(d.primitive, t, tri); ++t) {
      const Vec4* clip[3] = {&vertices[tri[0]].clip, &vertices[tri[1]].clip,
                             &vertices[tri[2]].clip};
      Hit hit{};
      const Cover cover = covers(d, r, clip, x + 0.5, y + 0.5, snap, &hit);
      if (cover != Cover::no) all.push_back({t, cover, hit, gl::depthCode(hit.depth)});
    }
    // The triangle whose fragment the GPU kept, and where it meets the pixel's ray.
    const double vertex = brought[k] >= 0 ? zbv_capture_vertex(static_cast<int>(k), x, y) : -1;
    const std::size_t kept =
        vertex >= 0 ? triangleEndingAt(d.primitive, std::size_t(vertex)) : std::size_t(-1);
    Candidate keptHit{kept, Cover::yes, {}, 0};
    bool found = false;
    for (const Candidate& c : all) found = found || (c.triangle == kept && (keptHit = c, true));
    if (!found && triangle(d.primitive, kept, tri)) {
      const Vec4* clip[3] = {&vertices[tri[0]].clip, &vertices[tri[1]].clip,
                             &vertices[tri[2]].clip};
      found = onRay(r, clip, x + 0.5, y + 0.5, &keptHit.hit);
      keptHit.exact = gl::depthCode(keptHit.hit.depth);
    }
    const std::vector<Candidate> reached =
        reaching(all, brought[k] >= 0 && !found ? history::kNotKnown : brought[k], kept,
                 d.depthTest, keptHit);
    // The fragment the GPU kept brings the GPU's code; no other of the draw's is nearer.
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < reached.size(); ++i)
      if (found ? reached[i].triangle == kept : reached[i].hit.depth < reached[nearest].hit.depth)
        nearest = i;
    const bool known = found && brought[k] >= 0;
    const std::int64_t floor = known             ? std::llround(brought[k])
                               : reached.empty() ? 0
                                                 : reached[nearest].exact;
    const std::int64_t before = held;
    history::Verdict drawVerdict = history::noTest;
    // The GPU reaches the pixel though no triangle meets its centre by the vertices: its code
    // still decides what the buffer holds.
    if (known && reached.empty() && d.depthTest) {
      drawVerdict = floor < held ? history::passed : history::failed;
      if (floor < held) {
        held = floor;
        heldDepth = gl::depthOfCode(floor);
      }
    }
    for (std::size_t i = 0; i < reached.size(); ++i) {
      const Candidate& c = reached[i];
      const std::int64_t code = i == nearest ? floor : std::max(c.exact, floor);
      // GL_LESS, OpenGL's initial function, between what the buffer keeps.
      history::Verdict verdict = history::noTest;
      const std::int64_t was = held;
      const double wasDepth = heldDepth;
      if (d.depthTest) {
        verdict = code < held ? history::passed : history::failed;
        if (code < held) {
          held = code;
          heldDepth = c.hit.depth;
        }
        if (drawVerdict != history::passed) drawVerdict = verdict;
      }
      triangle(d.primitive, c.triangle, tri);
      const Vertex* v[3] = {&vertices[tri[0]], &vertices[tri[1]], &vertices[tri[2]]};
      double colour[3] = {0, 0, 0};
      for (std::size_t ch = 0; ch < 3; ++ch)
        for (std::size_t n = 0; n < 3; ++n) colour[ch] += c.hit.weight[n] * v[n]->colour[ch];
      append(history::Fragment{double(c.triangle), c.hit.depth, double(c.exact), double(code),
                               double(i == nearest && known), double(was), wasDepth,
                               double(verdict), colour[0], colour[1], colour[2], c.hit.weight[0],
                               c.hit.weight[1], c.hit.weight[2]});
      for (const Vertex* u : v) append(vertexRecord(*u));
    }
    auto* record = reinterpret_cast<history::Draw*>(&records()[at]);
    record->brought = brought[k];
    record->before = double(before);
    record->after = double(held);
    record->verdict = double(drawVerdict);
    record->fragments = double(reached.size());
  }
  return records().data();
}

}  // extern "C"
