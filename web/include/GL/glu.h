/* SPDX-License-Identifier: MIT */
/* The two GLU matrices the web build offers. */
#ifndef ZBV_WEB_GLU_H
#define ZBV_WEB_GLU_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);

#ifdef __cplusplus
}
#endif

#endif /* ZBV_WEB_GLU_H */
