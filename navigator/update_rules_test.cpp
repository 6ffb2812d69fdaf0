#include "navigator/update_rules.h"

#include <gtest/gtest.h>

#include "forms/values/to_number.h"

namespace navigator {
namespace {

TEST(UpdateCheck, VersionTextDecidesTheRoad) {
  struct Case {
    const char* version;
    bool isNew;
  };
  const Case cases[] = {
      {"2.02", false}, {"2.0200000", false}, {"2.02000001", false}, {"1.9", false},
      {"", false},     {"abc", false},       {"2.021", true},       {"2.1", true},
      {"10", true},    {"3.0beta", true},  // the leading number counts
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isNewVersion(forms::toDouble(c.version)), c.isNew) << c.version;
  }
}

TEST(UpdateCheck, BoxShowsTheVersionAsWrittenAndTheNotesOnTheirLines) {
  UpdateOffer offer;
  offer.version = "3.0beta";
  offer.notes = "新增网站#HHF修正错误#hhf完";
  EXPECT_EQ(newVersionMessage(offer),
            "发现有新的版本(3.0beta)可以更新，本次更新了如下内容：\r\n新增网站\r\n修正错误#hhf完");
  offer.notes.clear();
  EXPECT_EQ(newVersionMessage(offer), "发现有新的版本(3.0beta)可以更新，本次更新了如下内容：\r\n");
}

TEST(UpdateCheck, CommandLineQuotesOnlyThePathAndKeepsTheNotesRaw) {
  UpdateOffer offer{"2.03", "一#HHF二 三", "http://127.0.0.1:8460/p.zip", "Talvery2.03", "p.zip"};
  EXPECT_EQ(updaterCommandLine("C:\\Program Files\\图片导航", offer),
            "\"C:\\Program Files\\图片导航\\main_update\\update.exe\" kqzrmesh_junction "
            "http://127.0.0.1:8460/p.zip Talvery2.03 run Talvery.exe p.zip 一#HHF二 三");

  // Empty file name and notes still leave their blanks: the updater then counts five
  // words and refuses, as the descriptor asked for.
  offer.fileName.clear();
  offer.notes.clear();
  EXPECT_EQ(updaterCommandLine("C:\\t", offer),
            "\"C:\\t\\main_update\\update.exe\" kqzrmesh_junction "
            "http://127.0.0.1:8460/p.zip Talvery2.03 run Talvery.exe  ");
}

}  // namespace
}  // namespace navigator
