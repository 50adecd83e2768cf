// SPDX-License-Identifier: MIT
// What the browser side (canvas.js) does for GLUT: the canvas as the window, and its frames.
#ifndef WEB_GLUT_CANVAS_H
#define WEB_GLUT_CANVAS_H

extern "C" {

// Opens the canvas as the window with this title, its vertices laid out as the GL layer's
// renderer takes them (gl/renderer.h): 1 on success, 0 (and a message on the page) when the
// browser has no WebGL or it fails to prepare its shader.
int zbv_glut_open(const char* title, int depth, int clipFloats, int colourFloats);
// Asks for zbv_glut_frame at the browser's next animation frame.
void zbv_glut_request_frame();
}

#endif  // WEB_GLUT_CANVAS_H
