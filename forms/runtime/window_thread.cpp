// The funnel to the window thread through the hidden window, and paced works.
#include "forms/runtime/window_thread.h"

#include <map>
#include <memory>
#include <utility>

#include "forms/runtime/core.h"
#include "forms/runtime/hidden_window.h"
#include "forms/runtime/private_messages.h"

namespace forms {

namespace {

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

}  // namespace

void wakePacedWork(std::uintptr_t id) {
  if (PacedWork* p = pacedWork(id)) p->requested();
}

bool runOnWindowThread(const Work& work) {
  if (onWindowThread()) {
    work();
    return true;
  }
  // A window destroyed meanwhile answers 0: the work did not run.
  const HWND h = hiddenWindow();
  return h && SendMessageW(h, kRunWorkMessage, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

bool postToWindowThread(Work work) {
  const HWND h = hiddenWindow();
  if (!h) return false;
  auto queued = std::make_unique<Work>(std::move(work));
  if (!PostMessageW(h, kPostedWorkMessage, 0, reinterpret_cast<LPARAM>(queued.get()))) return false;
  queued.release();  // the window's procedure frees it
  return true;
}

PacedWork::PacedWork(Work work, std::uint32_t intervalMs)
    : work_(std::move(work)), interval_(intervalMs) {
  static std::uintptr_t lastId = kPacedTimerBase;
  id_ = ++lastId;
  pacedWorks()[id_] = this;
}

PacedWork::~PacedWork() {
  pacedWorks().erase(id_);
  killHiddenTimer(id_);
}

void PacedWork::request() {
  if (const HWND h = hiddenWindow()) PostMessageW(h, kPacedWakeMessage, id_, 0);
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
