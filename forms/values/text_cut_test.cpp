#include "forms/values/text_cut.h"

#include <gtest/gtest.h>

#include "forms/values/double_compare.h"

namespace forms {
namespace {

TEST(TextCut, LeftAndRightCountBytes) {
  const struct {
    const char* text;
    std::int32_t n;
    const char* left;
    const char* right;
  } cases[] = {
      {"abc", 1, "a", "c"},      {"abc", 0, "", ""},          {"abc", -1, "", ""},
      {"abc", 3, "abc", "abc"},  {"abc", 99, "abc", "abc"},   {"", 1, "", ""},
      {"C:\\a\\", 1, "C", "\\"}, {"你好", 1, "\xC4", "\xC3"},  // bytes, not characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(leftText(c.text, c.n), c.left) << c.text << " " << c.n;
    EXPECT_EQ(rightText(c.text, c.n), c.right) << c.text << " " << c.n;
  }
}

TEST(DoubleCompare, ToleranceOfOneTenMillionth) {
  EXPECT_TRUE(doublesEqual(0.0, 1e-7));
  EXPECT_TRUE(doublesEqual(1e-7, 0.0));
  EXPECT_FALSE(doublesEqual(0.0, 2e-7));
  EXPECT_TRUE(doublesEqual(2.02, 2.0200000001));
  EXPECT_FALSE(doubleGreater(1e-7, 0.0));
  EXPECT_TRUE(doubleGreater(2e-7, 0.0));
  EXPECT_FALSE(doubleGreater(2.0200000001, 2.02));
  EXPECT_TRUE(doubleGreater(2.03, 2.02));
  EXPECT_FALSE(doubleGreater(2.02, 2.03));
  EXPECT_FALSE(doubleGreater(1.0, 1.0));
}

}  // namespace
}  // namespace forms
