// SPDX-License-Identifier: MIT
// The states a student steps through, in order, each reached by one key from the one before,
// and the pictures of them taken from the real viewer's window. A picture's name is its place
// in the tour and the key that led there.
#ifndef TOOLS_TOUR_H
#define TOOLS_TOUR_H

#include <string>
#include <vector>

#include "image.h"
#include "session.h"

namespace zbv {

struct Stop {
  const char* file;   // picture name, without extension
  char key;           // key pressed to get here; 0 for the start-up picture
  const char* shows;  // one line on what the picture shows
};

inline constexpr Stop kTour[] = {
    {"01-start-up", 0, "start-up: depth test on, lit by the white light alone"},
    {"02-key-2-depth-off", '2', "key 2: depth test off, later teapots paint over nearer ones"},
    {"03-key-1-depth-on", '1', "key 1: depth test on again, the start-up picture"},
    {"04-key-4-unlit", '4', "key 4: lighting off, every object in its flat colour"},
    {"05-key-2-unlit-depth-off", '2', "key 2: unlit, depth off: each teapot covers earlier ones"},
    {"06-key-1-unlit-depth-on", '1', "key 1: unlit, depth test on again"},
    {"07-key-3-lit", '3', "key 3: lighting on again, the start-up picture"},
    {"08-key-5-yellow", '5', "key 5: only the yellow light (blue channel is ambient alone)"},
    {"09-key-6-cyan", '6', "key 6: only the cyan light (red channel is ambient alone)"},
    {"10-key-7-white", '7', "key 7: only the white light, the start-up picture"},
};
inline constexpr int kTourLength = sizeof kTour / sizeof kTour[0];

// The stops shown side by side in the README: start-up (the white light), depth test off,
// lighting off, the yellow light, the cyan light.
inline constexpr int kStripStops[] = {0, 1, 3, 7, 8};

// Presses the tour's keys in the session's window and adds the frame after each stop to
// *shots. Returns why it could not go on; empty when every stop was taken.
std::string takeTour(Session& s, std::vector<Image>* shots);

// The strip's pictures side by side; empty if any is missing or the sizes differ.
Image makeStrip(const std::vector<Image>& tour);

}  // namespace zbv

#endif  // TOOLS_TOUR_H
