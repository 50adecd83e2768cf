// SPDX-License-Identifier: MIT
// What the viewer's frame must show at a pixel, found from the scene's facts alone: the ray
// through the pixel's centre meets the floor or a teapot (GLUT's teapot, tessellated as GLUT
// does), and the colour there is what lighting gives the triangle's corners, interpolated
// across it, or the object's flat colour when lighting is off.
#ifndef TESTS_SCENE_ORACLE_H
#define TESTS_SCENE_ORACLE_H

#include <vector>

#include "image.h"
#include "lighting.h"
#include "scene_facts.h"

namespace zbv::test {

// The state a frame is drawn in, and how much of it: the first `draws` of its draws (the
// floor, then each teapot in order).
struct View {
  bool depthTest = true;
  bool lighting = true;
  Colour light = facts::kWhite;  // the one light that shines
  int width = facts::kWidth, height = facts::kHeight;
  int draws = facts::kDraws;
  facts::Planes planes = facts::kPlanes;  // what is nearer or farther is cut away
};

// The state a key leaves, as facts::kKeys says.
View afterKey(View view, char key);

// What a pixel shows: which object (kNothing, kFloor, or a teapot's index in facts::kTeapots),
// its colour, and its eye depth (0 for nothing).
struct Seen {
  static constexpr int kNothing = -2, kFloor = -1;
  int object = kNothing;
  Colour colour = facts::kBackground;
  double depth = 0;
};

class SceneOracle {
 public:
  explicit SceneOracle(const View& view);
  // What the pixel at (x, y), counted from the top-left corner, shows.
  Seen at(int x, int y) const;
  // Whether the pixel and its eight neighbours show one object in one colour (within this
  // many 8-bit steps): a pixel where a renderer's rounding cannot matter.
  bool smoothAt(int x, int y, int tolerance) const;

 private:
  struct Triangle {
    int object;
    Vec3 a, b, c;
    Colour ca, cb, cc;
  };
  View view_;
  std::vector<Triangle> triangles_;  // front faces, in the order they are drawn
  // Triangles whose projection may cover each cell of a coarse grid over the window.
  static constexpr int kCell = 8;
  int columns_ = 0;
  std::vector<std::vector<int>> cells_;
};

}  // namespace zbv::test

#endif  // TESTS_SCENE_ORACLE_H
