# SPDX-License-Identifier: MIT
# Building for web browsers with Debian's Emscripten (package emscripten).
set(ZBV_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Where Emscripten is installed")
include(${ZBV_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
