// SPDX-License-Identifier: MIT
// The tour a student takes through the viewer's states (its stops are in scene/facts.json):
// the pictures of it taken from the real viewer's window, the same frames drawn again in the
// GL window with their depth, and the README's strip of them.
#ifndef GALLERY_TOUR_H
#define GALLERY_TOUR_H

#include <vector>

#include "depth.h"
#include "image.h"
#include "outcome.h"
#include "scene_facts.h"
#include "session.h"
#include "steps.h"

namespace zbv {

// Presses the tour's keys in the session's window and returns the frame after each stop.
Outcome<std::vector<Image>> takeTour(Session& s);

// The tour replayed in the GL window: from the start-up state, each stop's key is given to
// the viewer's keyboard callback and a frame of the default size drawn, as the real viewer
// would. Leaves the window in the start-up state.
Outcome<std::vector<Frame>> replayTour();

// The same replay, each frame draw by draw.
Outcome<std::vector<FrameSteps>> replayTourByDraws();

// Pictures of one height side by side, white between them; as fine as the coarsest of them.
Outcome<Image> sideBySide(const std::vector<Image>& pictures);

// The strip's pictures of a whole tour side by side.
Outcome<Image> makeStrip(const std::vector<Image>& tour);

}  // namespace zbv

#endif  // GALLERY_TOUR_H
