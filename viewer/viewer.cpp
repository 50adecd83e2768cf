// SPDX-License-Identifier: MIT
#include "viewer.h"

#include <base/tvector>

#include "glut.h"

void init() {
  glClearColor(0, 0, 0, 1);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  // GLUT's teapot and our floor wind their outward faces clockwise.
  glFrontFace(GL_CW);
  glEnable(GL_LIGHT3);
}

namespace {

// Material for the lit picture and flat colour for the unlit one.
void material(const Vec4f& colour) {
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, colour.data());
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, colour.data());
  glColor3fv(colour.data());
}

}  // namespace

void display() {
  glMatrixMode(GL_MODELVIEW);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  gluLookAt(0, 5, 10, 0, 0, 0, 0, 1, 0);

  const GLfloat light1pos[] = {5, 3, 0, 1};
  const Vec4f yellow(Vec4d(1, 1, 0, 1));
  const Vec4f cyan(Vec4d(0, 1, 1, 1));
  Vec4f white(Vec4d(1, 1, 1, 1));

  glEnable(GL_NORMALIZE);

  // Given after the camera, so all three lights stand at (5, 3, 0) in the world.
  glLightfv(GL_LIGHT1, GL_POSITION, light1pos);
  glLightfv(GL_LIGHT2, GL_POSITION, light1pos);
  glLightfv(GL_LIGHT3, GL_POSITION, light1pos);

  glLightfv(GL_LIGHT1, GL_DIFFUSE, yellow.data());
  glLightfv(GL_LIGHT1, GL_AMBIENT, yellow.data());
  glLightfv(GL_LIGHT2, GL_DIFFUSE, cyan.data());
  glLightfv(GL_LIGHT2, GL_AMBIENT, cyan.data());
  glLightfv(GL_LIGHT3, GL_DIFFUSE, white.data());
  glLightfv(GL_LIGHT3, GL_AMBIENT, white.data());

  white *= 0.6;

  // Floor: dark grey, facing up.
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, (white * 0.2f).data());
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, (white * 0.2f).data());
  glColor3fv((white * 0.2f).data());
  glNormal3f(0, 1, 0);
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3d(100, -2, -100);
  glVertex3d(100, -2, 100);
  glVertex3d(-100, -2, -100);
  glVertex3d(-100, -2, 100);
  glEnd();

  // Grey teapot at the origin.
  material(white);
  glutSolidTeapot(3.0);

  // Dull red, at (3, 0, -5).
  white.Y() = static_cast<float>(white.Y() * 0.2);
  white.Z() = static_cast<float>(white.Z() * 0.2);
  glTranslatef(3, 0, -5);
  material(white);
  glutSolidTeapot(3.0);

  // Dull blue; the translations add up to (-3, 0, -10).
  white.Z() = static_cast<float>(white.Z() / 0.2);
  white.X() = static_cast<float>(white.X() * 0.2);
  glTranslatef(-6, 0, -5);
  material(white);
  glutSolidTeapot(3.0);

  glFlush();
  glutSwapBuffers();
}

void reshape(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // A window squeezed to no height still gets a finite aspect ratio.
  const double aspect = static_cast<double>(width) / (height == 0 ? 1 : height);
  gluPerspective(60.0, aspect, 0.1, 100.0);
  glutPostRedisplay();
}

void keyboard(unsigned char key, int /*x*/, int /*y*/) {
  switch (key) {
    case '1':
      glEnable(GL_DEPTH_TEST);
      break;
    case '2':
      glDisable(GL_DEPTH_TEST);
      break;
    case '3':
      glEnable(GL_LIGHTING);
      break;
    case '4':
      glDisable(GL_LIGHTING);
      break;
    case '5':
      glEnable(GL_LIGHT1);
      glDisable(GL_LIGHT2);
      glDisable(GL_LIGHT3);
      break;
    case '6':
      glEnable(GL_LIGHT2);
      glDisable(GL_LIGHT1);
      glDisable(GL_LIGHT3);
      break;
    case '7':
      glEnable(GL_LIGHT3);
      glDisable(GL_LIGHT1);
      glDisable(GL_LIGHT2);
      break;
    default:
      break;
  }
  glutPostRedisplay();
}
