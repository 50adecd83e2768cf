// SPDX-License-Identifier: MIT
// What the browser side (depth_target.js) does for the inspector: the depth target, and
// WebGL's rasteriser asked directly.
#ifndef WEB_PROBE_DEPTH_TARGET_H
#define WEB_PROBE_DEPTH_TARGET_H

extern "C" {

// The depth target: a colour buffer of the drawing buffer's size that holds, packed in 24
// bits, the depth a draw leaves where the depth test lets it write. Cleared to 1 with the
// depth buffer; the draw is the vertices the renderer was given last, under the same depth
// test; at the end of a frame it is read back for the page.
void zbv_depth_clear(unsigned mask);
void zbv_depth_draw(unsigned mode, int count);
void zbv_depth_frame_end();

// How finely the rasteriser places vertices: to 1 / 2^bits of a pixel.
int zbv_webgl_subpixel_bits();
// Whether WebGL covers pixel (x, y) with one triangle (three vertices as the renderer takes
// them, gl/renderer.h) under this culling: 1 or 0. The picture and the depth target are left
// as they are.
int zbv_webgl_covers(const float* vertices, int x, int y, int cullFace, unsigned cullMode,
                     unsigned frontFace);
}

#endif  // WEB_PROBE_DEPTH_TARGET_H
