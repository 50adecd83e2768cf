// SPDX-License-Identifier: MIT
#include "lab_planes.h"

#include <emscripten.h>

#include "gl/hooks.h"
#include "glut/window.h"

namespace zbv::web::page {

namespace {

double labNear = 0, labFar = 0;
double asked[2] = {0, 0};

void substitute(double* zNear, double* zFar) {
  asked[0] = *zNear;
  asked[1] = *zFar;
  if (labNear <= 0) return;
  *zNear = labNear;
  *zFar = labFar;
}

}  // namespace

void installLab() {
  gl::onPerspective(substitute);
}

double askedNear() {
  return asked[0];
}

double askedFar() {
  return asked[1];
}

}  // namespace zbv::web::page

extern "C" EMSCRIPTEN_KEEPALIVE void zbv_lab_planes(double near, double far) {
  zbv::web::page::labNear = near;
  zbv::web::page::labFar = far;
  zbv::web::glut::reshapeAgain();
}
