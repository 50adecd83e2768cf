/* SPDX-License-Identifier: MIT */
/* The part of GLUT that the web build offers: one window (a canvas), its display, reshape
   and keyboard callbacks, redisplay on request, and the solid teapot. */
#ifndef ZBV_WEB_FREEGLUT_H
#define ZBV_WEB_FREEGLUT_H

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GLUT_RGB 0
#define GLUT_RGBA 0
#define GLUT_SINGLE 0
#define GLUT_DOUBLE 2
#define GLUT_DEPTH 16

void glutInit(int* argcp, char** argv);
void glutInitDisplayMode(unsigned int mode);
int glutCreateWindow(const char* title);
void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutPostRedisplay(void);
void glutSwapBuffers(void);
void glutMainLoop(void);
void glutSolidTeapot(GLdouble size);

#ifdef __cplusplus
}
#endif

#endif /* ZBV_WEB_FREEGLUT_H */
