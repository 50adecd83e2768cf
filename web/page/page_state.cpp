// SPDX-License-Identifier: MIT
// What the page shows beside the picture after each frame, in one call: the switches, the
// colour each light shines in, how much of the frame is drawn and the planes it was drawn
// with, read from the GL state and the frame's record as the frame left them. Every field is
// a double; the page finds each by its name, as the list below gives it (the build writes the
// list into the page's script: web/page/facts.py), so the layout is written here alone.
#include <GL/gl.h>
#include <emscripten.h>

#include "lab_planes.h"
#include "probe/frame_record.h"
#include "probe/pixel_history.h"

// The depth test and lighting (1 or 0); the lights on, one bit a light (light 0 the lowest);
// each light's diffuse colour in three bits (red 4, green 2, blue 1, each set where that
// channel is more than half on: 6 yellow, 3 cyan, 7 white), light i's at bit 3i; how many
// draws of the frame are shown and how many of those tested (and wrote) depth; the frame's
// near and far planes, and those the program asked for (the lab may draw with others).
// clang-format off
#define ZBV_PAGE_STATE(F)                                                                  \
  F(depthTest) F(lighting) F(lightsOn) F(lightColours) F(drawsShown) F(drawsTestingDepth) \
  F(near) F(far) F(askedNear) F(askedFar)
// clang-format on

namespace {

#define ZBV_PAGE_FIELD(name) double name;
struct PageState {
  ZBV_PAGE_STATE(ZBV_PAGE_FIELD)
};
#undef ZBV_PAGE_FIELD

constexpr int kLights = 8;

double enabled(GLenum cap) {
  return glIsEnabled(cap) == GL_TRUE ? 1 : 0;
}

int colourBits(GLenum light) {
  GLfloat colour[4] = {0, 0, 0, 0};
  glGetLightfv(light, GL_DIFFUSE, colour);
  return (colour[0] > 0.5f ? 4 : 0) | (colour[1] > 0.5f ? 2 : 0) | (colour[2] > 0.5f ? 1 : 0);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const double* zbv_page_state() {
  static PageState s;
  int on = 0, colours = 0;
  for (int i = 0; i < kLights; ++i) {
    const GLenum light = static_cast<GLenum>(GL_LIGHT0 + i);
    if (glIsEnabled(light) == GL_TRUE) on |= 1 << i;
    colours |= colourBits(light) << (3 * i);
  }
  const double* planes = zbv_frame_planes();
  s = {enabled(GL_DEPTH_TEST),
       enabled(GL_LIGHTING),
       double(on),
       double(colours),
       double(zbv_frame_draws_shown()),
       double(zbv_frame_draws_testing_depth()),
       planes[0],
       planes[1],
       zbv::web::page::askedNear(),
       zbv::web::page::askedFar()};
  return &s.depthTest;
}

}  // extern "C"
