// SPDX-License-Identifier: MIT
// What GLUT's window offers the layers above it, besides GL/freeglut.h: a hook at the end of
// every frame, and the solid teapot as C++.
#ifndef WEB_GLUT_WINDOW_H
#define WEB_GLUT_WINDOW_H

namespace zbv::web::glut {

// Runs after the display callback of every frame from now on; null, nothing.
void onFrameEnd(void (*hook)());

// GLUT's solid teapot of this size, drawn through the GL layer in the current state.
void solidTeapot(double size);

}  // namespace zbv::web::glut

#endif  // WEB_GLUT_WINDOW_H
