// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn: every fragment each draw produced there, in the
// order OpenGL produced them, with the depth test's verdict against what was stored before
// it, and where a lit fragment's colour came from. Found from the recorded vertices as the
// rasteriser finds them: the point of each triangle that the ray through the pixel's centre
// meets, in clip coordinates, so that its weights are the ones the colours are interpolated
// with (perspective-correct) and a triangle reaching behind the eye needs no clipping.
#include <emscripten.h>

#include <cmath>
#include <vector>

#include "frame_record.h"

namespace zbv::web {

namespace {

// A 24-bit depth buffer's stored value for a depth in [0, 1].
long long quantise(double depth) {
  return std::llround(depth * 16777215.0);
}

struct Hit {
  double weight[3];
  double depth;  // window z
};

// Whether triangle (a, b, c) covers the point of normalised device coordinates (nx, ny), is
// not culled and lies within the depth range; the weights and the depth where it does.
bool covers(const Draw& d, const Vec4& a, const Vec4& b, const Vec4& c, double nx, double ny,
            Hit* hit) {
  const Vec4* v[3] = {&a, &b, &c};
  // Facing: the sign of det [x y w] is that of the projected triangle's area.
  double area = 0;
  for (int i = 0; i < 3; ++i) {
    const Vec4& p = *v[i];
    const Vec4& q = *v[(i + 1) % 3];
    const Vec4& r = *v[(i + 2) % 3];
    area += double(p[0]) * (double(q[1]) * r[3] - double(r[1]) * q[3]);
  }
  if (area == 0) return false;
  if (d.cullFace) {
    const bool front = (area > 0) == (d.frontFace == GL_CCW);
    if (d.cullMode == GL_FRONT_AND_BACK || (d.cullMode == GL_BACK) != front) return false;
  }
  // The weights of the point whose projection is (nx, ny): sum w_i (x_i - nx w_i) = 0,
  // sum w_i (y_i - ny w_i) = 0, sum w_i = 1.
  double ex[3], ey[3];
  for (int i = 0; i < 3; ++i) {
    ex[i] = (*v[i])[0] - nx * (*v[i])[3];
    ey[i] = (*v[i])[1] - ny * (*v[i])[3];
  }
  double w[3];
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    w[i] = ex[j] * ey[k] - ex[k] * ey[j];
  }
  const double sum = w[0] + w[1] + w[2];
  if (sum == 0) return false;
  double z = 0, cw = 0;
  for (int i = 0; i < 3; ++i) {
    w[i] /= sum;
    if (w[i] < 0) return false;
    z += w[i] * (*v[i])[2];
    cw += w[i] * (*v[i])[3];
  }
  if (cw <= 0 || z < -cw || z > cw) return false;
  for (int i = 0; i < 3; ++i) hit->weight[i] = w[i];
  hit->depth = (z / cw + 1) / 2;
  return true;
}

// The vertices (indices into d.vertices) of triangle t of the draw; false past the last.
bool triangle(const Draw& d, std::size_t t, std::uint32_t out[3]) {
  const auto& o = d.order;
  if (d.mode == GL_TRIANGLES) {
    if (3 * t + 2 >= o.size()) return false;
    for (std::size_t i = 0; i < 3; ++i) out[i] = o[3 * t + i];
  } else if (d.mode == GL_TRIANGLE_STRIP) {
    if (t + 2 >= o.size()) return false;
    // Every other triangle of a strip is taken in reverse, to keep the strip's winding.
    out[0] = o[t % 2 ? t + 1 : t];
    out[1] = o[t % 2 ? t : t + 1];
    out[2] = o[t + 2];
  } else {  // a fan
    if (t + 2 >= o.size()) return false;
    out[0] = o[0];
    out[1] = o[t + 1];
    out[2] = o[t + 2];
  }
  return true;
}

// The history as numbers, for the page to read from the module's memory.
std::vector<double>& history() {
  static std::vector<double> h;
  return h;
}

void push(const Vec4& v) {
  for (std::size_t k = 0; k < 3; ++k) history().push_back(v[k]);
}

void push(const Vec3& v) {
  for (float f : v) history().push_back(f);
}

}  // namespace

}  // namespace zbv::web

using namespace zbv::web;

extern "C" {

// The history of the pixel at (x, y) in window coordinates (from the bottom left), as
// numbers (layout in web/inspector.js, which reads them): the frame's planes, the clear, and
// for each draw its state and every fragment it produced there, in the order drawn.
EMSCRIPTEN_KEEPALIVE const double* zbv_pixel_history(int x, int y) {
  std::vector<double>& out = history();
  const FrameRecord& r = frameRecord();
  const double nx = 2 * (x + 0.5 - r.viewport[0]) / r.viewport[2] - 1;
  const double ny = 2 * (y + 0.5 - r.viewport[1]) / r.viewport[3] - 1;
  // A perspective matrix holds its planes in its third row: -(f + n) / (f - n), -2fn / (f - n).
  const double p10 = r.projection[10], p14 = r.projection[14];
  out.assign({p14 / (p10 - 1), p14 / (p10 + 1),
              drawLimit() < 0 ? double(r.draws.size()) : double(drawLimit())});
  push(r.clearColour);
  out.push_back(r.depthCleared);
  out.push_back(double(r.draws.size()));
  long long stored = quantise(1.0);
  for (const Draw& d : r.draws) {
    out.push_back(d.depthTest);
    out.push_back(d.lighting);
    const std::size_t count = out.size();
    out.push_back(0);
    std::uint32_t tri[3];
    for (std::size_t t = 0; triangle(d, t, tri); ++t) {
      const Vertex* v[3] = {&d.vertices[tri[0]], &d.vertices[tri[1]], &d.vertices[tri[2]]};
      Hit hit{};
      if (!covers(d, v[0]->clip, v[1]->clip, v[2]->clip, nx, ny, &hit)) continue;
      out[count] += 1;
      // 0: no test; 1: passed; 2: failed (GL_LESS, OpenGL's initial function).
      double verdict = 0;
      const long long z = quantise(hit.depth);
      if (d.depthTest) {
        verdict = z < stored ? 1 : 2;
        if (z < stored) stored = z;
      }
      out.insert(out.end(), {double(t), hit.depth, verdict});
      for (std::size_t k = 0; k < 3; ++k) {
        double c = 0;
        for (int i = 0; i < 3; ++i) c += hit.weight[i] * v[i]->colour[k];
        out.push_back(c);
      }
      out.insert(out.end(), {hit.weight[0], hit.weight[1], hit.weight[2]});
      for (const Vertex* u : v) {
        push(u->colour);
        push(u->terms.ambient);
        push(u->terms.diffuse);
        push(u->terms.specular);
        out.push_back(u->terms.ndotl);
      }
    }
  }
  return out.data();
}

}  // extern "C"
