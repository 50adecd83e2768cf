// SPDX-License-Identifier: MIT
#include "image.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

namespace zbv {

int channelDistance(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
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

int imageDistance(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int d = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) d = std::max(d, std::abs(a.rgb[i] - b.rgb[i]));
  return d;
}

bool savePng(const Image& image, const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
}

bool loadPng(const std::string& path, Image* image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return false;
  png.format = PNG_FORMAT_RGB;
  Image out(static_cast<int>(png.width), static_cast<int>(png.height));
  if (png_image_finish_read(&png, nullptr, out.rgb.data(), 0, nullptr) == 0) return false;
  *image = std::move(out);
  return true;
}

}  // namespace zbv
