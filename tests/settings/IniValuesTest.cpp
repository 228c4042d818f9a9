#include "settings/IniValues.h"

#include <gtest/gtest.h>

namespace orve {
namespace {

TEST(IniValues, Integers) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"1000", 1000},
      {"-10", -10},
      {"+7", 7},
      {"007", 7},
      {" 42 ", 42},
      {"0x200", 512},
      {"0X1f", 31},
      {"0x1", 1},
      {"0xFFFFFFFF", -1},
      {"0x7FFFFFFF", 2147483647},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483648},
      {"2147483648", std::nullopt},   // out of 32-bit range
      {"0x100000000", std::nullopt},  // likewise
      {"0x", std::nullopt},           // two characters: not hexadecimal, not decimal
      {"0xG1", std::nullopt},
      {"-0x10", std::nullopt},
      {"abc", std::nullopt},
      {"12abc", std::nullopt},
      {"1.5", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+-5", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIniInteger(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(IniValues, Reals) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"0", 0.0},       {"400", 400.0}, {"-2.5", -2.5}, {"1,25", 1.25}, {"1e3", 1000.0},
      {"+3", 3.0},      {"", std::nullopt}, {"abc", std::nullopt}, {"1.2.3", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIniReal(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(IniValues, RealTextIsLocaleFreeAndReadsBack) {
  EXPECT_EQ(FormatIniReal(0), "0");
  EXPECT_EQ(FormatIniReal(400), "400");
  EXPECT_EQ(FormatIniReal(-25), "-25");
  EXPECT_EQ(FormatIniReal(1e15), "1000000000000000");
  for (const double v : {0.1, -2.75, 1e-7, 123456.789, 1e300}) {
    EXPECT_EQ(ParseIniReal(FormatIniReal(v)), v) << v;
  }
  EXPECT_FALSE(FormatIniReal(0.5).contains(u','));
}

}  // namespace
}  // namespace orve
