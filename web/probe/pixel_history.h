// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn, for the page's script and the tests: records of
// numbers (doubles) in the module's memory, laid out as the lists below say and nowhere else.
// The page reads each field by its name (zbv_pixel_history_layout); C++ readers use the
// structures.
#ifndef WEB_PROBE_PIXEL_HISTORY_H
#define WEB_PROBE_PIXEL_HISTORY_H

// The frame: its near and far planes, the depth buffer's format (its bits: 16, 24 or 32, and
// 1 for a float), how many draws are shown (all, or the page's limit), the clear colour,
// whether depth was cleared (1 or 0), and how many draw records follow.
// clang-format off
#define ZBV_HISTORY_FRAME(F)                                                             \
  F(near) F(far) F(depthBits) F(depthFloat) F(shown) F(clearRed) F(clearGreen) F(clearBlue) \
  F(depthCleared) F(draws)
// clang-format on
// A draw: its depth test and lighting (1 or 0), and how many fragment records follow, each
// fragment followed by three vertex records.
#define ZBV_HISTORY_DRAW(F) F(depthTest) F(lighting) F(fragments)
// A fragment: the triangle's number in the draw, the fragment's depth (window z) and the code
// the depth buffer keeps for it (depth_format.h), the code stored before it and the depth of
// the fragment that stored it (1 for the clear), the depth test's verdict (0: no test,
// 1: passed, 2: failed: GL_LESS between the two codes), its colour, and its vertices' weights
// there.
// clang-format off
#define ZBV_HISTORY_FRAGMENT(F)                                                           \
  F(triangle) F(depth) F(code) F(before) F(beforeDepth) F(verdict) F(red) F(green) F(blue) \
  F(weight0) F(weight1) F(weight2)
// clang-format on
// A vertex of the fragment's triangle: its colour, and the parts lighting summed it from
// (ambient, diffuse, specular), and n.l.
// clang-format off
#define ZBV_HISTORY_VERTEX(F)                                                                  \
  F(red) F(green) F(blue) F(ambientRed) F(ambientGreen) F(ambientBlue) F(diffuseRed)           \
  F(diffuseGreen) F(diffuseBlue) F(specularRed) F(specularGreen) F(specularBlue) F(ndotl)
// clang-format on

namespace zbv::web::probe::history {

#define ZBV_HISTORY_FIELD(name) double name;
struct Frame {
  ZBV_HISTORY_FRAME(ZBV_HISTORY_FIELD)
};
struct Draw {
  ZBV_HISTORY_DRAW(ZBV_HISTORY_FIELD)
};
struct Fragment {
  ZBV_HISTORY_FRAGMENT(ZBV_HISTORY_FIELD)
};
struct Vertex {
  ZBV_HISTORY_VERTEX(ZBV_HISTORY_FIELD)
};
#undef ZBV_HISTORY_FIELD

enum Verdict { noTest = 0, passed = 1, failed = 2 };

}  // namespace zbv::web::probe::history

extern "C" {

// The near and far planes of the frame's projection: two numbers.
const double* zbv_frame_planes();

// The history of the pixel at (x, y) in window coordinates (from the bottom left): a frame
// record, then each draw's record, each followed by its fragments' records, each of those by
// its three vertices' records.
const double* zbv_pixel_history(int x, int y);

// The records' fields by name, "frame:near,far,...;draw:...;fragment:...;vertex:...".
const char* zbv_pixel_history_layout();
}

#endif  // WEB_PROBE_PIXEL_HISTORY_H
