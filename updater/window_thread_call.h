#pragma once
// Runs work on the window thread for the engine's threads, and waits for it. The
// transfer callbacks do all their reading of the globals and writing of the row inside
// one such call, so a window close or the end-of-program routine (both on the window
// thread) can never run in the middle of one.
#include <windows.h>

#include <functional>

namespace updater {

// Owns one message-only window of the thread that creates it.
class WindowThreadCall {
 public:
  WindowThreadCall() = default;
  ~WindowThreadCall();
  WindowThreadCall(const WindowThreadCall&) = delete;
  WindowThreadCall& operator=(const WindowThreadCall&) = delete;

  // Creates the window on the calling thread, which becomes the one that runs the work.
  bool create();
  // Runs work on that thread (at once when called there) and returns when it is done;
  // false, with nothing run, when there is no window.
  bool run(const std::function<void()>& work);

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  DWORD thread_ = 0;
};

// The program's one instance, made by initUpdaterGlobals on the window thread.
WindowThreadCall& windowThread();

}  // namespace updater
