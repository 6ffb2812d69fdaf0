// Program life: start-up, the message loop, the end routine and the end of the process.
#include <objbase.h>

#include <cstdlib>
#include <new>

#include "forms/runtime/core.h"
#include "forms/runtime/hidden_window.h"
#include "forms/runtime/window_thread.h"

namespace forms {

namespace {

void runEndRoutine() {
  RuntimeState& s = state();
  if (s.endRan) return;
  s.endRan = true;
  if (s.endRoutine) s.endRoutine();
}

// Once: a program may end itself (endProgram) after its message loop has cleaned up.
void cleanUp() {
  static bool done = false;
  if (done) return;
  done = true;
  RuntimeState& s = state();
  runEndRoutine();
  ++s.holdEvents;
  std::vector<HWND> windows;
  for (auto& [id, w] : s.live) windows.push_back(w->hwnd);
  for (HWND h : windows)
    if (IsWindow(h)) DestroyWindow(h);
  killHiddenTimers();
  removeDialogLoopFilter();
  OleUninitialize();
  destroyHiddenWindow();
}

void setCurrentDirectoryToProgram() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  for (DWORD i = n; i-- > 0;)
    if (path[i] == '\\') {
      path[i] = 0;
      SetCurrentDirectoryA(path);
      return;
    }
}

}  // namespace

void startRuntime(const UnitTable& units, const HandlerEntry* handlers, std::size_t count,
                  const ByteSet& segment) {
  RuntimeState& s = state();
  s.units = &units;
  s.thread = GetCurrentThreadId();
  s.started = true;
  OleInitialize(nullptr);
  setCurrentDirectoryToProgram();
  createHiddenWindow();
  installDialogLoopFilter();
  std::map<std::uint32_t, Handler> byKey;
  for (std::size_t i = 0; i < count; ++i)
    if (handlers[i].name) byKey[handlerKey(handlers[i].name)] = handlers[i].handler;
  std::optional<StoredSegment> read = readStoredSegment(segment, byKey);
  if (!read) fatalError(tpl::kSegmentUnreadable);
  s.segment = std::move(*read);
  s.nextSerial = s.segment.highestSerial;
  // The end routine also runs when the entry returns without the message loop.
  std::atexit([] {
    if (!state().endRan) runEndRoutine();
  });
}

void registerEndRoutine(EndRoutine routine) { state().endRoutine = routine; }

void runMessageLoop() {
  MSG msg;
  while (!state().live.empty() && GetMessageW(&msg, nullptr, 0, 0) > 0) serveMessage(msg);
  cleanUp();
}

void endProgram(std::int32_t code) {
  if (onWindowThread()) {
    cleanUp();
    ExitProcess(static_cast<UINT>(code));
  }
  // The window thread does the clean-up; this thread waits until the process ends.
  postToWindowThread([code] {
    cleanUp();
    ExitProcess(static_cast<UINT>(code));
  });
  for (;;) Sleep(INFINITE);
}

void raiseRuntimeError(const Text& message) {
  runOnWindowThread([&] { fatalError(message); });
  for (;;) Sleep(INFINITE);
}

void raiseRuntimeError(std::int32_t number) {
  struct Numbered {
    std::int32_t number;
    const char* text;
  };
  static const Numbered kErrors[] = {
      {1, "数组成员引用下标超出定义范围"},
      {4, "数组成员引用下标必须大于等于1"},
      {10, "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"},
  };
  Text text;
  for (const Numbered& e : kErrors)
    if (e.number == number) text = e.text;
  runOnWindowThread([&] { fatalError(text, number); });
  for (;;) Sleep(INFINITE);
}

}  // namespace forms

// The runtime's heap: a failed allocation is reported with its size and ends the program.
void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  forms::reportExhaustedHeap(size);
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
