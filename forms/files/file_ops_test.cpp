#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/files/file_search.h"
#include "forms/files/folder_ops.h"
#include "test_support/temp_folder.h"

namespace forms {
namespace {

using test_support::TempFolder;

std::vector<std::string> allFound(const std::string& pattern, std::int32_t mask, bool filesOnly) {
  FileSearch search;
  std::vector<std::string> names;
  for (Text name = findFile(pattern, mask, filesOnly, search); !name.empty();
       name = findFile("", mask, filesOnly, search)) {
    names.push_back(name);
  }
  EXPECT_FALSE(search) << "a search that ran to its end closes itself";
  std::sort(names.begin(), names.end());
  return names;
}

// A folder with plain, hidden, read-only and dot-named files and two subfolders.
class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("a.txt", "a");
    dir.write(".profile", "p");
    dir.write("hidden.txt", "h");
    dir.write("readonly.txt", "r");
    dir.makeFolder("sub");
    dir.makeFolder(".cache");
    SetFileAttributesA((dir / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((dir / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  std::string all() const { return dir / "*.*"; }
  TempFolder dir;
};

TEST_F(FindFileTest, FiltersByKindAndAttributes) {
  using Names = std::vector<std::string>;
  struct Case {
    std::int32_t mask;
    bool filesOnly;
    Names expected;
  };
  const Case cases[] = {
      {0, true, {".profile", "a.txt", "hidden.txt", "readonly.txt"}},
      {0x10, true, {".profile", "a.txt", "hidden.txt", "readonly.txt"}},  // mask unused
      {0x10, false, {".", "..", ".cache", "sub"}},
      {0x110, false, {".", "..", ".cache", "sub"}},  // bits outside 0x37 do not count
      {0x02, false, {"hidden.txt"}},
      {0x01, false, {"readonly.txt"}},
      {0x03, false, {"hidden.txt", "readonly.txt"}},
  };
  for (const Case& c : cases) {
    Names found = allFound(all(), c.mask, c.filesOnly);
    // Wine reports every dot-named entry as hidden; only the other names tell here.
    if (c.mask & 0x02) {
      found.erase(std::remove_if(found.begin(), found.end(),
                                 [](const std::string& n) { return n[0] == '.'; }),
                  found.end());
    }
    EXPECT_EQ(found, c.expected) << "mask " << c.mask << " filesOnly " << c.filesOnly;
  }
}

TEST_F(FindFileTest, MaskWithoutBitsPassesOnlyEntriesWithoutAttributes) {
  // Every entry here carries a bit (archive, hidden, read-only, directory) but this one.
  for (const char* name : {"a.txt", ".profile"})
    SetFileAttributesA((dir / name).c_str(), FILE_ATTRIBUTE_ARCHIVE);
  dir.write("bare.txt", "b");
  SetFileAttributesA((dir / "bare.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  const DWORD bare = GetFileAttributesA((dir / "bare.txt").c_str());
  if (bare != FILE_ATTRIBUTE_NORMAL) GTEST_SKIP() << "the platform keeps attribute bits " << bare;
  EXPECT_EQ(allFound(all(), 0, false), std::vector<std::string>{"bare.txt"});
}

TEST_F(FindFileTest, ContinuingWithoutASearchOrAfterItsEndGivesNothing) {
  FileSearch search;
  EXPECT_EQ(findFile("", 0, true, search), "");
  EXPECT_EQ(findFile(dir / "none*.xyz", 0, true, search), "");
  EXPECT_FALSE(search);

  EXPECT_EQ(findFile(dir / "a.txt", 0, true, search), "a.txt");
  EXPECT_TRUE(search);
  EXPECT_EQ(findFile("", 0, true, search), "");
  EXPECT_FALSE(search);
  EXPECT_EQ(findFile("", 0, true, search), "");
}

TEST_F(FindFileTest, ANewPatternReplacesTheOpenSearch) {
  FileSearch search;
  ASSERT_NE(findFile(all(), 0x10, false, search), "");
  EXPECT_EQ(findFile(dir / "sub", 0x10, false, search), "sub");
  EXPECT_EQ(findFile("", 0x10, false, search), "");
  // closeFind on a search that is still open, and on none.
  EXPECT_NE(findFile(all(), 0, true, search), "");
  closeFind(search);
  EXPECT_FALSE(search);
  closeFind(search);
}

TEST(FileCopy, ReplacesAnExistingTarget) {
  TempFolder dir;
  dir.write("new.dll", "new content");
  dir.write("old.dll", "old");
  EXPECT_TRUE(copyFile(dir / "new.dll", dir / "old.dll"));
  EXPECT_EQ(dir.read("old.dll"), "new content");
  EXPECT_FALSE(copyFile(dir / "missing.dll", dir / "old.dll"));
  EXPECT_EQ(dir.read("old.dll"), "new content");
}

TEST(DeleteDirectory, RemovesTheTreeButLeavesDotEntriesAndReadOnlyFiles) {
  TempFolder dir;
  struct Case {
    const char* name;
    std::vector<const char*> files;  // below the folder to delete
    std::vector<const char*> left;   // what must remain afterwards
    bool result;
  };
  const Case cases[] = {
      {"plain tree", {"a.txt", "bin/b.dll", "bin/deep/c.dat"}, {}, true},
      {"dot file at the top", {"a.txt", ".keep", "bin/b.dll"}, {".keep"}, false},
      {"dot folder deep down", {"bin/.git/HEAD", "bin/b.dll", "c.txt"}, {"bin/.git/HEAD"}, false},
      {"read-only file", {"ro.txt", "x.txt"}, {"ro.txt"}, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string root = "case" + std::to_string(++n);
    dir.makeFolder(root);
    for (std::string file : c.files) {
      std::replace(file.begin(), file.end(), '/', '\\');
      for (std::size_t cut = file.find('\\'); cut != std::string::npos;
           cut = file.find('\\', cut + 1)) {
        dir.makeFolder(root + "\\" + file.substr(0, cut));
      }
      dir.write(root + "\\" + file, "x");
    }
    if (dir.exists(root + "\\ro.txt"))
      SetFileAttributesA((dir / root + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    // Leading blanks are skipped.
    EXPECT_EQ(deleteDirectory("  " + (dir / root)), c.result) << c.name;
    EXPECT_EQ(dir.exists(root), !c.left.empty()) << c.name;
    for (std::string file : c.left) {
      std::replace(file.begin(), file.end(), '/', '\\');
      EXPECT_TRUE(dir.exists(root + "\\" + file)) << c.name << ": " << file;
    }
    if (dir.exists(root + "\\a.txt") || dir.exists(root + "\\x.txt") ||
        dir.exists(root + "\\bin\\b.dll")) {
      ADD_FAILURE() << c.name << ": an ordinary entry was left";
    }
  }
}

// A drive letter of its own for the refusals, so that a fault there can harm only this
// test's folder.
class DriveRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("sentinel.txt", "s");
    dir.makeFolder("sub");
    if (!DefineDosDeviceA(0, "Q:", dir.path().c_str())) GTEST_SKIP() << "no drive letter mapping";
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    before = previous;
    SetCurrentDirectoryA("Q:\\");
  }
  void TearDown() override {
    if (!before.empty()) SetCurrentDirectoryA(before.c_str());
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, "Q:", nullptr);
  }
  TempFolder dir;
  std::string before;
};

TEST_F(DriveRootTest, EmptyPathsAndDriveRootsAreRefused) {
  for (const char* path : {"", "   ", "Q:", "Q:\\", "  q:\\", "q:"}) {
    EXPECT_FALSE(deleteDirectory(path)) << "'" << path << "'";
    EXPECT_TRUE(dir.exists("sentinel.txt")) << "'" << path << "'";
    EXPECT_TRUE(dir.exists("sub")) << "'" << path << "'";
  }
}

TEST(DeleteDirectory, RemovesALinkedFolderButNotWhatItPointsTo) {
  TempFolder dir;
  dir.makeFolder("outside");
  dir.write("outside\\precious.txt", "keep me");
  dir.makeFolder("staging");
  dir.write("staging\\a.txt", "a");
  // Newer than the platform version the build targets: looked up at run time.
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  const auto createLink = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  if (!createLink || !createLink((dir / "staging\\link").c_str(), (dir / "outside").c_str(), 1)) {
    GTEST_SKIP() << "no folder links here";
  }
  EXPECT_TRUE(deleteDirectory(dir / "staging"));
  EXPECT_FALSE(dir.exists("staging"));
  EXPECT_EQ(dir.read("outside\\precious.txt"), "keep me");
}

}  // namespace
}  // namespace forms
