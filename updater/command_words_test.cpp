#include "updater/command_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;

struct Case {
  const char* what;
  std::string line;
  Words words;
};

const std::string kToken = "kqzrmesh_junction";

class CommandWords : public testing::TestWithParam<Case> {};

TEST_P(CommandWords, SplitsAsTheLauncherExpects) {
  const Case& c = GetParam();
  EXPECT_EQ(updater::splitCommandWords(c.line), c.words) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandWords,
    testing::Values(
        Case{"no words at all", "update.exe", {}},
        Case{"path only with a trailing blank", "update.exe ", {}},
        Case{"plain words", "update.exe " + kToken + " http://h/p.zip 标题 run Talvery.exe p.zip",
             {kToken, "http://h/p.zip", "标题", "run", "Talvery.exe", "p.zip"}},
        Case{"notes give more words", "u.exe a b c d e f 新 版 本",
             {"a", "b", "c", "d", "e", "f", "新", "版", "本"}},
        Case{"tab and other control bytes separate", "u.exe a\tb\x01" "c\r\nd", {"a", "b", "c", "d"}},
        Case{"runs of blanks separate once", "u.exe   a    b", {"a", "b"}},
        Case{"a tab does not end an unquoted path", "C:\\x\tdir\\update.exe a", {"a"}},
        Case{"unquoted path with a blank gives its tail as words",
             "C:\\Program Files\\main_update\\update.exe " + kToken,
             {"Files\\main_update\\update.exe", kToken}},
        Case{"quoted path with blanks is skipped whole",
             "\"C:\\Program Files\\main_update\\update.exe\" " + kToken + " b",
             {kToken, "b"}},
        Case{"quoted path directly followed by a word", "\"C:\\u.exe\"a b", {"a", "b"}},
        Case{"quoted path without its closing quote", "\"C:\\u.exe a b", {}},
        Case{"quoted word keeps blanks, quotes dropped", "u.exe \"" + kToken + "\" \"a b\"",
             {kToken, "a b"}},
        Case{"two quotes give an empty word that counts", "u.exe a \"\" c", {"a", "", "c"}},
        Case{"quoted word runs to the end without a closing quote", "u.exe \"a b", {"a b"}},
        Case{"a quote ends a plain word and starts a quoted one", "u.exe ab\"c d\"e",
             {"ab", "c d", "e"}},
        Case{"lead byte keeps a following blank", "u.exe \xB0 x", {"\xB0 x"}},
        Case{"lead byte keeps a following quote", "u.exe \"a\xB0\" b\"", {"a\xB0\" b"}},
        Case{"lone last lead byte ends a plain word", "u.exe ab\xB0", {"ab"}},
        Case{"lone last lead byte starts no word", "u.exe ab \xB0", {"ab"}},
        Case{"lone last lead byte ends a quoted word", "u.exe a \"b\xB0", {"a", "b"}},
        Case{"lone last lead byte right after a quote gives an empty word", "u.exe \"\xB0",
             {""}},
        Case{"GBK words are kept whole", "u.exe 图片 导航", {"图片", "导航"}}),
    [](const testing::TestParamInfo<Case>& info) { return "case" + std::to_string(info.index); });

}  // namespace
