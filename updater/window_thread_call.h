#pragma once
// Runs work on the window thread for the engine's threads. run() waits for the work: the
// transfer callbacks that need the window thread do all their reading of the globals and
// writing of the row inside one such call, so a window close or the end-of-program
// routine (both on the window thread) can never run in the middle of one. Paced work is
// the other way: a thread asks for it without waiting, and the window thread runs it at
// most once per interval, however often it is asked for.
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

  // The paced work and its least interval; set on the window thread before any wake.
  void setPaced(std::function<void()> work, DWORD intervalMs);
  // From any thread, never waiting: the paced work runs on the window thread as soon as
  // the interval since its last run is over. Wakes that come meanwhile join that run.
  void wakePaced();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paced();
  void runPaced();

  HWND window_ = nullptr;
  DWORD thread_ = 0;
  std::function<void()> pacedWork_;
  DWORD interval_ = 0;
  DWORD lastPaced_ = 0;
  bool ranPaced_ = false;
};

// The program's one instance, made by initUpdaterGlobals on the window thread.
WindowThreadCall& windowThread();

}  // namespace updater
