#include "runtime/text.h"

#include <gtest/gtest.h>

#include <climits>

TEST(TextToInt64, FollowsTheRunTimeRule) {
  struct Case {
    const char* text;
    int64_t value;
  } cases[] = {
      {"", 0},           {"0", 0},           {"10240", 10240},  {"  42", 42},
      {"\t\n-17", -17},  {"+5", 5},          {"12abc", 12},     {"abc", 0},
      {"-", 0},          {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},  {"99999999999999999999", INT64_MAX},
      {"268435456", 268435456},
  };
  for (const Case& c : cases) EXPECT_EQ(textToInt64(c.text), c.value) << '"' << c.text << '"';
  EXPECT_EQ(textToInt64(static_cast<const char*>(nullptr)), 0);
}

TEST(DecimalText, PlainDigitsWithSign) {
  EXPECT_EQ(decimalText(0), "0");
  EXPECT_EQ(decimalText(1000), "1000");
  EXPECT_EQ(decimalText(-1000), "-1000");
  EXPECT_EQ(decimalText(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(decimalText(INT64_MAX), "9223372036854775807");
}
