// Dialogs, processes, files and the screen, as the programs call them.
#include "forms/system/system_ops.h"

#include <windows.h>

#include "base/handles.h"
#include "forms/values/gbk_wide.h"
#include "forms/values/to_text.h"

namespace forms {

static_assert(message_box::kOk == MB_OK && message_box::kIconError == MB_ICONERROR &&
              message_box::kIconInformation == MB_ICONINFORMATION);

std::int32_t messageBox(const Value& value, std::int32_t flags, const Text& caption) {
  // Other kinds than texts, numbers and logicals show an empty text.
  const Text text = std::holds_alternative<ByteSet>(value) ? Text() : toText(value);
  UINT style = static_cast<UINT>(flags);
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  const int pressed = MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(), style);
  return pressed - 1;
}

int showCommandOfWindowMode(std::int32_t mode) {
  static const int kShow[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                              SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
  mode = mode < 1 ? 1 : mode > 6 ? 6 : mode;
  return kShow[mode - 1];
}

bool runProgram(const Text& commandLine, bool wait, std::int32_t windowMode) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(showCommandOfWindowMode(windowMode));
  PROCESS_INFORMATION pi{};
  Text line = commandLine;
  line.push_back('\0');
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  base::KernelHandle process(pi.hProcess), thread(pi.hThread);
  if (wait)
    WaitForSingleObject(process.get(), INFINITE);
  else
    WaitForInputIdle(process.get(), 1000);
  return true;
}

Text getRunDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  Text p(path, n < MAX_PATH ? n : 0);
  std::size_t slash = p.rfind('\\');
  return slash == Text::npos ? Text() : p.substr(0, slash);
}

bool createDirectory(const Text& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }
bool deleteFile(const Text& path) { return DeleteFileA(path.c_str()) != FALSE; }

std::int32_t getScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
std::int32_t getScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace forms
