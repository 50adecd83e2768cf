// SPDX-License-Identifier: MIT
// The scene's facts as the checkers (tests, gallery, benchmarks) know them, independently of
// the viewer's own literals: their types here, and what each value means. The values are in
// scene_facts.h, which the build makes from scene/facts.json and which includes this: include
// scene_facts.h, not this.
//
// kWidth, kHeight: the window's size at start-up. gluLookAt(kEye, kTarget, kUp), then
// gluPerspective(kFovyDegrees, aspect, kNear, kFar); kPlanes, the program's own planes.
// kBackground: what the frame shows where nothing is drawn. kLightPosition, kGlobalAmbient:
// where every light stands, and the global ambient light. kLights, and kYellow, kCyan and
// kWhite, their colours: the lights, in the order of the viewer's OpenGL lights 1, 2 and 3.
// kTeapots: in the order they are drawn. kPixelSteps, kSameRendererSteps, kEdgeShare,
// kDepthSteps24: tolerances, in steps of the least significant bit of the visual's channels
// (pixel steps) or of a 24-bit depth buffer, and the share of pixels that may differ along
// edges. kTour (kTourLength stops): the states a student steps through, each reached by one
// key from the one before; kStripStops, those the README shows side by side. kKeys:
// what each key sets; keyEffect(c), what key c sets (a key that sets nothing for any other).
// kDrawFiles (kDraws of them): the frame's draws in order (the floor, then each teapot), each
// named as the picture of the frame after it, without extension. kLabPresets: the lab's
// presets. kLandmarks: named points of the start-up frame (kSky, kTeapot1Front and the others).
#ifndef SCENE_TYPES_H
#define SCENE_TYPES_H

namespace zbv::facts {

struct Vec3 {
  double x, y, z;
};
struct Colour {
  double r, g, b;
};

// The near and far planes, as distances ahead of the eye.
struct Planes {
  double zNear, zFar;
};

// Every light stands at kLightPosition, with equal ambient and diffuse colours, no specular
// part and no attenuation; materials have equal ambient and diffuse colours, nothing else.
struct Light {
  const char* name;
  Colour colour;
};

// The floor: a square at height y, facing up.
struct Floor {
  double y, halfSize;
  Colour colour;
};

// A teapot: GLUT's solid teapot of this size, centred here.
struct Teapot {
  const char* name;
  Vec3 at;
  double size;
  Colour colour;
};

// A stop of the tour.
struct Stop {
  const char* file;   // picture name, without extension
  char key;           // key pressed to get here; 0 for the start-up picture
  const char* shows;  // one line on what the picture shows
};

// What a key sets, whatever the state before it: 1 or 0 for the depth test and lighting, -1
// where it leaves that switch alone; light, the one light that shines (its place in kLights),
// or -1. Keys not listed change nothing.
struct Key {
  char key;
  int depthTest, lighting, light;
};

// The depth buffer's formats the lab offers: integers of 16 or 24 bits, or 32-bit floats.
enum class DepthFormat { kInt16, kInt24, kFloat32 };
// The bits of an integer format's values; 0 for floats.
constexpr int integerBits(DepthFormat f) {
  return f == DepthFormat::kInt16 ? 16 : f == DepthFormat::kInt24 ? 24 : 0;
}

// A preset of the lab: the scene drawn with other planes, into a depth buffer of this format.
struct LabPreset {
  const char* file;  // picture name, without extension
  Planes planes;
  DepthFormat depth;
  const char* shows;  // one line on what to notice
};

// A point of the start-up frame, counted from its top-left corner; a named one.
struct Point {
  int x, y;
};
struct Landmark {
  const char* name;
  Point at;
};

}  // namespace zbv::facts

#endif  // SCENE_TYPES_H
