#include <gtest/gtest.h>

#include "UIntText.h"

namespace {

struct IntCase {
  const char* text;
  bool ok;
  int32_t value;
};

TEST(IntText, Int32SyntaxRangeAndWrap) {
  const IntCase cases[] = {
      {"0", true, 0},           {"42", true, 42},          {"+42", true, 42},
      {"-42", true, -42},       {"007", true, 7},          {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},                    {"2147483648", false, 0},
      {"-2147483649", false, 0}, {"99999999999999999999", false, 0},
      {"0x7D01", true, 32001},  {"0X7d01", true, 32001},   {"$7D01", true, 32001},
      {"x10", true, 16},        {"X10", true, 16},         {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},  {"0x80000000", true, INT32_MIN},
      {"$123456789", false, 0},  // nine digits
      {"$", false, 0},          {"0x", false, 0},          {"", false, 0},
      {"-", false, 0},          {"+", false, 0},           {"87.5", false, 0},
      {" 5", false, 0},         {"5 ", false, 0},          {"1e3", false, 0},
      {"--5", false, 0},        {"0x-5", false, 0},        {"$g", false, 0},
      {"word", false, 0},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t value = 12345;
    EXPECT_EQ(TryStrToInt32(c.text, value), c.ok);
    if (c.ok) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(IntText, SettingsSyntaxTakesOnlyDollarAnd0x) {
  EXPECT_EQ(StrToInt32Def("0x7D01", 32000, TIntSyntax::DollarOr0x), 32001);
  EXPECT_EQ(StrToInt32Def("$7D01", 32000, TIntSyntax::DollarOr0x), 32001);
  EXPECT_EQ(StrToInt32Def("-12", 32000, TIntSyntax::DollarOr0x), -12);
  for (const char* text : {"0X7D01", "x7D01", "X7D01"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(StrToInt32Def(text, 32000, TIntSyntax::DollarOr0x), 32000);
    EXPECT_EQ(StrToInt32Def(text, 32000), 32001);
  }
}

TEST(IntText, Int64RangeAndWrap) {
  int64_t v = 0;
  EXPECT_TRUE(TryStrToInt64("9223372036854775807", v));
  EXPECT_EQ(v, INT64_MAX);
  EXPECT_TRUE(TryStrToInt64("-9223372036854775808", v));
  EXPECT_EQ(v, INT64_MIN);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", v));
  EXPECT_TRUE(TryStrToInt64("4294967297", v));
  EXPECT_EQ(v, 4294967297);
  EXPECT_TRUE(TryStrToInt64("$FFFFFFFFFFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_FALSE(TryStrToInt64("$1FFFFFFFFFFFFFFFF", v));
}

}  // namespace
