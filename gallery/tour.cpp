// SPDX-License-Identifier: MIT
#include "tour.h"

#include <algorithm>
#include <string>
#include <utility>

#include "gl_window.h"
#include "viewer.h"

namespace zbv {

using facts::kTour;

Outcome<std::vector<Image>> takeTour(Session& s) {
  std::vector<Image> shots;
  for (const facts::Stop& stop : kTour) {
    auto shot = stop.key ? s.pressAndWait(keysymFor(stop.key)) : s.settled();
    if (!shot) return Failure{std::string("at ") + stop.file + ": " + shot.why()};
    shots.push_back(std::move(*shot));
  }
  return shots;
}

Outcome<std::vector<Frame>> replayTour() {
  std::vector<Frame> frames;
  resetToStartUp();
  for (const facts::Stop& stop : kTour) {
    if (stop.key) keyboard(static_cast<unsigned char>(stop.key), 0, 0);
    auto f = drawFrameAndDepth(facts::kWidth, facts::kHeight);
    if (!f) {
      resetToStartUp();
      return Failure{std::string("at ") + stop.file + ": " + f.why()};
    }
    frames.push_back(std::move(*f));
  }
  resetToStartUp();
  return frames;
}

Outcome<Image> makeStrip(const std::vector<Image>& tour) {
  if (tour.size() != static_cast<std::size_t>(facts::kTourLength))
    return Failure{"the strip needs a whole tour, " + std::to_string(tour.size()) + " pictures"};
  const Image& first = tour[facts::kStripStops[0]];
  const int n = static_cast<int>(std::size(facts::kStripStops));
  const int gap = 6, step = first.width + gap;  // white between the pictures
  Image strip(step * n - gap, first.height);
  std::fill(strip.rgb.begin(), strip.rgb.end(), 255);
  for (int i = 0; i < n; ++i) {
    const Image& shot = tour[static_cast<std::size_t>(facts::kStripStops[i])];
    if (shot.width != first.width || shot.height != first.height)
      return Failure{"the strip's pictures differ in size"};
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) strip.set(i * step + x, y, shot.at(x, y));
  }
  return strip;
}

}  // namespace zbv
