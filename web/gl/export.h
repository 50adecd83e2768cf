// SPDX-License-Identifier: MIT
// Functions the page's scripts call: kept and exported in the page, plain functions natively.
#ifndef WEB_GL_EXPORT_H
#define WEB_GL_EXPORT_H

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#define ZBV_EXPORT EMSCRIPTEN_KEEPALIVE
#else
#define ZBV_EXPORT
#endif

#endif  // WEB_GL_EXPORT_H
