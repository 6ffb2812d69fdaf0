#include "forms/values/gbk_wide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace forms {
namespace {

// GBK bytes are written as escapes, so the cases do not depend on the literals' charset.
TEST(GbkWide, WidensAndNarrowsCodePage936) {
  struct Case {
    const char* gbk;
    const wchar_t* wide;
  } cases[] = {
      {"", L""},
      {"abc 123", L"abc 123"},
      {"\xD6\xD0\xCE\xC4", L"\u4E2D\u6587"},
      {"a\xD0\xC5\xCF\xA2\xA3\xBAz", L"a\u4FE1\u606F\uFF1Az"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(widen(c.gbk), c.wide) << c.gbk;
    EXPECT_EQ(narrow(std::wstring(c.wide)), c.gbk) << c.gbk;
    EXPECT_EQ(narrow(c.wide), c.gbk) << c.gbk;
  }
}

TEST(GbkWide, NarrowsWhatGbkLacksAndNoString) {
  EXPECT_EQ(narrow(std::wstring(L"a\u0E01b")), "a?b");
  EXPECT_EQ(narrow(static_cast<const wchar_t*>(nullptr)), "");
}

// widenInto writes nothing past capacity: the rows sit at each bound and one past it.
TEST(GbkWide, WidenIntoKeepsToItsCapacity) {
  struct Case {
    const char* gbk;
    std::size_t capacity;
    const wchar_t* expected;  // nullptr: nothing written
  } cases[] = {
      {"abc", 0, nullptr},
      {"abc", 1, L""},
      {"abc", 3, L""},
      {"abc", 4, L"abc"},
      {"abc", 5, L"abc"},
      {"\xD6\xD0\xCE\xC4", 2, L""},
      {"\xD6\xD0\xCE\xC4", 3, L"\u4E2D\u6587"},
      {"", 1, L""},
  };
  for (const Case& c : cases) {
    wchar_t out[8];
    std::fill(std::begin(out), std::end(out), L'#');
    const std::size_t length = widenInto(c.gbk, out, c.capacity);
    const std::wstring expected = c.expected ? c.expected : L"";
    EXPECT_EQ(length, expected.size()) << c.gbk << " in " << c.capacity;
    if (c.expected) EXPECT_EQ(std::wstring(out), expected) << c.gbk << " in " << c.capacity;
    for (std::size_t i = c.capacity; i < std::size(out); ++i)
      EXPECT_EQ(out[i], L'#') << c.gbk << " in " << c.capacity << " wrote at " << i;
  }
}

}  // namespace
}  // namespace forms
