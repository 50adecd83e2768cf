// SPDX-License-Identifier: MIT
// The renderer in a browser: WebGL, through the browser side of the GL layer (webgl.js).
#ifndef WEB_GL_WEBGL_H
#define WEB_GL_WEBGL_H

#include "gl/renderer.h"

extern "C" {

void zbv_webgl_clear_color(float red, float green, float blue, float alpha);
void zbv_webgl_clear(unsigned mask);
void zbv_webgl_capability(unsigned cap, int on);
void zbv_webgl_cull_face(unsigned mode);
void zbv_webgl_front_face(unsigned mode);
void zbv_webgl_viewport(int x, int y, int width, int height);
// Draws count vertices of kVertexFloats floats each (renderer.h).
void zbv_webgl_draw(unsigned mode, const float* vertices, int count);
}

namespace zbv::web::gl {

// The renderer that hands every call to WebGL (the canvas GLUT opens).
inline constexpr Renderer kWebgl{zbv_webgl_clear_color, zbv_webgl_clear,      zbv_webgl_capability,
                                 zbv_webgl_cull_face,   zbv_webgl_front_face, zbv_webgl_viewport,
                                 zbv_webgl_draw};

}  // namespace zbv::web::gl

#endif  // WEB_GL_WEBGL_H
