// SPDX-License-Identifier: MIT
// A frame of the viewer drawn off the screen, in the GL window's context: into a framebuffer
// object with a colour renderbuffer and a depth renderbuffer of a chosen format, the viewer's
// reshape and display carried out with chosen near and far planes. For the lab's presets.
#ifndef TOOLS_OFFSCREEN_H
#define TOOLS_OFFSCREEN_H

#include "depth.h"
#include "outcome.h"
#include "scene_facts.h"

namespace zbv {

// The viewer's reshape(width, height) and display() drawn into a new framebuffer object of
// that size whose depth buffer stores `format`, every gluPerspective carried out with
// `planes`; the colour buffer and the depth buffer (read as floats) as they stand just before
// the swap, the depth map holding `planes`. Afterwards the window is drawn into again, its
// reshape redone with the viewer's own planes at the viewport's size before.
Outcome<Frame> drawOffscreen(facts::Planes planes, facts::DepthFormat format, int width,
                             int height);

}  // namespace zbv

#endif  // TOOLS_OFFSCREEN_H
