#include "forms/values/to_number.h"

#include <gtest/gtest.h>

#include <limits>

#include "forms/values/gbk.h"

namespace forms {
namespace {

TEST(FoldFullWidth, TurnsFullWidthAsciiIntoAscii) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"２．０２", "2.02"},
      {"－１Ｅ３", "-1E3"},
      {"ａｚＡＺ！～＄", "azAZ!~$"},
      {"￥￣", "￥￣"},                   // yen and macron have no ASCII form
      {"　1", " 1"},                      // ideographic blank
      {"版本２", "版本2"},                // other double-byte characters stay
      {"\xB0\xA3\xB1", "\xB0\xA3\xB1"},   // 0xA3 as a trail byte does not start a pair
      {"\xA3", "\xA3"},                   // lead byte cut off at the end
      {"\xA3\xFD\xA3\xA0", "}\xA3\xA0"},  // the last of the row, and before its first
      // 0x81..0xFE lead a pair, taking 0xA3 as their trail; 0x80 and 0xFF stand alone.
      {"\x80\xA3\xC1",
       "\x80"
       "A"},
      {"\x81\xA3\xC1", "\x81\xA3\xC1"},
      {"\xFE\xA3\xC1", "\xFE\xA3\xC1"},
      {"\xFF\xA3\xC1",
       "\xFF"
       "A"},
  };
  for (const auto& c : cases) EXPECT_EQ(foldFullWidth(c.in), c.out) << c.in;
}

TEST(ToDouble, ReadsTheLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},
      {"2.02", 2.02},
      {"3.0beta", 3.0},
      {"  -1e3x", -1000},
      {"+4", 4},
      {".5", 0.5},
      {"5.", 5},
      {"1e", 1},
      {"1e+", 1},
      {"2E-2", 0.02},
      {"\t\r\n 7", 7},
      {"abc", 0},
      {"-", 0},
      {".", 0},
      {"-.e5", 0},
      {"inf", 0},
      {"nan", 0},
      {"0x1A", 0},
      {"1,5", 1},
      {"２．０３", 2.03},
      {"　－３", -3},
      {"2.0２", 2.02},
      {"版本2", 0},
      // 0xA3 0xB2 is full-width "2"; as the trail of 0xB0 0xA3 it must not be read.
      {"\xB0\xA3\xB2", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(toDouble(c.text), c.value) << c.text;
}

TEST(ToDouble, ConvertsOtherKindsExactly) {
  EXPECT_EQ(toDouble(std::int32_t{-7}), -7.0);
  EXPECT_EQ(toDouble(0.1f), static_cast<double>(0.1f));
  EXPECT_EQ(toDouble(true), 1.0);
  EXPECT_EQ(toDouble(false), 0.0);
  EXPECT_EQ(toDouble(Text("12.5")), 12.5);
  EXPECT_EQ(toDouble(Value{Text("3")}), 3.0);
  EXPECT_EQ(toDouble(Value{std::int32_t{2}}), 2.0);
  EXPECT_EQ(toDouble(Value{}), 0.0);
}

TEST(ToInteger, ReadsTheLeadingInteger) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"", 0},
      {"100000", 100000},
      {"10000000", 10000000},
      {"  -12abc", -12},
      {"+3", 3},
      {"3.9", 3},
      {"1e5", 1},
      {"x1", 0},
      {"１２３", 123},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& c : cases) EXPECT_EQ(toInteger(c.text), c.value) << c.text;
}

TEST(ToInteger, ConvertsOtherKinds) {
  EXPECT_EQ(toInteger(2.9), 2);
  EXPECT_EQ(toInteger(-2.9), -2);
  EXPECT_EQ(toInteger(-2.9f), -2);
  EXPECT_EQ(toInteger(1e30), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(toInteger(-1e30), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(toInteger(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(toInteger(std::int64_t{0x1'0000'0005}), 5);
  EXPECT_EQ(toInteger(std::int64_t{0xFFFF'FFFF}), -1);
  EXPECT_EQ(toInteger(true), 1);
  EXPECT_EQ(toInteger(Value{7.7}), 7);
  EXPECT_EQ(toInteger(Value{Text("42")}), 42);
  EXPECT_EQ(toInteger(Value{}), 0);
}

}  // namespace
}  // namespace forms
