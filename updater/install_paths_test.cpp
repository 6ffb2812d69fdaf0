#include "updater/install_paths.h"

#include <gtest/gtest.h>

#include "updater/command_words.h"

namespace {

TEST(InstallPaths, BuiltFromTheUpdatersFolder) {
  const forms::Text r = "C:\\T\\main_update";
  EXPECT_EQ(updater::downloadFolder(r), "C:\\T\\main_update\\main_update\\");
  EXPECT_EQ(updater::packagePath(r, 1), "C:\\T\\main_update\\main_update\\temp1.zip");
  EXPECT_EQ(updater::stagingFolder(r), "C:\\T\\main_update\\e_update");
  EXPECT_EQ(updater::installationFolder(r), "C:\\T\\main_update\\..\\");
}

// The relaunch line must name the program whole, also where the folder has blanks: the
// system reads the program path the way the updater's own splitter does.
TEST(InstallPaths, RelaunchLineQuotesTheProgramPath) {
  for (const forms::Text r : {"C:\\T\\main_update", "C:\\Program Files\\图片 导航\\main_update"}) {
    const forms::Text line = updater::relaunchCommandLine(r, "Talvery.exe");
    EXPECT_EQ(line, "\"" + r + "\\..\\Talvery.exe\"");
    EXPECT_TRUE(updater::splitCommandWords(line).empty()) << line;
  }
}

}  // namespace
