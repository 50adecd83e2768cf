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

namespace {

// From the start-up state, each stop's key given to the viewer's keyboard callback and a frame
// of the default size drawn by draw; leaves the window in the start-up state.
template <typename T>
Outcome<std::vector<T>> replay(Outcome<T> (*draw)(int, int)) {
  std::vector<T> frames;
  resetToStartUp();
  for (const facts::Stop& stop : kTour) {
    if (stop.key) keyboard(static_cast<unsigned char>(stop.key), 0, 0);
    auto f = draw(facts::kWidth, facts::kHeight);
    if (!f) {
      resetToStartUp();
      return Failure{std::string("at ") + stop.file + ": " + f.why()};
    }
    frames.push_back(std::move(*f));
  }
  resetToStartUp();
  return frames;
}

}  // namespace

Outcome<std::vector<Frame>> replayTour() {
  return replay(&drawFrameAndDepth);
}

Outcome<std::vector<FrameSteps>> replayTourByDraws() {
  return replay(&drawFrameByDraws);
}

Outcome<Image> sideBySide(const std::vector<Image>& pictures) {
  if (pictures.empty()) return Failure{"no pictures to put side by side"};
  const int gap = 6, height = pictures.front().height;  // white between the pictures
  int width = -gap;
  for (const Image& p : pictures) {
    if (p.height != height) return Failure{"the pictures differ in height"};
    width += p.width + gap;
  }
  Image out(width, height);
  std::fill(out.rgb.begin(), out.rgb.end(), 255);
  for (const Image& p : pictures) out.bits = std::min(out.bits, p.bits);
  int left = 0;
  for (const Image& p : pictures) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < p.width; ++x) out.set(left + x, y, p.at(x, y));
    left += p.width + gap;
  }
  return out;
}

Outcome<Image> makeStrip(const std::vector<Image>& tour) {
  if (tour.size() != static_cast<std::size_t>(facts::kTourLength))
    return Failure{"the strip needs a whole tour, " + std::to_string(tour.size()) + " pictures"};
  std::vector<Image> pictures;
  for (int stop : facts::kStripStops) pictures.push_back(tour[static_cast<std::size_t>(stop)]);
  return sideBySide(pictures);
}

}  // namespace zbv
