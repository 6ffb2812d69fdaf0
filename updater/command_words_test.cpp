#include "updater/command_words.h"

#include "navigator/update_rules.h"

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
        Case{"plain words",
             "update.exe " + kToken + " http://h/p.zip 标题 run Talvery.exe p.zip",
             {kToken, "http://h/p.zip", "标题", "run", "Talvery.exe", "p.zip"}},
        Case{"notes give more words",
             "u.exe a b c d e f 新 版 本",
             {"a", "b", "c", "d", "e", "f", "新", "版", "本"}},
        Case{"tab and other control bytes separate",
             "u.exe a\tb\x01"
             "c\r\nd",
             {"a", "b", "c", "d"}},
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
        Case{"quoted word keeps blanks, quotes dropped",
             "u.exe \"" + kToken + "\" \"a b\"",
             {kToken, "a b"}},
        Case{"two quotes give an empty word that counts", "u.exe a \"\" c", {"a", "", "c"}},
        Case{"quoted word runs to the end without a closing quote", "u.exe \"a b", {"a b"}},
        Case{"a quote ends a plain word and starts a quoted one",
             "u.exe ab\"c d\"e",
             {"ab", "c d", "e"}},
        Case{"lead byte keeps a following blank", "u.exe \xB0 x", {"\xB0 x"}},
        Case{"lead byte keeps a following quote", "u.exe \"a\xB0\" b\"", {"a\xB0\" b"}},
        Case{"lead byte keeps a following quote inside a plain word",
             "u.exe a\xB0\"b c",
             {"a\xB0\"b", "c"}},
        Case{"lone last lead byte ends a plain word", "u.exe ab\xB0", {"ab"}},
        Case{"lone last lead byte starts no word", "u.exe ab \xB0", {"ab"}},
        Case{"lone last lead byte ends a quoted word", "u.exe a \"b\xB0", {"a", "b"}},
        Case{"lone last lead byte right after a quote gives an empty word", "u.exe \"\xB0", {""}},
        Case{"GBK words are kept whole", "u.exe 图片 导航", {"图片", "导航"}}),
    [](const testing::TestParamInfo<Case>& info) { return "case" + std::to_string(info.index); });

struct LaunchCase {
  const char* what;
  Words words;
  bool accepted;
};

class LaunchCheck : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchCheck, AcceptsOnlyTheNavigatorsStart) {
  const LaunchCase& c = GetParam();
  EXPECT_EQ(updater::isLaunchAccepted(c.words), c.accepted) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LaunchCheck,
    testing::Values(
        LaunchCase{"no words", {}, false},
        LaunchCase{"six words with the token", {kToken, "u", "t", "run", "Talvery.exe", "p"}, true},
        LaunchCase{
            "notes add words", {kToken, "u", "t", "run", "Talvery.exe", "p", "a", "b"}, true},
        LaunchCase{"five words", {kToken, "u", "t", "run", "Talvery.exe"}, false},
        LaunchCase{"an empty word counts", {kToken, "", "t", "run", "Talvery.exe", "p"}, true},
        LaunchCase{
            "token in other letter case", {"KQZRMESH_JUNCTION", "u", "t", "run", "x", "p"}, false},
        LaunchCase{"token one byte short", {"kqzrmesh_junctio", "u", "t", "run", "x", "p"}, false},
        LaunchCase{"token one byte long", {kToken + "n", "u", "t", "run", "x", "p"}, false},
        LaunchCase{"token not first", {"u", kToken, "t", "run", "x", "p"}, false}),
    [](const testing::TestParamInfo<LaunchCase>& info) {
      return "case" + std::to_string(info.index);
    });

// The navigator writes the command line and this splitter reads it: what one writes, the
// other must read back as the same words, each where the contract puts it.
struct RoundTrip {
  const char* what;
  std::string runDirectory;
  navigator::UpdateOffer offer;
  Words words;  // as the updater reads them
  bool accepted;
  bool inPlace = true;  // every value stands at its word
};

class HandOver : public testing::TestWithParam<RoundTrip> {};

TEST_P(HandOver, TheUpdaterReadsWhatTheNavigatorWrote) {
  const RoundTrip& c = GetParam();
  const std::string line = navigator::updaterCommandLine(c.runDirectory, c.offer);
  const Words words = updater::splitCommandWords(line);
  EXPECT_EQ(words, c.words) << c.what << ": " << line;
  EXPECT_EQ(updater::isLaunchAccepted(words), c.accepted) << c.what;
  if (!c.accepted || !c.inPlace) return;
  using namespace updater::word;
  auto at = [&](int n) { return words[static_cast<std::size_t>(n - 1)]; };
  EXPECT_EQ(at(kLaunchToken), updater::kLaunchToken);
  EXPECT_EQ(at(kPackageUrl), c.offer.downloadUrl) << c.what;
  EXPECT_EQ(at(kPackageTitle), c.offer.title) << c.what;
  EXPECT_EQ(at(kProgramToStart), "Talvery.exe") << c.what;
}

const navigator::UpdateOffer kOffer{"2.03", "修复 问题#HHF新增功能",
                                    "http://127.0.0.1:8460/gx/Talvery203.zip", "图片导航2.03",
                                    "Talvery203.zip"};

INSTANTIATE_TEST_SUITE_P(
    Table, HandOver,
    testing::Values(RoundTrip{"plain folder",
                              "C:\\Talvery",
                              kOffer,
                              {kToken, kOffer.downloadUrl, kOffer.title, "run", "Talvery.exe",
                               kOffer.fileName, "修复", "问题#HHF新增功能"},
                              true},
                    RoundTrip{"folder with blanks",
                              "C:\\Program Files\\图片 导航",
                              kOffer,
                              {kToken, kOffer.downloadUrl, kOffer.title, "run", "Talvery.exe",
                               kOffer.fileName, "修复", "问题#HHF新增功能"},
                              true},
                    RoundTrip{"no notes: six words",
                              "C:\\T",
                              {"2.03", "", "http://h/p.zip", "t", "p.zip"},
                              {kToken, "http://h/p.zip", "t", "run", "Talvery.exe", "p.zip"},
                              true},
                    RoundTrip{"empty file name and notes leave five words and are refused",
                              "C:\\T",
                              {"2.03", "", "http://h/p.zip", "t", ""},
                              {kToken, "http://h/p.zip", "t", "run", "Talvery.exe"},
                              false},
                    RoundTrip{"a title with a blank moves every later word",
                              "C:\\T",
                              {"2.03", "", "http://h/p.zip", "a b", "p.zip"},
                              {kToken, "http://h/p.zip", "a", "b", "run", "Talvery.exe", "p.zip"},
                              true,
                              false}),
    [](const testing::TestParamInfo<RoundTrip>& info) {
      return "case" + std::to_string(info.index);
    });

}  // namespace
