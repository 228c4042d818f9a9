#include "base/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

namespace orve {
namespace {

TEST(Rounding, HalvesGoToEven) {
  struct Case {
    double value;
    int64_t rounded;
  };
  const Case cases[] = {
      {0.0, 0},   {0.4, 0},   {0.5, 0},   {0.6, 1},   {1.5, 2},    {2.5, 2},
      {3.5, 4},   {-0.5, 0},  {-1.5, -2}, {-2.5, -2}, {-2.6, -3},  {179.5, 180},
      {180.5, 180}, {1e12 + 0.5, 1000000000000},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(Rounding, NonFiniteAndHugeValuesAreDefined) {
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<int64_t>::min());
}

}  // namespace
}  // namespace orve
