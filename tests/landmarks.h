// SPDX-License-Identifier: MIT
// Assertions on pictures of the viewer's frame: pixels against the scene oracle, within a
// tolerance of so many steps of the least significant bit of the visual they were read from.
#ifndef TESTS_PROBES_H
#define TESTS_PROBES_H

#include <gtest/gtest.h>

#include <string>

#include "image.h"
#include "outcome.h"
#include "scene_facts.h"
#include "scene_oracle.h"

namespace zbv::test {

using facts::Point;

inline Rgb at(const Image& im, Point p) {
  return im.at(p.x, p.y);
}

// The tolerance for a picture: facts::kPixelSteps steps of its visual's channels.
int pixelTolerance(const Image& im);

// The call worked; else its reason is the message.
template <typename T>
::testing::AssertionResult worked(const Outcome<T>& outcome) {
  if (outcome) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << outcome.why();
}

// What the call made; where it failed, an empty value, and its reason as a failed expectation.
template <typename T>
T valueOr(Outcome<T> outcome) {
  EXPECT_TRUE(worked(outcome));
  return outcome ? std::move(*outcome) : T();
}

// The pixel is the expected colour, within the picture's tolerance.
::testing::AssertionResult near(const Image& im, Point p, const Rgb& expected);
// Every pixel of the rectangle is the expected colour, within the picture's tolerance.
::testing::AssertionResult rectMatches(const Image& im, int x, int y, int width, int height,
                                       const Rgb& expected);
// The picture shows the scene as the oracle sees it in this view: at every named landmark
// point (in a picture of the default size), and at every pixel of a grid over the picture
// where the oracle's picture is smooth.
::testing::AssertionResult showsScene(const Image& frame, const View& view);
// The two pictures are the same, pixel for pixel.
::testing::AssertionResult identical(const Image& a, const Image& b);
// A picture of today against the one kept in the source tree at root/file, which another
// renderer may have drawn and `command` draws anew: alike within the tolerance wherever the
// picture is smooth, with few pixels off along edges. Where they are not, the kept one is
// stale, and the failure says so with the figures.
::testing::AssertionResult matchesKept(const Image& today, const std::string& root,
                                       const std::string& file, const char* command);

// Width in pixels of the front (grey) teapot along the row through its body, in a frame of
// any size; lit or not, its pixels are the only neutral grey in that row brighter than the
// floor can ever be.
int frontTeapotWidth(const Image& frame);

}  // namespace zbv::test

#endif  // TESTS_PROBES_H
