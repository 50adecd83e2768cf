// SPDX-License-Identifier: MIT
// What GLUT's window offers the layers above it, besides GL/freeglut.h: a hook at the end of
// every frame, the reshape callback called again, and the solid teapot as C++.
#ifndef WEB_GLUT_WINDOW_H
#define WEB_GLUT_WINDOW_H

namespace zbv::web::glut {

// Runs after the display callback of every frame from now on; null, nothing.
void onFrameEnd(void (*hook)());

// The window's reshape callback called again with its size, as if it had been resized to
// the size it has (which posts a redisplay): for a layer that changes how the program's calls
// are carried out.
void reshapeAgain();

// GLUT's solid teapot of this size, drawn through the GL layer in the current state.
void solidTeapot(double size);

}  // namespace zbv::web::glut

#endif  // WEB_GLUT_WINDOW_H
