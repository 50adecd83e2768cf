// SPDX-License-Identifier: MIT
// The one place that includes OpenGL, GLU and GLUT.
#ifndef VIEWER_GLUT_H
#define VIEWER_GLUT_H

#if defined(__APPLE__)
#ifndef GL_SILENCE_DEPRECATION
#define GL_SILENCE_DEPRECATION
#endif
#include <GLUT/glut.h>
#else
#include <GL/freeglut.h>
#endif

#endif  // VIEWER_GLUT_H
