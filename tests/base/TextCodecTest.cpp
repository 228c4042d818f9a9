#include "base/TextCodec.h"

#include <gtest/gtest.h>

namespace orve {
namespace {

TEST(TextCodec, Utf8Validation) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ascii", true},
      {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", true},  // Привет
      {"\xF0\x9F\x8E\xB5", true},                                   // a 4-byte note
      {"\xCF\xF0\xE8\xE2\xE5\xF2", false},                          // Привет in 1251
      {"\xC0\xAF", false},                                          // overlong '/'
      {"\xED\xA0\x80", false},                                      // surrogate
      {"\xF4\x90\x80\x80", false},                                  // above U+10FFFF
      {"\xE2\x82", false},                                          // cut short
      {"\x80", false},                                              // lone continuation
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextCodec, Cp1251Decoding) {
  EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  EXPECT_EQ(Cp1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
  EXPECT_EQ(Cp1251ToUtf8("abc"), "abc");
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");  // unassigned: U+FFFD
  EXPECT_EQ(Cp1251ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextCodec, LegacyTextKeepsUtf8AndDecodesTheRest) {
  EXPECT_EQ(LegacyTextToUtf8("Кино"), "Кино");
  EXPECT_EQ(LegacyTextToUtf8("\xCA\xE8\xED\xEE"), "Кино");
}

}  // namespace
}  // namespace orve
