// Runtime errors end the program with their box text and exit code -1, without the end
// routine; the normal ends run it exactly once.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/handles.h"

namespace {

std::string tempPath(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Outcome {
  DWORD exitCode = 0;
  std::string box;
  std::string endMarker;
};

Outcome runChild(const std::string& mode) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe = path;
  exe = exe.substr(0, exe.rfind('\\') + 1) + "forms_runtime_child.exe";
  const std::string box = tempPath("tv_child_box.txt"), marker = tempPath("tv_child_end.txt");
  DeleteFileA(box.c_str());
  DeleteFileA(marker.c_str());
  SetEnvironmentVariableA("TV_RUNTIME_ERROR_FILE", box.c_str());
  SetEnvironmentVariableA("TV_END_MARKER", marker.c_str());
  std::string line = "\"" + exe + "\" " + mode;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  Outcome out;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "child did not start";
    return out;
  }
  const base::KernelHandle thread(pi.hThread), process(pi.hProcess);
  if (WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << mode << ": the child did not end";
    TerminateProcess(process.get(), 0xDEAD);  // a hung child is no exit code
    WaitForSingleObject(process.get(), 5000);
  }
  GetExitCodeProcess(process.get(), &out.exitCode);
  out.box = readAll(box);
  out.endMarker = readAll(marker);
  return out;
}

}  // namespace

TEST(RuntimeErrors, BoxTextAndExitCodeWithoutTheEndRoutine) {
  struct Case {
    const char* mode;
    const char* box;
  };
  const Case cases[] = {
      {"badsegment", "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n"},
      {"nostart", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"windowonly", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"array",
       "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
      {"notloaded", "运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n"},
      {"unknownwindow", "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n"},
  };
  for (const Case& c : cases) {
    Outcome o = runChild(c.mode);
    EXPECT_EQ(o.exitCode, 0xFFFFFFFFu) << c.mode;
    EXPECT_EQ(o.box, c.box) << c.mode;
    EXPECT_EQ(o.endMarker, "") << c.mode;
  }
}

TEST(RuntimeErrors, ExhaustedHeapTellsTheSizeAskedFor) {
  Outcome o = runChild("heap");
  EXPECT_EQ(o.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(o.box, "分配 " + std::to_string(static_cast<std::size_t>(-1) / 2) + " 字节内存失败!");
  EXPECT_EQ(o.endMarker, "");
}

TEST(ProgramEnd, EndRoutineRunsOnceOnEveryNormalEnd) {
  struct Case {
    const char* mode;
    DWORD exitCode;
  };
  const Case cases[] = {{"endthread", 5}, {"loopend", 0}, {"eventunit", 6}, {"latecall", 7}};
  for (const Case& c : cases) {
    Outcome o = runChild(c.mode);
    EXPECT_EQ(o.exitCode, c.exitCode) << c.mode;
    EXPECT_EQ(o.endMarker, "end\n") << c.mode;
    EXPECT_EQ(o.box, "") << c.mode;
  }
}
