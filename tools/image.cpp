// SPDX-License-Identifier: MIT
#include "image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zbv {

int channelDistance(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

int lsbSteps(double steps, int bits) {
  const double step = bits >= 8 ? 1.0 : 255.0 / ((1 << bits) - 1);
  return static_cast<int>(std::ceil(steps * step - 1e-9));
}

Image::Image(int w, int h)
    : width(w), height(h), rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}

Rgb Image::at(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                        3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Image::set(int x, int y, const Rgb& c) {
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                        3;
  rgb[i] = static_cast<std::uint8_t>(c.r);
  rgb[i + 1] = static_cast<std::uint8_t>(c.g);
  rgb[i + 2] = static_cast<std::uint8_t>(c.b);
}

namespace {
Failure sizesDiffer(const Image& a, const Image& b) {
  return Failure{"the pictures differ in size: " + std::to_string(a.width) + "x" +
                 std::to_string(a.height) + " and " + std::to_string(b.width) + "x" +
                 std::to_string(b.height)};
}
}  // namespace

Outcome<int> imageDistance(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return sizesDiffer(a, b);
  int d = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) d = std::max(d, std::abs(a.rgb[i] - b.rgb[i]));
  return d;
}

namespace {
bool uniformAround(const Image& im, int x, int y, int tolerance) {
  const Rgb c = im.at(x, y);
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= im.width || ny >= im.height) continue;
      if (channelDistance(im.at(nx, ny), c) > tolerance) return false;
    }
  }
  return true;
}
}  // namespace

Outcome<Difference> smoothDifference(const Image& a, const Image& b, int tolerance) {
  if (a.width != b.width || a.height != b.height) return sizesDiffer(a, b);
  Difference d;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const int dist = channelDistance(a.at(x, y), b.at(x, y));
      if (uniformAround(a, x, y, tolerance) && uniformAround(b, x, y, tolerance))
        d.smooth = std::max(d.smooth, dist);
      else if (dist > tolerance)
        ++d.edgePixels;
    }
  }
  return d;
}

Outcome<> savePng(const Image& image, const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) == 0)
    return Failure{"cannot write " + path + ": " + png.message};
  return Done{};
}

Outcome<Image> loadPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0)
    return Failure{"cannot read " + path + ": " + png.message};
  png.format = PNG_FORMAT_RGB;
  Image out(static_cast<int>(png.width), static_cast<int>(png.height));
  if (png_image_finish_read(&png, nullptr, out.rgb.data(), 0, nullptr) == 0)
    return Failure{"cannot read " + path + ": " + png.message};
  return out;
}

}  // namespace zbv
