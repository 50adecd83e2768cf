// SPDX-License-Identifier: MIT
#include "web_history.h"

#include "inspect/pixel_history.h"

namespace zbv::test {

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

PixelHistory pixelHistory(int x, int y) {
  const double* at = zbv_pixel_history(x, y);
  PixelHistory h;
  h.near = at[0];
  h.far = at[1];
  h.shown = static_cast<int>(at[2]);
  const int draws = static_cast<int>(at[7]);
  at += 8;
  for (int d = 0; d < draws; ++d, at += 3) {
    DrawHistory draw{at[0] != 0, at[1] != 0, {}};
    const int fragments = static_cast<int>(at[2]);
    for (int n = 0; n < fragments; ++n) {
      const double* f = at + 3 + n * (9 + 3 * 13);
      draw.fragments.push_back({static_cast<int>(f[0]),
                                f[1],
                                static_cast<Fragment::Verdict>(static_cast<int>(f[2])),
                                {f[3], f[4], f[5]}});
    }
    at += fragments * (9 + 3 * 13);
    h.draws.push_back(draw);
  }
  return h;
}

}  // namespace zbv::test
