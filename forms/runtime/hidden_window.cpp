// The runtime's hidden window: its procedure, which runs the window thread's work, and
// its timers.
#include "forms/runtime/hidden_window.h"

#include <atomic>
#include <map>
#include <memory>
#include <utility>

#include "base/window_class.h"
#include "forms/runtime/private_messages.h"

namespace forms {

namespace {

// Read by any thread; written by the window thread when the window is made and goes.
std::atomic<HWND> hidden{nullptr};

using Work = std::function<void()>;

// The hidden window's timers by id (Timer units' and paced works'), window thread only.
std::map<UINT_PTR, Work>& hiddenTimers() {
  static std::map<UINT_PTR, Work> timers;
  return timers;
}

void hiddenTimerElapsed(UINT_PTR id) {
  auto it = hiddenTimers().find(id);
  if (it == hiddenTimers().end()) return;
  const Work elapsed = it->second;  // the call may kill its own timer
  elapsed();
}

// The door of window_thread.h: the work of other threads runs here.
LRESULT CALLBACK serveHiddenWindow(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case kRunWorkMessage:
      // A send that waited while the window goes finds the end: refused, as after it.
      if (!hidden.load()) return 0;
      (*reinterpret_cast<const Work*>(lp))();
      return 1;
    case kPostedWorkMessage: {
      const std::unique_ptr<Work> work(reinterpret_cast<Work*>(lp));
      (*work)();
      return 0;
    }
    case kPacedWakeMessage: wakePacedWork(wp); return 0;
    case WM_TIMER: hiddenTimerElapsed(wp); return 0;
    default: return DefWindowProcW(w, message, wp, lp);
  }
}

}  // namespace

void createHiddenWindow() {
  if (hidden.load()) return;
  base::registerWindowClass({L"TvRuntime", 0}, serveHiddenWindow);
  // A real top-level window (not message-only): it owns the windows without a taskbar
  // button.
  hidden = CreateWindowExW(WS_EX_TOOLWINDOW, L"TvRuntime", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void destroyHiddenWindow() {
  const HWND h = hidden.exchange(nullptr);
  if (!h) return;
  MSG msg;
  while (PeekMessageW(&msg, h, kPostedWorkMessage, kPostedWorkMessage, PM_REMOVE))
    delete reinterpret_cast<Work*>(msg.lParam);
  DestroyWindow(h);
}

HWND hiddenWindow() { return hidden.load(); }

void setHiddenTimer(UINT_PTR id, UINT periodMs, Work elapsed) {
  SetTimer(hidden.load(), id, periodMs, nullptr);
  hiddenTimers()[id] = std::move(elapsed);
}

void killHiddenTimer(UINT_PTR id) {
  KillTimer(hidden.load(), id);
  hiddenTimers().erase(id);
}

void killHiddenTimers() {
  for (auto& [id, elapsed] : hiddenTimers()) KillTimer(hidden.load(), id);
  hiddenTimers().clear();
}

}  // namespace forms
