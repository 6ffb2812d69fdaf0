#include "forms/values/to_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace forms {
namespace {

TEST(ToText, IntegersInDecimal) {
  EXPECT_EQ(toText(0), "0");
  EXPECT_EQ(toText(1), "1");
  EXPECT_EQ(toText(-42), "-42");
  EXPECT_EQ(toText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(toText(std::int64_t{1} << 40), "1099511627776");
  EXPECT_EQ(toText(std::uint32_t{4294967295u}), "4294967295");
}

TEST(ToText, DoubleWithThirteenSignificantDigits) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {1234.57, "1234.57"},
      {1200.0, "1200"},
      {2.05, "2.05"},
      {2.02, "2.02"},
      {-0.5, "-0.5"},
      {0.1 + 0.2, "0.3"},  // the 17-digit tail is rounded away
      {1.0 / 3.0, "0.3333333333333"},
      {1234567890123.0, "1234567890123"},
      {12345678901234.0, "1.234567890123e+13"},
      {1e20, "1e+20"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {1.5e-300, "1.5e-300"},
      {123456.7, "123456.7"},
  };
  for (const auto& c : cases) EXPECT_EQ(toText(c.value), c.text) << c.text;
}

TEST(ToText, FloatWithSixSignificantDigits) {
  EXPECT_EQ(toText(1.5f), "1.5");
  EXPECT_EQ(toText(1234567.0f), "1.23457e+06");
  EXPECT_EQ(toText(0.1f), "0.1");
  EXPECT_EQ(toText(100000.0f), "100000");
}

TEST(ToText, Logicals) {
  EXPECT_EQ(toText(true), "真");
  EXPECT_EQ(toText(false), "假");
}

TEST(ToText, DateLeavesOutTrailingZeroTimeParts) {
  const struct {
    DateTime value;
    const char* text;
  } cases[] = {
      {{2024, 3, 5, 8, 5, 9}, "2024年3月5日8时5分9秒"},
      {{2024, 3, 5, 8, 5, 0}, "2024年3月5日8时5分"},
      {{2024, 3, 5, 8, 0, 0}, "2024年3月5日8时"},
      {{2024, 3, 5, 0, 0, 0}, "2024年3月5日"},
      {{2024, 12, 31, 0, 0, 7}, "2024年12月31日0时0分7秒"},
      {{2024, 12, 31, 0, 30, 0}, "2024年12月31日0时30分"},
      {{1999, 1, 1, 23, 0, 1}, "1999年1月1日23时0分1秒"},
  };
  for (const auto& c : cases) EXPECT_EQ(toText(c.value), c.text) << c.text;
}

TEST(ToText, ByteSetEndsAtFirstZeroByte) {
  EXPECT_EQ(toText(ByteSet{}), "");
  EXPECT_EQ(toText(ByteSet{'a', 'b'}), "ab");
  EXPECT_EQ(toText(ByteSet{' ', 'a', '\r', '\n'}), " a\r\n");  // never trimmed
  EXPECT_EQ(toText(ByteSet{'a', 0, 'b'}), "a");
  EXPECT_EQ(toText(ByteSet{0, 'b'}), "");
  EXPECT_EQ(toText(ByteSet{0xB0, 0xA1}), "\xB0\xA1");
}

TEST(ToText, TextsAndValues) {
  EXPECT_EQ(toText("abc"), "abc");
  EXPECT_EQ(toText(static_cast<const char*>(nullptr)), "");
  EXPECT_EQ(toText(Text("版本")), "版本");
  EXPECT_EQ(toText(Value{}), "");
  EXPECT_EQ(toText(Value{std::int32_t{7}}), "7");
  EXPECT_EQ(toText(Value{2.5}), "2.5");
  EXPECT_EQ(toText(Value{true}), "真");
  EXPECT_EQ(toText(Value{Text("x")}), "x");
  EXPECT_EQ(toText(Value{ByteSet{'k', 0, 'z'}}), "k");
}

}  // namespace
}  // namespace forms
