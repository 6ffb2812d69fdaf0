#include "forms/values/gbk_utf8.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

// Both sides are written as escapes, so the cases do not depend on the literals' charset.
TEST(Utf8ToGbk, ConvertsWhatGbkWritesAndRefusesTheRest) {
  struct Case {
    const char* utf8;
    std::optional<Text> gbk;
  } cases[] = {
      {"", Text()},
      {"abc 123\r\n", Text("abc 123\r\n")},
      {"\xE4\xB8\xAD\xE6\x96\x87", Text("\xD6\xD0\xCE\xC4")},
      {"a\xEF\xBC\x9Az", Text("a\xA3\xBAz")},
      {"\xE0\xB8\x81", std::nullopt},  // a Thai letter: no GBK code
      {"a\xFF", std::nullopt},         // not UTF-8
      {"\xE4\xB8", std::nullopt},      // cut off inside a character
  };
  for (const Case& c : cases) EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk) << c.utf8;
}

}  // namespace
}  // namespace forms
