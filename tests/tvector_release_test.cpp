// SPDX-License-Identifier: MIT
// Built with assertions compiled out: a conversion between sizes then reads and writes only
// the elements both vectors have.
#include <gtest/gtest.h>

#include <base/tvector>

namespace {

TEST(VectorWithoutAssertions, ConversionBetweenSizesStaysInsideBothVectors) {
  const TVector<3, double> three(1, 2, 3);
  const Vec4f fromShorter(three);
  EXPECT_EQ(fromShorter[0], 1.0f);
  EXPECT_EQ(fromShorter[2], 3.0f);
  EXPECT_EQ(fromShorter[3], 0.0f);
  const TVector<2, float> two(Vec4d(5, 6, 7, 8));
  EXPECT_EQ(two[0], 5.0f);
  EXPECT_EQ(two[1], 6.0f);
}

}  // namespace
