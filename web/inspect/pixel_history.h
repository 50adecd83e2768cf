// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn, for the page's script (web/frame_view.js reads
// it from the module's memory).
#ifndef WEB_INSPECT_PIXEL_HISTORY_H
#define WEB_INSPECT_PIXEL_HISTORY_H

extern "C" {

// The near and far planes of the frame's projection: two numbers.
const double* zbv_frame_planes();

// The history of the pixel at (x, y) in window coordinates (from the bottom left), as
// numbers:
// - the frame: near plane, far plane, how many draws are shown (all, or the page's limit),
//   the clear colour (red, green, blue), whether depth was cleared (1 or 0), how many draws;
// - then each draw: depth test on (1 or 0), lighting on (1 or 0), how many fragments it
//   produced at the pixel, and each of these:
//   - the triangle's number in the draw, the fragment's depth (window z), the depth test's
//     verdict (0: no test, 1: passed, 2: failed: GL_LESS against the value stored before it,
//     both in 24 bits), its colour (red, green, blue), the weights of the triangle's three
//     vertices there;
//   - for each of the three vertices: its colour (red, green, blue), and the parts lighting
//     summed it from: ambient, diffuse, specular (three each), and n.l.
const double* zbv_pixel_history(int x, int y);
}

#endif  // WEB_INSPECT_PIXEL_HISTORY_H
