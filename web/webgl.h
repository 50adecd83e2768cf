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
}

#endif  // WEB_WEBGL_H
