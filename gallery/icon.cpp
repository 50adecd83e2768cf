// SPDX-License-Identifier: MIT
#include "icon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zbv {
namespace {

// How much of each source pixel along one axis falls into each of n target pixels: for
// target i, pairs of (source index, share of the target's width).
struct Share {
  int from;
  double weight;
};

std::vector<std::vector<Share>> shares(int source, int n) {
  std::vector<std::vector<Share>> out(static_cast<std::size_t>(n));
  const double step = static_cast<double>(source) / n;
  for (int i = 0; i < n; ++i) {
    const double lo = i * step, hi = (i + 1) * step;
    for (int k = static_cast<int>(std::floor(lo)); k < source && k < hi; ++k) {
      const double covered = std::min(hi, k + 1.0) - std::max(lo, static_cast<double>(k));
      if (covered > 0) out[static_cast<std::size_t>(i)].push_back({k, covered / step});
    }
  }
  return out;
}

}  // namespace

std::string iconFile(int size) {
  return "zbuffer-viewer-" + std::to_string(size) + ".png";
}

Outcome<Image> makeIcon(const Image& picture, int size) {
  if (size <= 0 || picture.width < size || picture.height < size)
    return Failure{"a picture smaller than the icon cannot be scaled down to it"};
  const auto across = shares(picture.width, size), down = shares(picture.height, size);
  Image icon(size, size);
  icon.bits = picture.bits;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double sum[3] = {0, 0, 0};
      for (const Share& row : down[static_cast<std::size_t>(y)]) {
        for (const Share& col : across[static_cast<std::size_t>(x)]) {
          const Rgb c = picture.at(col.from, row.from);
          const double w = row.weight * col.weight;
          sum[0] += w * c.r;
          sum[1] += w * c.g;
          sum[2] += w * c.b;
        }
      }
      auto channel = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
      icon.set(x, y, {channel(sum[0]), channel(sum[1]), channel(sum[2])});
    }
  }
  return icon;
}

}  // namespace zbv
