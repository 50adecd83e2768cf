// SPDX-License-Identifier: MIT
// An 8-bit RGB picture, rows from the top, and PNG input/output.
#ifndef TOOLS_IMAGE_H
#define TOOLS_IMAGE_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "outcome.h"

namespace zbv {

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb& x, const Rgb& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b;
  }
  friend bool operator!=(const Rgb& x, const Rgb& y) { return !(x == y); }
  friend std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << '(' << c.r << ", " << c.g << ", " << c.b << ')';
  }
};

// Largest difference of any channel.
int channelDistance(const Rgb& a, const Rgb& b);

// A tolerance of so many steps of the least significant bit of a channel with this many
// bits, in the 8-bit units of a picture (rounded up): 3 steps of 8 bits are 3, of 6 bits 13.
int lsbSteps(double steps, int bits);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, top row first
  int bits = 8;                   // per channel, in the visual it was read from

  Image() = default;
  Image(int w, int h);
  bool empty() const { return width == 0 || height == 0; }
  // Pixel at column x, row y counted from the top.
  Rgb at(int x, int y) const;
  void set(int x, int y, const Rgb& c);
  friend bool operator==(const Image& a, const Image& b) {
    return a.width == b.width && a.height == b.height && a.rgb == b.rgb;
  }
  friend bool operator!=(const Image& a, const Image& b) { return !(a == b); }
};

// Largest channel difference over the whole picture; pictures of two sizes have none.
Outcome<int> imageDistance(const Image& a, const Image& b);

// Two renderers draw one scene alike where it is smooth, and may differ by a pixel along edges.
// The largest channel difference over the pixels whose 3x3 neighbourhood is uniform within
// the tolerance in both pictures, and how many of the other pixels differ by more than the
// tolerance; pictures of two sizes have none.
struct Difference {
  int smooth = 0;
  int edgePixels = 0;
};
Outcome<Difference> smoothDifference(const Image& a, const Image& b, int tolerance);

Outcome<> savePng(const Image& image, const std::string& path);
Outcome<Image> loadPng(const std::string& path);

}  // namespace zbv

#endif  // TOOLS_IMAGE_H
