#include "forms/units/zip/unzip_archive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/temp_folder.h"
#include "test_support/zip_maker.h"

namespace forms {
namespace {

using test_support::makeZip;
using test_support::TempFolder;
using test_support::ZipEntry;

constexpr std::uint32_t kFolder = FILE_ATTRIBUTE_DIRECTORY;

class UnzipTest : public ::testing::Test {
 protected:
  // Writes the archive as package.zip and unpacks it into "out", noting the progress.
  int unzip(const std::vector<ZipEntry>& entries, bool (*answer)(int) = nullptr) {
    dir.write("package.zip", makeZip(entries));
    return unzipFile(dir / "package.zip", answer);
  }
  int unzipFile(const std::string& archive, bool (*answer)(int) = nullptr) {
    progress.clear();
    return unzipArchive(archive, dir / "out", [&](int percent) {
      progress.push_back(percent);
      return answer ? answer(percent) : true;
    });
  }
  bool has(const std::string& relative) const { return dir.exists("out\\" + relative); }
  std::string content(const std::string& relative) const { return dir.read("out\\" + relative); }

  TempFolder dir;
  std::vector<int> progress;
};

TEST_F(UnzipTest, UnpacksFilesAndFoldersInArchiveOrderReportingProgress) {
  const std::string big(200000, 'z');
  ASSERT_EQ(unzip({{"Talvery.exe", "program"},
                   {"main_update/", "", false, kFolder},
                   {"main_update/update.exe", big},
                   {"empty/", "", false, kFolder},
                   {"plain.txt", "stored", false}}),
            1);
  EXPECT_EQ(content("Talvery.exe"), "program");
  EXPECT_EQ(content("main_update\\update.exe"), big);
  EXPECT_EQ(content("plain.txt"), "stored");
  EXPECT_TRUE(has("empty"));
  EXPECT_EQ(progress, (std::vector<int>{0, 20, 40, 60, 80, 100}));
}

TEST_F(UnzipTest, MakesTheTargetAndItsParentsButNoFolderForAFileEntry) {
  dir.write("package.zip", makeZip({{"a.txt", "a"}, {"sub/b.txt", "b"}, {"c.txt", "c"}}));
  ASSERT_EQ(unzipArchive(dir / "package.zip", dir / "x\\y\\out\\", nullptr), 0);
  EXPECT_EQ(dir.read("x\\y\\out\\a.txt"), "a");
  EXPECT_FALSE(dir.exists("x\\y\\out\\sub"));
  EXPECT_FALSE(dir.exists("x\\y\\out\\c.txt")) << "the unpacking stops at the failed entry";
}

TEST_F(UnzipTest, AFolderEntryMadeWithoutTheDirectoryAttributeStillMakesAFolder) {
  ASSERT_EQ(unzip({{"bin/", "", false}, {"bin/x.dll", "x"}}), 1);
  EXPECT_EQ(content("bin\\x.dll"), "x");
}

TEST_F(UnzipTest, ReadOnlyFlagsAreNeitherKeptNorInTheWay) {
  dir.makeFolder("out");
  dir.write("out\\old.txt", "old");
  SetFileAttributesA((dir / "out\\old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(unzip({{"old.txt", "new", true, FILE_ATTRIBUTE_READONLY},
                   {"ro.txt", "r", true, FILE_ATTRIBUTE_READONLY}}),
            1);
  EXPECT_EQ(content("old.txt"), "new");
  for (const char* name : {"old.txt", "ro.txt"}) {
    EXPECT_FALSE(GetFileAttributesA((dir / "out\\" + name).c_str()) & FILE_ATTRIBUTE_READONLY)
        << name;
  }
}

TEST_F(UnzipTest, FileTimesComeFromTheEntry) {
  ASSERT_EQ(unzip({{"t.txt", "t"}}), 1);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA((dir / "out\\t.txt").c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  WORD date = 0, time = 0;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  EXPECT_EQ(date, ZipEntry{}.dosDate);
  EXPECT_EQ(time, ZipEntry{}.dosTime);
}

TEST_F(UnzipTest, ABadEntryStopsTheUnpackingAndLeavesNoFileBehind) {
  struct Case {
    const char* name;
    ZipEntry bad;
  };
  ZipEntry crc{"bad.bin", std::string(5000, 'c')};
  crc.wrongCrc = true;
  ZipEntry storedCrc{"bad.bin", "stored data", false};
  storedCrc.wrongCrc = true;
  ZipEntry damaged{"bad.bin", std::string(5000, 'd')};
  damaged.damaged = true;
  for (const Case& c : {Case{"crc mismatch", crc}, Case{"stored crc mismatch", storedCrc},
                        Case{"damaged", damaged}}) {
    ASSERT_EQ(unzip({{"first.txt", "1"}, c.bad, {"last.txt", "3"}}), 0) << c.name;
    EXPECT_EQ(content("first.txt"), "1") << c.name;
    EXPECT_FALSE(has("bad.bin")) << c.name;
    EXPECT_FALSE(has("last.txt")) << c.name;
    EXPECT_EQ(progress, std::vector<int>{0}) << c.name;
  }
}

TEST_F(UnzipTest, NamesLeadingOutsideTheTargetStopEverythingBeforeAnyWrite) {
  const char* names[] = {
      "../evil.txt",  "..\\evil.txt", "a/../../evil.txt",         "/evil.txt",  "\\evil.txt",
      "C:\\evil.txt", "C:evil.txt",   "\\\\srv\\share\\evil.txt", "a.txt:evil", "con"};
  for (const char* name : names) {
    EXPECT_EQ(unzip({{"first.txt", "1"}, {name, "evil"}}), 0) << name;
    EXPECT_FALSE(has("first.txt")) << name;
    EXPECT_FALSE(dir.exists("evil.txt")) << name;
    EXPECT_TRUE(progress.empty()) << name;
  }
}

TEST_F(UnzipTest, NamesWithDotsUnpackNormally) {
  ASSERT_EQ(unzip({{"a..b.txt", "ab"}, {".config/", "", false, kFolder}, {".config/x", "x"}}), 1);
  EXPECT_EQ(content("a..b.txt"), "ab");
  EXPECT_EQ(content(".config\\x"), "x");
}

TEST_F(UnzipTest, SymbolicLinkEntriesAreNotCreated) {
  ZipEntry link{"link", "../../outside", false, 0120777u << 16, 0x031E};
  ASSERT_EQ(unzip({link, {"after.txt", "a"}}), 1);
  EXPECT_FALSE(has("link"));
  EXPECT_EQ(content("after.txt"), "a");
  EXPECT_EQ(progress, (std::vector<int>{0, 50, 100}));
}

TEST_F(UnzipTest, AFalseFromTheProgressStopsWithSuccess) {
  const int result =
      unzip({{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}}, [](int p) { return p < 25; });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(has("a"));
  EXPECT_TRUE(has("b"));
  EXPECT_FALSE(has("c"));
  EXPECT_EQ(progress, (std::vector<int>{0, 25}));
}

TEST_F(UnzipTest, RefusesWhatIsNoArchive) {
  const std::string zip = makeZip({{"a.txt", "a"}});
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"shorter than 32 bytes", zip.substr(0, 31)},
      {"no local header first", "XX" + zip},
      {"signature without a directory", std::string("PK\x03\x04", 4) + std::string(60, '\0')},
  };
  for (const Case& c : cases) {
    dir.write("bad.zip", c.bytes);
    EXPECT_EQ(unzipFile(dir / "bad.zip"), 0) << c.name;
    EXPECT_FALSE(has("a.txt")) << c.name;
  }
  // Missing paths or archive.
  EXPECT_EQ(unzipFile(dir / "missing.zip"), -1);
  EXPECT_EQ(unzipFile(""), -1);
  dir.write("good.zip", zip);
  EXPECT_EQ(unzipArchive(dir / "good.zip", "", nullptr), -1);
  // A target below a file cannot be made.
  dir.write("file", "f");
  EXPECT_EQ(unzipArchive(dir / "good.zip", dir / "file\\out", nullptr), 0);
}

}  // namespace
}  // namespace forms
