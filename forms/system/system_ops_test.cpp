// Processes and files as the programs start and touch them, under Wine.
#include "forms/system/system_ops.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace forms {
namespace {

TEST(RunProgram, WindowModesReachTheChild) {
  EXPECT_EQ(showCommandOfWindowMode(-3), SW_HIDE);
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string child = path;
  // The runtime's child program, built beside the runtime's tests.
  child = child.substr(0, child.rfind('\\') + 1) + "..\\runtime\\forms_runtime_child.exe";
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string report = std::string(temp) + "tv_show_window.txt";
  struct Case {
    std::int32_t mode;
    int show;
  };
  const Case cases[] = {{0, SW_HIDE},          {1, SW_HIDE},          {2, SW_SHOWNORMAL},
                        {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED}, {5, SW_SHOWNOACTIVATE},
                        {6, SW_MINIMIZE},      {9, SW_MINIMIZE}};
  for (const Case& c : cases) {
    DeleteFileA(report.c_str());
    ASSERT_TRUE(runProgram("\"" + child + "\" showwindow " + report, true, c.mode));
    std::ifstream in(report);
    int shown = -1;
    in >> shown;
    EXPECT_EQ(shown, c.show) << "mode " << c.mode;
  }
  EXPECT_FALSE(runProgram("C:\\no\\such\\program.exe"));
}

TEST(Files, RunDirectoryAndFolderAndFileResults) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  dir.resize(dir.rfind('\\'));
  EXPECT_EQ(getRunDirectory(), dir);

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "tv_runtime_folder";
  RemoveDirectoryA(folder.c_str());
  EXPECT_TRUE(createDirectory(folder + "\\"));
  EXPECT_FALSE(createDirectory(folder));
  EXPECT_FALSE(createDirectory(folder + "\\missing\\deeper"));
  const std::string file = folder + "\\f.txt";
  std::ofstream(file) << "x";
  EXPECT_TRUE(deleteFile(file));
  EXPECT_FALSE(deleteFile(file));
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace forms
