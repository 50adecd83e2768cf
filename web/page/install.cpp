// SPDX-License-Identifier: MIT
// The page in the program: it hears of GLUT's window from the first, and the lab's planes
// stand in for the program's, its hooks registered before main runs. Nothing else names this
// file: the page's link takes it from its library (--undefined=zbv_page_install_hooks,
// page/CMakeLists.txt).
#include <emscripten.h>

#include "lab_planes.h"

extern "C" {

// The page's script registers its hooks (page.js).
void zbv_page_install();

EMSCRIPTEN_KEEPALIVE void zbv_page_install_hooks() {
  zbv::web::page::installLab();
  zbv_page_install();
}

}  // extern "C"

namespace {

[[maybe_unused]] const bool installed = (zbv_page_install_hooks(), true);

}  // namespace
