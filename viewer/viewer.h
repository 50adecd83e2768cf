// SPDX-License-Identifier: MIT
// The viewer's render state and GLUT callbacks. All lasting state lives in the current
// OpenGL context; these functions keep none of their own.
#ifndef VIEWER_VIEWER_H
#define VIEWER_VIEWER_H

// Fixed render state; needs a current context.
void init();

// Draws the whole frame and swaps buffers.
void display();

// Fits the viewport and the 60-degree perspective to a window of this size.
void reshape(int width, int height);

// Keys 1-7: depth test on/off, lighting on/off, only the yellow/cyan/white light.
void keyboard(unsigned char key, int x, int y);

#endif  // VIEWER_VIEWER_H
