// SPDX-License-Identifier: MIT
// Random arguments for the web GL's tests against the desktop's OpenGL: the same seed gives
// the same sequence everywhere, so that a failure can be run again.
#ifndef TESTS_WEB_RANDOM_H
#define TESTS_WEB_RANDOM_H

#include <array>
#include <cmath>
#include <random>

namespace zbv::test {

class Random {
 public:
  explicit Random(unsigned seed) : engine_(seed) {}
  double operator()(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(engine_);
  }
  float f(double lo, double hi) { return static_cast<float>((*this)(lo, hi)); }
  bool chance(double p) { return (*this)(0, 1) < p; }
  std::array<float, 4> colour() { return {f(0, 1), f(0, 1), f(0, 1), f(0, 1)}; }

  // A rotation about a random axis, then a scale (the same along every axis or not), then a
  // translation, column by column as OpenGL takes matrices.
  std::array<float, 16> affine(double scaleLo, double scaleHi, bool uniform, double shift) {
    double axis[3] = {(*this)(-1, 1), (*this)(-1, 1), (*this)(-1, 1)};
    const double len = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    for (double& a : axis) a /= len > 0 ? len : 1;
    const double angle = (*this)(-M_PI, M_PI), c = std::cos(angle), s = std::sin(angle);
    const double x = axis[0], y = axis[1], z = axis[2];
    const double rotation[3][3] = {
        {c + x * x * (1 - c), x * y * (1 - c) - z * s, x * z * (1 - c) + y * s},
        {y * x * (1 - c) + z * s, c + y * y * (1 - c), y * z * (1 - c) - x * s},
        {z * x * (1 - c) - y * s, z * y * (1 - c) + x * s, c + z * z * (1 - c)}};
    double scale[3];
    scale[0] = (*this)(scaleLo, scaleHi);
    for (std::size_t k = 1; k < 3; ++k) scale[k] = uniform ? scale[0] : (*this)(scaleLo, scaleHi);
    std::array<float, 16> m{};
    for (std::size_t col = 0; col < 3; ++col)
      for (std::size_t row = 0; row < 3; ++row)
        m[col * 4 + row] = static_cast<float>(rotation[row][col] * scale[col]);
    for (std::size_t row = 0; row < 3; ++row) m[12 + row] = f(-shift, shift);
    m[15] = 1;
    return m;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace zbv::test

#endif  // TESTS_WEB_RANDOM_H
