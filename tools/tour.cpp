// SPDX-License-Identifier: MIT
#include "tour.h"

#include <algorithm>

namespace zbv {

std::string takeTour(Session& s, std::vector<Image>* shots) {
  for (const Stop& stop : kTour) {
    Image shot = stop.key ? s.pressAndWait(keysymFor(stop.key)) : s.settled();
    if (shot.empty()) {
      return stop.key ? std::string("no frame came after key ") + stop.key
                      : std::string("the start-up picture did not settle");
    }
    shots->push_back(std::move(shot));
  }
  return "";
}

Image makeStrip(const std::vector<Image>& tour) {
  if (tour.size() < static_cast<std::size_t>(kTourLength)) return {};
  const Image& first = tour[kStripStops[0]];
  const int n = static_cast<int>(sizeof kStripStops / sizeof kStripStops[0]);
  const int gap = 6, step = first.width + gap;  // white between the pictures
  Image strip(step * n - gap, first.height);
  std::fill(strip.rgb.begin(), strip.rgb.end(), 255);
  for (int i = 0; i < n; ++i) {
    const Image& shot = tour[static_cast<std::size_t>(kStripStops[i])];
    if (shot.width != first.width || shot.height != first.height) return {};
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) strip.set(i * step + x, y, shot.at(x, y));
  }
  return strip;
}

}  // namespace zbv
