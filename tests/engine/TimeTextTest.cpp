#include "engine/TimeText.h"

#include <gtest/gtest.h>

namespace orve {
namespace {

TEST(TimeText, Boundaries) {
  struct Case {
    uint32_t seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "0:00"},          {9, "0:09"},          {59, "0:59"},         {60, "1:00"},
      {61, "1:01"},         {600, "10:00"},       {3599, "59:59"},      {3600, "1:00:00"},
      {3661, "1:01:01"},    {3725, "1:02:05"},    {36000, "10:00:00"},  {86399, "23:59:59"},
      {86400, "24:00:00"},  {4294967295u, "1193046:28:15"},  // a negative duration shown unsigned
  };
  for (const auto& c : cases) EXPECT_EQ(TimeText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

}  // namespace
}  // namespace orve
