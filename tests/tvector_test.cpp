// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <base/tvector>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

// Bit-exact float comparison: the colours are built by rounding, and rounding is the point.
::testing::AssertionResult sameBits(float a, float b) {
  std::uint32_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  if (x == y) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << std::hexfloat << a << " != " << b;
}

template <typename V>
class VectorStorage : public ::testing::Test {};
using Vec4Types = ::testing::Types<Vec4f, Vec4d>;
struct ElementName {
  template <typename V>
  static std::string GetName(int) {
    return std::is_same_v<typename V::value_type, float> ? "float" : "double";
  }
};
TYPED_TEST_SUITE(VectorStorage, Vec4Types, ElementName);

// X..W, indexing and data() are three views of one storage, element 0 first.
TYPED_TEST(VectorStorage, NamedIndexedAndRawAccessShareOneStorage) {
  using T = typename TypeParam::value_type;
  TypeParam v(1, 2, 3, 4);
  EXPECT_EQ(static_cast<const void*>(v.data()), static_cast<const void*>(&v));
  T* raw = v.data();
  EXPECT_EQ(&v.X(), raw + 0);
  EXPECT_EQ(&v.Y(), raw + 1);
  EXPECT_EQ(&v.Z(), raw + 2);
  EXPECT_EQ(&v.W(), raw + 3);
  for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(&v[i], raw + i);
  v.Z() = 9;
  raw[3] = 8;
  v[0] = 7;
  EXPECT_EQ(v[2], T(9));
  EXPECT_EQ(v.W(), T(8));
  EXPECT_EQ(raw[0], T(7));
  EXPECT_EQ(v.Y(), T(2));
}

TYPED_TEST(VectorStorage, CopiesAreIndependentValues) {
  TypeParam a(1, 2, 3, 4);
  TypeParam b(a);
  b.X() = 5;
  EXPECT_EQ(a.X(), 1);
  EXPECT_EQ(b.Y(), 2);
}

TEST(VectorRounding, ConversionRoundsEachElementToNearestFloat) {
  const Vec4f yellow(Vec4d(1, 1, 0, 1));
  for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(sameBits(yellow[i], i == 2 ? 0.0f : 1.0f));
  const Vec4f third(Vec4d(1.0 / 3, 0.1, -2.5, 1e-50));
  EXPECT_TRUE(sameBits(third.X(), static_cast<float>(1.0 / 3)));
  EXPECT_TRUE(sameBits(third.Y(), 0.1f));
  EXPECT_TRUE(sameBits(third.Z(), -2.5f));
  EXPECT_TRUE(sameBits(third.W(), 0.0f));
}

// The colour arithmetic of the scene, bit for bit.
TEST(VectorRounding, ScalingMatchesTheScenesColours) {
  Vec4f white(Vec4d(1, 1, 1, 1));
  white *= 0.6;
  for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(sameBits(white[i], 0.6f)) << i;

  const Vec4f dim = white * 0.2f;
  const float nearest012 = 0.12f;
  const float oneUlpAbove = std::nextafter(nearest012, 1.0f);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(sameBits(dim[i], oneUlpAbove)) << i;
    EXPECT_TRUE(sameBits(white[i], 0.6f)) << "the scaled copy changed its source, element " << i;
  }

  // Single elements scaled by the double 0.2 land on the same float, and back again.
  float y = static_cast<float>(white.Y() * 0.2);
  EXPECT_TRUE(sameBits(y, dim.Y()));
  y = static_cast<float>(y / 0.2);
  EXPECT_TRUE(sameBits(y, 0.6f));
}

TEST(VectorRounding, InPlaceScalarIsRoundedToFloatFirst) {
  // 1.00000004 rounds to 1.0f, so scaling by it changes nothing; products taken with the
  // double itself (3.00000012, 7.00000028) would round up to the next float.
  Vec4f v(Vec4d(3, 5, 7, 11));
  v *= 1.00000004;
  EXPECT_TRUE(sameBits(v.X(), 3.0f));
  EXPECT_TRUE(sameBits(v.Z(), 7.0f));
}

TEST(VectorDeathTest, ConvertingBetweenSizesStopsWithTheAssertion) {
  const TVector<3, double> three(1, 2, 3);
  EXPECT_DEATH(
      {
        const Vec4f four(three);
        (void)four;
      },
      "a\\.size\\(\\) == b\\.size\\(\\)");
  const TVector<5, double> five(1, 2, 3, 4, 5);
  EXPECT_DEATH(
      {
        const Vec4f four(five);
        (void)four;
      },
      "a\\.size\\(\\) == b\\.size\\(\\)");
}

}  // namespace
