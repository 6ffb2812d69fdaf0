#include "updater/window_thread_call.h"

#include <utility>

namespace updater {
namespace {

constexpr UINT kRunWork = WM_APP + 0x51;
constexpr UINT kPacedWake = WM_APP + 0x52;
constexpr UINT_PTR kPacedTimer = 1;
constexpr wchar_t kClassName[] = L"UpdaterWindowThreadCall";

}  // namespace

WindowThreadCall::~WindowThreadCall() {
  if (window_) DestroyWindow(window_);
}

bool WindowThreadCall::create() {
  if (window_) return true;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);  // fails harmlessly when already registered
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  thread_ = GetCurrentThreadId();
  return window_ != nullptr;
}

bool WindowThreadCall::run(const std::function<void()>& work) {
  if (!window_) return false;
  if (GetCurrentThreadId() == thread_) {
    work();
    return true;
  }
  return SendMessageW(window_, kRunWork, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

void WindowThreadCall::setPaced(std::function<void()> work, DWORD intervalMs) {
  pacedWork_ = std::move(work);
  interval_ = intervalMs;
}

void WindowThreadCall::wakePaced() {
  if (window_) PostMessageW(window_, kPacedWake, 0, 0);
}

void WindowThreadCall::paced() {
  const DWORD since = GetTickCount() - lastPaced_;  // unsigned: a wrapped tick still counts
  if (!ranPaced_ || since >= interval_) {
    runPaced();
    return;
  }
  // A timer set again replaces the one that waits: one run, at the end of the interval.
  SetTimer(window_, kPacedTimer, interval_ - since, nullptr);
}

void WindowThreadCall::runPaced() {
  KillTimer(window_, kPacedTimer);
  ranPaced_ = true;
  lastPaced_ = GetTickCount();
  if (pacedWork_) pacedWork_();
}

LRESULT CALLBACK WindowThreadCall::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<WindowThreadCall*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case kRunWork:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 1;
    case kPacedWake:
      if (self) self->paced();
      return 0;
    case WM_TIMER:
      if (self && wParam == kPacedTimer) {
        self->runPaced();
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

WindowThreadCall& windowThread() {
  static WindowThreadCall* instance = new WindowThreadCall;  // outlives late engine calls
  return *instance;
}

}  // namespace updater
