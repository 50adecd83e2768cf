// SPDX-License-Identifier: MIT
#include "landmarks.h"

#include <algorithm>
#include <cmath>

namespace zbv::test {

using namespace facts;

int pixelTolerance(const Image& im) {
  return lsbSteps(kPixelSteps, im.bits);
}

::testing::AssertionResult near(const Image& im, Point p, const Rgb& expected) {
  const Rgb got = at(im, p);
  if (channelDistance(got, expected) <= pixelTolerance(im)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "at " << p.x << "," << p.y << ": " << got << ", expected " << expected;
}

::testing::AssertionResult rectMatches(const Image& im, int x, int y, int width, int height,
                                       const Rgb& expected) {
  int off = 0;
  ::testing::Message first;
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) {
      if (channelDistance(im.at(col, row), expected) <= pixelTolerance(im)) continue;
      if (off++ == 0) first << " first at " << col << "," << row << ": " << im.at(col, row);
    }
  }
  if (off == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << off << " pixels of the " << width << "x" << height << " rectangle at " << x << "," << y
         << " are not " << expected << ";" << first;
}

::testing::AssertionResult showsScene(const Image& frame, const View& view) {
  if (frame.width != view.width || frame.height != view.height) {
    return ::testing::AssertionFailure() << "a " << frame.width << "x" << frame.height
                                         << " picture, not " << view.width << "x" << view.height;
  }
  const SceneOracle oracle(view);
  const int tolerance = pixelTolerance(frame);
  int off = 0, compared = 0, samples = 0;
  ::testing::Message details;
  const auto compare = [&](const char* name, int x, int y) {
    const Rgb expected = toRgb(oracle.at(x, y).colour), got = frame.at(x, y);
    ++compared;
    if (channelDistance(got, expected) <= tolerance) return;
    if (off++ < 5) {
      details << "\n  " << (name ? name : "") << " at " << x << "," << y << ": " << got
              << ", expected " << expected;
    }
  };
  if (view.width == kWidth && view.height == kHeight) {
    for (const Landmark& landmark : kLandmarks)
      compare(landmark.name, landmark.at.x, landmark.at.y);
  }
  // A grid of pixels, fine enough to meet every teapot many times over.
  constexpr int kStep = 6;
  for (int y = kStep / 2; y < view.height; y += kStep) {
    for (int x = kStep / 2; x < view.width; x += kStep) {
      ++samples;
      if (oracle.smoothAt(x, y, tolerance)) compare(nullptr, x, y);
    }
  }
  if (off == 0 && compared * 2 >= samples) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << off << " of " << compared << " pixels compared differ from the scene by more than "
         << tolerance << (compared * 2 < samples ? " (too few smooth pixels to compare)" : "")
         << details;
}

::testing::AssertionResult identical(const Image& a, const Image& b) {
  const auto d = imageDistance(a, b);
  if (d && *d == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << (d ? "up to " + std::to_string(*d) + "/255 apart" : d.why());
}

::testing::AssertionResult matchesKept(const Image& today, const std::string& root,
                                       const std::string& file, const char* command) {
  const auto kept = loadPng(root + "/" + file);
  if (!kept) return ::testing::AssertionFailure() << kept.why();
  const int tolerance = pixelTolerance(today);
  const auto d = smoothDifference(today, *kept, tolerance);
  if (!d) return ::testing::AssertionFailure() << file << ": " << d.why();
  const double edges = kEdgeShare * today.width * today.height;
  if (d->smooth <= tolerance && d->edgePixels <= edges) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << file << " is stale: `" << command << "` draws it anew (" << d->smooth
         << "/255 apart where smooth, " << d->edgePixels << " edge pixels differ; allowed "
         << tolerance << "/255, " << kPixelSteps << " steps of the " << today.bits
         << "-bit channels read today)";
}

int frontTeapotWidth(const Image& frame) {
  const int row = frame.height * kTeapot1Front.y / kHeight;
  // The floor at its brightest: its colour under the global ambient, the light's ambient and
  // a full diffuse part.
  const double floorMost =
      255 * std::max({kFloor.colour.r, kFloor.colour.g, kFloor.colour.b}) * (kGlobalAmbient + 2);
  // Neutral: its channels less than one step of the coarsest channel apart (equal in 8 bits;
  // with 5 and 6 bits the same grey rounds to different 8-bit values).
  const int step = lsbSteps(1, frame.bits);
  int n = 0;
  for (int x = 0; x < frame.width; ++x) {
    const Rgb c = frame.at(x, row);
    const int spread = std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
    n += spread < step && c.r > floorMost ? 1 : 0;
  }
  return n;
}

}  // namespace zbv::test
