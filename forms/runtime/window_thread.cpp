// The hidden window and the funnel through it.
#include "forms/runtime/window_thread.h"

#include <atomic>
#include <map>
#include <memory>
#include <utility>

#include "base/window_class.h"
#include "forms/runtime/core.h"
#include "forms/runtime/hidden_window.h"
#include "forms/runtime/private_messages.h"

namespace forms {

namespace {

// Read by any thread; written by the window thread when the window is made and goes.
std::atomic<HWND> hidden{nullptr};

// The paced works by number, window thread only: a request names its work by number,
// so one that arrives after the work is gone finds nothing.
std::map<std::uintptr_t, PacedWork*>& pacedWorks() {
  static std::map<std::uintptr_t, PacedWork*> works;
  return works;
}

PacedWork* pacedWork(std::uintptr_t id) {
  auto it = pacedWorks().find(id);
  return it == pacedWorks().end() ? nullptr : it->second;
}

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

}  // namespace

struct HiddenWindowProcedure {
  static LRESULT CALLBACK serve(HWND w, UINT message, WPARAM wp, LPARAM lp) {
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
      case kPacedWakeMessage:
        if (PacedWork* p = pacedWork(wp)) p->requested();
        return 0;
      case WM_TIMER:
        hiddenTimerElapsed(wp);
        return 0;
      default: return DefWindowProcW(w, message, wp, lp);
    }
  }
};

void createHiddenWindow() {
  if (hidden.load()) return;
  base::registerWindowClass({L"TvRuntime", 0}, HiddenWindowProcedure::serve);
  // A real top-level window (not message-only): it owns the windows without a taskbar
  // button.
  hidden = CreateWindowExW(WS_EX_TOOLWINDOW, L"TvRuntime", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
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

bool runOnWindowThread(const Work& work) {
  if (onWindowThread()) {
    work();
    return true;
  }
  // A window destroyed meanwhile answers 0: the work did not run.
  const HWND h = hidden.load();
  return h && SendMessageW(h, kRunWorkMessage, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

bool postToWindowThread(Work work) {
  const HWND h = hidden.load();
  if (!h) return false;
  auto queued = std::make_unique<Work>(std::move(work));
  if (!PostMessageW(h, kPostedWorkMessage, 0, reinterpret_cast<LPARAM>(queued.get()))) return false;
  queued.release();  // the window's procedure frees it
  return true;
}

PacedWork::PacedWork(Work work, std::uint32_t intervalMs) : work_(std::move(work)), interval_(intervalMs) {
  static std::uintptr_t lastId = kPacedTimerBase;
  id_ = ++lastId;
  pacedWorks()[id_] = this;
}

PacedWork::~PacedWork() {
  pacedWorks().erase(id_);
  killHiddenTimer(id_);
}

void PacedWork::request() {
  if (const HWND h = hidden.load()) PostMessageW(h, kPacedWakeMessage, id_, 0);
}

void PacedWork::requested() {
  const DWORD since = GetTickCount() - lastRun_;  // unsigned: a wrapped tick still counts
  if (!ran_ || since >= interval_) {
    run();
    return;
  }
  // A timer set again replaces the one that waits: one run, at the end of the interval.
  setHiddenTimer(id_, interval_ - since, [this] { run(); });
}

void PacedWork::run() {
  killHiddenTimer(id_);
  ran_ = true;
  lastRun_ = GetTickCount();
  if (work_) work_();
}

}  // namespace forms
