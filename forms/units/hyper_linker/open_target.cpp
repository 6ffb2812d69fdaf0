#include "forms/units/hyper_linker/open_target.h"

#include <windows.h>
#include <shellapi.h>

#include "base/handles.h"

namespace forms {

Text htmFallbackCommand(const Text& command, const Text& target) {
  Text cut = command;
  std::size_t at = cut.find("\"%1\"");
  if (at == Text::npos) at = cut.find("%1");
  if (at != Text::npos) cut.resize(at);
  return cut + " " + target;
}

namespace {

Text registryDefault(HKEY root, const Text& key) {
  char value[1024];
  LONG size = sizeof value;
  if (RegQueryValueA(root, key.c_str(), value, &size) != ERROR_SUCCESS) return {};
  return Text(value);
}

}  // namespace

bool openTarget(const Text& target) {
  HINSTANCE r = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(r) > 32) return true;
  const Text cls = registryDefault(HKEY_CLASSES_ROOT, ".htm");
  if (cls.empty()) return false;
  const Text command = registryDefault(HKEY_CLASSES_ROOT, cls + "\\shell\\open\\command");
  if (command.empty()) return false;
  Text line = htmFallbackCommand(command, target);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  base::KernelHandle thread(pi.hThread), process(pi.hProcess);
  return true;
}

}  // namespace forms
