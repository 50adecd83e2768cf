/* SPDX-License-Identifier: MIT */
/* The part of OpenGL 1.x that the web build offers, drawn through WebGL: lighting,
   materials, matrices and immediate-mode triangles. Names and values are OpenGL's.

   Implemented:
    [x] One context; glGetError with OpenGL's errors for what is below (a bad enumeration,
        value, or a call between glBegin and glEnd).
    [x] glEnable/glDisable/glIsEnabled: GL_DEPTH_TEST (GL_LESS, writing depth), GL_CULL_FACE
        (glCullFace, glFrontFace), GL_LIGHTING, GL_LIGHT0-7, GL_NORMALIZE.
    [x] glClear (colour and depth), glClearColor, glViewport, glFlush.
    [x] The model-view and projection matrices: glMatrixMode, glLoadIdentity, glMultMatrixf,
        glTranslatef.
    [x] Per-vertex lighting as OpenGL defines it: lights 0-7, positional and directional, each
        with ambient, diffuse and specular colours (glLightfv, glGetLightfv); materials with
        ambient, diffuse, specular, emission and shininess (glMaterialfv); the global ambient
        light 0.2; the normal through the inverse of the model-view matrix, normalised or not.
    [x] glBegin/glEnd with GL_TRIANGLES, GL_TRIANGLE_STRIP and GL_TRIANGLE_FAN; glVertex3f/3d,
        glNormal3f, glColor3f/3fv. Colours are interpolated across each triangle.
   Not implemented:
    [ ] Attenuation and spot lights (glLightf): every light has OpenGL's initial constant
        attenuation 1 and no cone.
    [ ] glLightModel: the global ambient light stays 0.2, the viewer at infinity, lighting
        one-sided (the front material lights both faces; the back material is kept, unused).
    [ ] GL_COLOR_MATERIAL, flat shading, alpha blending, glDepthFunc, glDepthMask.
    [ ] Points, lines, quads and polygons; vertex arrays; display lists.
    [ ] Textures, fog, stencil, glReadPixels, feedback and selection.
    [ ] glPushMatrix/glPopMatrix, glRotatef, glScalef, glLoadMatrixf, glGet of matrices.
    [ ] Clipping planes beyond the view volume's own. */
#ifndef ZBV_WEB_GL_H
#define ZBV_WEB_GL_H

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef int GLint;
typedef int GLsizei;
typedef unsigned int GLuint;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef void GLvoid;

#define GL_FALSE 0
#define GL_TRUE 1

#define GL_NO_ERROR 0
#define GL_INVALID_ENUM 0x0500
#define GL_INVALID_VALUE 0x0501
#define GL_INVALID_OPERATION 0x0502

#define GL_CULL_FACE 0x0B44
#define GL_LIGHTING 0x0B50
#define GL_DEPTH_TEST 0x0B71
#define GL_NORMALIZE 0x0BA1
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_LIGHT2 0x4002
#define GL_LIGHT3 0x4003
#define GL_LIGHT4 0x4004
#define GL_LIGHT5 0x4005
#define GL_LIGHT6 0x4006
#define GL_LIGHT7 0x4007

#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408
#define GL_CW 0x0900
#define GL_CCW 0x0901

#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701

#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000

#define GL_TRIANGLES 0x0004
#define GL_TRIANGLE_STRIP 0x0005
#define GL_TRIANGLE_FAN 0x0006

#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glClear(GLbitfield mask);
void glEnable(GLenum cap);
void glDisable(GLenum cap);
GLboolean glIsEnabled(GLenum cap);
void glCullFace(GLenum mode);
void glFrontFace(GLenum mode);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glFlush(void);
GLenum glGetError(void);

void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glMultMatrixf(const GLfloat* m);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);

void glLightfv(GLenum light, GLenum pname, const GLfloat* params);
void glGetLightfv(GLenum light, GLenum pname, GLfloat* params);
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params);

void glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void glColor3fv(const GLfloat* v);
void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz);
void glBegin(GLenum mode);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glVertex3d(GLdouble x, GLdouble y, GLdouble z);
void glEnd(void);

#ifdef __cplusplus
}
#endif

#endif /* ZBV_WEB_GL_H */
