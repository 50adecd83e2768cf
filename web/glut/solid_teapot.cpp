// SPDX-License-Identifier: MIT
// glutSolidTeapot: the teapot's triangles, made once for each size asked, drawn from arrays.
#include "gl/core.h"
#include "teapot.h"
#include "window.h"

namespace zbv::web::glut {

void solidTeapot(double size) {
  static double made = 0;
  static TeapotMesh mesh;
  if (mesh.positions.empty() || made != size) {
    mesh = makeTeapot(size);
    made = size;
  }
  gl::drawTriangles(mesh.positions.data(), mesh.normals.data(), kTeapotVertices,
                    mesh.indices.data(), static_cast<int>(mesh.indices.size()));
}

}  // namespace zbv::web::glut
