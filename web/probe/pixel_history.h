// SPDX-License-Identifier: MIT
// A pixel's history in the frame last drawn, for the page's script and the tests: records of
// numbers (doubles) in the module's memory, laid out as the lists below say and nowhere else.
// The page reads each field by its name (the build writes the lists for it: web/page/facts.py);
// C++ readers use the structures.
//
// Every code is the depth buffer's own: what this GPU stored, read back from it (capture.h),
// where it is known; each fragment's exact depth (in double precision, from its triangle's
// plane on the pixel's ray) and the code that depth would have stand beside it. They may
// differ by a code or more: the GPU interpolates depth in single precision, and OpenGL leaves
// it to the implementation to round or truncate it to the buffer's codes.
#ifndef WEB_PROBE_PIXEL_HISTORY_H
#define WEB_PROBE_PIXEL_HISTORY_H

// The frame: its near and far planes, the depth buffer's format (its bits: 16, 24 or 32, and
// 1 for a float), how many draws are shown (all, or the page's limit), the clear colour,
// whether depth was cleared (1 or 0), the code the GPU's depth buffer holds at the pixel after
// the frame (-2: not known), whether the GPU's codes are known (1 or 0), and how many draw
// records follow.
// clang-format off
#define ZBV_HISTORY_FRAME(F)                                                             \
  F(near) F(far) F(depthBits) F(depthFloat) F(shown) F(clearRed) F(clearGreen) F(clearBlue) \
  F(depthCleared) F(stored) F(gpu) F(draws)
// clang-format on
// A draw: whether it was shown at this step, its depth test and lighting (1 or 0); the code
// it brings to the pixel as this GPU computed it (its nearest fragment's: -1 none, -2 not
// known); the code stored before it and after it; its verdict (the history's verdict below,
// for the draw as a whole); and how many fragment records follow, each followed by three
// vertex records.
// clang-format off
#define ZBV_HISTORY_DRAW(F) \
  F(shown) F(depthTest) F(lighting) F(brought) F(before) F(after) F(verdict) F(fragments)
// clang-format on
// A fragment: the triangle's number in the draw; its exact depth (window z) and that depth's
// code; the code it brings (the GPU's for the draw's nearest fragment, where known, else the
// exact code), and whether that is the GPU's (1 or 0); the code stored before it, and the
// exact depth of the fragment that stored it (1 for the clear); the depth test's verdict
// (0: no test, 1: passed, 2: failed: GL_LESS between the two codes); its colour and its
// vertices' weights there.
// clang-format off
#define ZBV_HISTORY_FRAGMENT(F)                                                       \
  F(triangle) F(depth) F(exactCode) F(code) F(gpuCode) F(before) F(beforeDepth)      \
  F(verdict) F(red) F(green) F(blue) F(weight0) F(weight1) F(weight2)
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

// What the capture says a draw brings: none, or not known.
inline constexpr double kBringsNone = -1, kNotKnown = -2;

}  // namespace zbv::web::probe::history

extern "C" {

// The near and far planes of the frame's projection: two numbers.
const double* zbv_frame_planes();

// The history of the pixel at (x, y) in window coordinates (from the bottom left): a frame
// record, then each draw's record, each followed by its fragments' records, each of those by
// its three vertices' records.
const double* zbv_pixel_history(int x, int y);
}

#endif  // WEB_PROBE_PIXEL_HISTORY_H
