#include "updater/window_thread_call.h"

namespace updater {
namespace {

constexpr UINT kRunWork = WM_APP + 0x51;
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

LRESULT CALLBACK WindowThreadCall::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunWork) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

WindowThreadCall& windowThread() {
  static WindowThreadCall* instance = new WindowThreadCall;  // outlives late engine calls
  return *instance;
}

}  // namespace updater
