#include "forms/values/replace_text.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

struct ReplaceCase {
  const char* text;
  const char* find;
  const char* replacement;
  std::int32_t start;
  std::int32_t count;
  bool caseSensitive;
  const char* result;
};

TEST(ReplaceText, Table) {
  const ReplaceCase cases[] = {
      // The upgrade notes: every "#HHF" becomes CR LF, other spellings stay.
      {"a#HHFb#HHF", "#HHF", "\r\n", 1, -1, true, "a\r\nb\r\n"},
      {"a#hhfb#HHF", "#HHF", "\r\n", 1, -1, true, "a#hhfb\r\n"},
      {"修正#HHF新增", "#HHF", "\r\n", 1, -1, true, "修正\r\n新增"},
      // Plain copies.
      {"", "a", "b", 1, -1, true, ""},
      {"abc", "", "b", 1, -1, true, "abc"},
      {"abc", "a", "x", 1, 0, true, "abc"},
      {"abc", "a", "x", 4, -1, true, "abc"},
      {"abc", "a", "x", 100, -1, true, "abc"},
      // Start below 1 counts as 1; start skips bytes.
      {"aaa", "a", "x", 0, -1, true, "xxx"},
      {"aaa", "a", "x", -5, -1, true, "xxx"},
      {"aaa", "a", "x", 2, -1, true, "axx"},
      {"aaa", "a", "x", 3, -1, true, "aax"},
      // Count limits the replacements.
      {"aaaa", "a", "x", 1, 2, true, "xxaa"},
      {"aaaa", "a", "x", 2, 1, true, "axaa"},
      {"aaaa", "a", "x", 1, 9, true, "xxxx"},
      // No overlap, no rescan of the replacement; empty replacement deletes.
      {"aaa", "aa", "b", 1, -1, true, "ba"},
      {"ab", "a", "aa", 1, -1, true, "aab"},
      {"xyxyx", "xy", "", 1, -1, true, "x"},
      {"abc", "abcd", "x", 1, -1, true, "abc"},
      // Case folding for A-Z only.
      {"aBc ABC", "abc", "1", 1, -1, false, "1 1"},
      {"aBc ABC", "abc", "1", 1, -1, true, "aBc ABC"},
      {"[@", "{`", "1", 1, -1, false, "[@"},  // neighbours of the letters are not letters
      // A trail byte equal to the find text's byte is not a match: 0xB0 0x41 is one
      // character whose second byte is "A".
      {"\xB0\x41"
       "A",
       "A", "x", 1, -1, true,
       "\xB0\x41"
       "x"},
      {"\xB0\x61"
       "a",
       "A", "x", 1, -1, false,
       "\xB0\x61"
       "x"},
      {"\xB0\x61", "\xB0\x41", "x", 1, -1, false, "\xB0\x61"},  // trail bytes compare exactly
      {"\xB0\x41", "\xB0\x41", "x", 1, -1, false, "x"},
      {"\xC4\xE3\xBA\xC3", "\xE3\xBA", "x", 1, -1, true, "\xC4\xE3\xBA\xC3"},
      {"你好你", "你", "我", 1, -1, true, "我好我"},
      // A start inside a character scans from that byte on.
      {"\xB0\x41"
       "A",
       "A", "x", 2, -1, true,
       "\xB0"
       "xx"},
      // A lead byte cut off at the end is copied alone.
      {"a\xB0", "a", "x", 1, -1, true, "x\xB0"},
      {"a\xB0", "\xB0", "x", 1, -1, true, "ax"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(replaceText(c.text, c.find, c.replacement, c.start, c.count, c.caseSensitive),
              c.result)
        << c.text << " / " << c.find << " start " << c.start << " count " << c.count;
  }
}

TEST(ReplaceText, AMatchIsNeverComparedPastTheText) {
  // A long text has its bytes on the heap, ended by one zero byte; a find text that
  // matches up to that zero must not be compared further.
  const Text text("xxxxxxxxxxxxxxxxxxab");
  EXPECT_EQ(replaceText(text, Text("AB\0C", 4), "y", 1, -1, false), text);
  EXPECT_EQ(replaceText(text, "AB", "y", 1, -1, false), "xxxxxxxxxxxxxxxxxxy");
}

TEST(ReplaceText, Defaults) {
  EXPECT_EQ(replaceText("a-b-c", "-"), "abc");
  EXPECT_EQ(replaceText("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(replaceText("a-b-c", "-", "+", 3), "a-b+c");
  EXPECT_EQ(replaceText("A-a", "a", "x", 1, -1), "A-x");
}

}  // namespace
}  // namespace forms
