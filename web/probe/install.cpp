// SPDX-License-Identifier: MIT
// The probe in the page: it watches every frame from the first, through the GL layer's
// hooks and GLUT's frame end, registered before main runs. Nothing else names this file: the
// page's link takes it from its library (--undefined=zbv_probe_install, web/CMakeLists.txt),
// and keeps it whole because the install is exported (a script may call it again; it only
// registers the same hooks again).
#include <emscripten.h>

#include "frame_record.h"
#include "glut/window.h"

extern "C" EMSCRIPTEN_KEEPALIVE void zbv_probe_install() {
  zbv::web::probe::watchFrames();
  // What the GPU stored is read back for the page once each frame is drawn.
  zbv::web::glut::onFrameEnd(zbv::web::probe::frameEnded);
}

namespace {

[[maybe_unused]] const bool installed = (zbv_probe_install(), true);

}  // namespace
