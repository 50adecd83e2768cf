// SPDX-License-Identifier: MIT
// One real GLUT window per process, set up as the viewer sets up its own, and the frames
// the viewer's callbacks draw into it read back as pictures. For tests and benchmarks.
#ifndef TOOLS_GL_WINDOW_H
#define TOOLS_GL_WINDOW_H

#include <functional>
#include <optional>
#include <string>

#include "image.h"
#include "outcome.h"
#include "scene_facts.h"

namespace zbv {

// Opens the window (the first time) and applies init().
Outcome<> openViewerWindow();

// Puts the window's GL context back as it is just after start-up: OpenGL's initial values,
// then init(), at the window's default size with its projection.
void resetToStartUp();

// Asks for a new window size and waits until GLUT reports it.
Outcome<> resizeWindow(int width, int height);

// Sizes the window, calls reshape and display as GLUT would, and reads the frame back.
Outcome<Image> drawFrame(int width, int height);

// Lets GLUT carry out what was posted, then tells how many redraws it has asked for so far.
int redrawsDone();

// Every GL error raised since the last call, as text; empty when there was none.
std::string takeGlErrors();

// Runs `hook` inside every display() from now on, once the frame is drawn and just before
// the viewer swaps it to the screen, while the back buffers still hold it; an empty hook
// runs nothing. (Users of this window link with -Wl,--wrap=glutSwapBuffers for this.)
void beforeSwap(std::function<void()> hook);

// Runs `hook` after each draw the viewer issues from now on (the floor's glEnd, each
// glutSolidTeapot); an empty hook runs nothing. (Linked with --wrap=glEnd,glutSolidTeapot.)
void afterDraw(std::function<void()> hook);

// Carries out every gluPerspective call the viewer makes from now on with these near and far
// planes in place of its own, everything else as it asked; none restores its own. (Linked
// with --wrap=gluPerspective.)
void substitutePlanes(std::optional<facts::Planes> planes);

// The colour buffer glReadBuffer names, as it stands: rows from the top, with the bits per
// channel the framebuffer stores.
Image readColour(int width, int height);

}  // namespace zbv

#endif  // TOOLS_GL_WINDOW_H
