// SPDX-License-Identifier: MIT
#include "web_history.h"

#include <cstring>

#include "probe/pixel_history.h"

namespace zbv::test {

namespace web_history = web::probe::history;

const Fragment* PixelHistory::written(int* draw) const {
  *draw = -1;
  const Fragment* last = nullptr;
  for (std::size_t d = 0; d < draws.size(); ++d)
    for (const Fragment& f : draws[d].fragments)
      if (f.verdict != Fragment::failed) {
        last = &f;
        *draw = static_cast<int>(d);
      }
  return last;
}

namespace {

// The next record of this kind, read from where `at` points, which moves past it.
template <typename Record>
Record next(const double*& at) {
  Record r;
  std::memcpy(&r, at, sizeof r);
  at += sizeof r / sizeof(double);
  return r;
}

}  // namespace

PixelHistory pixelHistory(int x, int y) {
  const double* at = zbv_pixel_history(x, y);
  const auto frame = next<web_history::Frame>(at);
  PixelHistory h;
  h.near = frame.near;
  h.far = frame.far;
  h.shown = static_cast<int>(frame.shown);
  h.stored = frame.stored;
  for (int d = 0; d < static_cast<int>(frame.draws); ++d) {
    const auto draw = next<web_history::Draw>(at);
    DrawHistory out{draw.shown != 0,
                    draw.depthTest != 0,
                    draw.lighting != 0,
                    draw.brought,
                    static_cast<long long>(draw.before),
                    static_cast<long long>(draw.after),
                    {}};
    for (int n = 0; n < static_cast<int>(draw.fragments); ++n) {
      const auto f = next<web_history::Fragment>(at);
      out.fragments.push_back({static_cast<int>(f.triangle),
                               f.depth,
                               static_cast<long long>(f.exactCode),
                               static_cast<long long>(f.code),
                               static_cast<long long>(f.before),
                               f.gpuCode != 0,
                               static_cast<Fragment::Verdict>(static_cast<int>(f.verdict)),
                               {f.red, f.green, f.blue}});
      at += 3 * sizeof(web_history::Vertex) / sizeof(double);
    }
    h.draws.push_back(out);
  }
  return h;
}

}  // namespace zbv::test
