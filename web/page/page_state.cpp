// SPDX-License-Identifier: MIT
// What the page says beside the picture, read from the GL state as the last frame left it
// (page.js asks after each frame): the switches, and the colour each light shines in.
#include <GL/gl.h>
#include <emscripten.h>

extern "C" {

EMSCRIPTEN_KEEPALIVE int zbv_page_enabled(unsigned cap) {
  return glIsEnabled(cap) == GL_TRUE ? 1 : 0;
}

// The light's diffuse colour as three bits, red 4, green 2 and blue 1, each set where that
// channel is more than half on: 6 for yellow, 3 for cyan, 7 for white.
EMSCRIPTEN_KEEPALIVE int zbv_page_light_colour(unsigned light) {
  GLfloat colour[4] = {0, 0, 0, 0};
  glGetLightfv(light, GL_DIFFUSE, colour);
  return (colour[0] > 0.5f ? 4 : 0) | (colour[1] > 0.5f ? 2 : 0) | (colour[2] > 0.5f ? 1 : 0);
}

}  // extern "C"
