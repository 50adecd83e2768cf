// SPDX-License-Identifier: MIT
// What the browser side (capture.js) does for the probe: it keeps, for each frame, what this
// GPU itself stored, read back from its own buffers once the frame is drawn: the depth
// buffer's code at every pixel; for each draw, drawn alone, the code it brings there and the
// triangle it brings it with (its nearest fragment's, or with the depth test off its last);
// and the picture's colour. The history (pixel_history.cpp) asks for them by pixel; none of it
// touches the GPU.
#ifndef WEB_PROBE_CAPTURE_H
#define WEB_PROBE_CAPTURE_H

#include <cstdint>

extern "C" {

// A frame begins with a clear (the mask).
void zbv_capture_clear(unsigned mask);
// The draw that the renderer was given last, the `index`th of the frame: its mode and
// vertex count, a hash of everything that decides where it stands in the depth buffer
// (its clip coordinates, culling and viewport), and whether it tests depth.
void zbv_capture_draw(int index, unsigned mode, int count, std::uint32_t hash, int depthTest);
// The frame is drawn: a hash of everything that decides what its depth buffer holds.
void zbv_capture_frame_end(std::uint32_t depthHash);

// The code the `index`th draw of the frame brings to pixel (x, y) (window coordinates, from
// the bottom left), as this GPU computed it: its nearest fragment's, drawn alone; -1 where it
// brings none, and -2 where the GPU's codes of this frame are not known (yet).
double zbv_capture_brought(int index, int x, int y);
// The number of the last vertex (in the order the draw gave the renderer its vertices) of the
// triangle whose fragment the `index`th draw keeps at (x, y): its nearest, or where it does not
// test depth its last; -1 and -2 as for the code.
double zbv_capture_vertex(int index, int x, int y);
// The code the depth buffer holds at (x, y) after the frame, as this GPU stored it; -2 where
// it is not known (yet).
double zbv_capture_stored(int x, int y);
// How finely the rasteriser places vertices: to 1 / 2^bits of a pixel (asked once a context).
int zbv_capture_subpixel_bits();
}

#endif  // WEB_PROBE_CAPTURE_H
