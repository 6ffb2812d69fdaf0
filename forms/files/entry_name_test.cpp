#include "forms/files/entry_name.h"

#include <gtest/gtest.h>

#include <string>

namespace forms {
namespace {

TEST(EntryName, RefusesNamesThatLeaveTheTargetFolder) {
  const char* refused[] = {
      "",
      "/etc/passwd",
      "\\Windows\\win.ini",
      "\\\\server\\share\\a.txt",
      "\\\\?\\C:\\a.txt",
      "\\\\.\\PhysicalDrive0",
      "C:\\a.txt",
      "C:/a.txt",
      "C:a.txt",
      "d:",
      "a.txt:stream",
      "dir/a.txt::$DATA",
      "..",
      "../a.txt",
      "..\\a.txt",
      "a/../../b.txt",
      "a\\..\\..\\b.txt",
      "a/..\\b.txt",
      "a/..",
      "a/.../b",
      "a/.. /b",
      "CON",
      "prn.txt",
      "CONIN$",
      "dir/conout$.log",
      "dir/nul.txt",
      "dir/nul.tar.gz",
      "Com1",
      "lpt9.log",
      "aux .txt",
  };
  for (const char* name : refused) EXPECT_FALSE(isSafeEntryName(name)) << name;
}

TEST(EntryName, AcceptsPlainRelativeNames) {
  const char* accepted[] = {
      "a.txt",
      "a..b.txt",
      "..a",
      "a..",
      ".config/",
      ".config/settings",
      "./a.txt",
      "bin/deep/c.dll",
      "bin\\deep\\c.dll",
      "folder/",
      "console.txt",
      "com10.txt",
      "com0.txt",
      "LPT0",
      "com.txt",
      "Talvery.exe",
      "main_update/update.exe",
      "\xCD\xBC\xC6\xAC/\xB1\xED.txt",  // GBK folder and file names
  };
  for (const char* name : accepted) EXPECT_TRUE(isSafeEntryName(name)) << name;
}

TEST(EntryName, ANameIsReadToItsFullLength) {
  // A zero byte must not hide what follows it from the check.
  EXPECT_FALSE(isSafeEntryName(std::string("ok\0/../x", 8)));
}

}  // namespace
}  // namespace forms
