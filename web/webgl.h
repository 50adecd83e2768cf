// SPDX-License-Identifier: MIT
// What the browser side (webgl.js) does for the GL and GLUT layers: the canvas, its WebGL
// context and the events that reach the window.
#ifndef WEB_WEBGL_H
#define WEB_WEBGL_H

namespace zbv::web {

// A vertex as WebGL draws it: clip coordinates (x, y, z, w), then its colour (red, green,
// blue, alpha), all floats.
inline constexpr int kClipFloats = 4;
inline constexpr int kColourFloats = 4;
inline constexpr int kVertexFloats = kClipFloats + kColourFloats;

}  // namespace zbv::web

extern "C" {

// Opens the canvas as the window with this title, its vertices laid out as above: 1 on
// success, 0 (and a message on the page) when the browser has no WebGL or it fails to
// prepare its shader.
int zbv_webgl_open(const char* title, int depth, int clipFloats, int colourFloats);
void zbv_webgl_clear_color(float red, float green, float blue, float alpha);
void zbv_webgl_clear(unsigned mask);
void zbv_webgl_capability(unsigned cap, int on);
void zbv_webgl_cull_face(unsigned mode);
void zbv_webgl_front_face(unsigned mode);
void zbv_webgl_viewport(int x, int y, int width, int height);
// Draws count vertices of kVertexFloats floats each.
void zbv_webgl_draw(unsigned mode, const float* vertices, int count);
// Asks for zbv_glut_frame at the browser's next animation frame.
void zbv_webgl_request_frame();

// The depth target (depth_target.js): a colour buffer of the drawing buffer's size that
// holds, packed in 24 bits, the depth a draw leaves where the depth test lets it write.
// Cleared to 1 with the depth buffer; the draw is the vertices zbv_webgl_draw was given last,
// under the same depth test; at the end of a frame it is read back for the page.
void zbv_depth_clear(unsigned mask);
void zbv_depth_draw(unsigned mode, int count);
void zbv_depth_frame_end();
// Whether WebGL covers pixel (x, y) with one triangle (three vertices as zbv_webgl_draw takes
// them) under this culling: 1 or 0. The picture and the depth target are left as they are.
// How finely the rasteriser places vertices: to 1 / 2^bits of a pixel.
int zbv_webgl_subpixel_bits();
int zbv_webgl_covers(const float* vertices, int x, int y, int cullFace, unsigned cullMode,
                     unsigned frontFace);
}

#endif  // WEB_WEBGL_H
