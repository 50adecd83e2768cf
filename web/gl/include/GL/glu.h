/* SPDX-License-Identifier: MIT */
/* The part of GLU that the web build offers.

   Implemented:
    [x] gluLookAt and gluPerspective, multiplied onto the current matrix as GLU does
        (gluPerspective changes nothing for a flat view, an empty depth range or no width).
   Not implemented:
    [ ] gluOrtho2D, gluPickMatrix, gluProject/gluUnProject, gluErrorString.
    [ ] Quadrics, tessellation, NURBS, mipmaps. */
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
