#pragma once
// The one way from other threads to the window thread (the thread that started the
// runtime). Work runs there between the window thread's own messages: never in the
// middle of a handler, a window close or the end-of-program routine, unless that one
// serves messages itself.
#include <cstdint>
#include <functional>

namespace forms {

// Runs work on the window thread and returns when it is done: at once on the window
// thread, and on the calling thread before the runtime starts. From another thread,
// false with nothing run once the runtime has ended.
bool runOnWindowThread(const std::function<void()>& work);

// Queues work for the window thread and returns at once; the works that one thread
// posts run in the order it posted them. False, with nothing queued, before the runtime
// starts and after it has ended; work still queued at the end is dropped.
bool postToWindowThread(std::function<void()> work);

// Work that any thread asks for without waiting, run on the window thread at most once
// per interval however often it is asked for: a request after a quiet interval runs it
// as soon as the window thread serves the request, requests within the interval join one
// run at its end. Made and destroyed on the window thread; a request that arrives after
// the object is gone is dropped.
class PacedWork {
 public:
  PacedWork(std::function<void()> work, std::uint32_t intervalMs);
  ~PacedWork();
  PacedWork(const PacedWork&) = delete;
  PacedWork& operator=(const PacedWork&) = delete;

  // Any thread, never waits.
  void request();

 private:
  friend void wakePacedWork(std::uintptr_t id);
  void requested();
  void run();

  std::function<void()> work_;
  std::uint32_t interval_;
  std::uintptr_t id_;
  std::uint32_t lastRun_ = 0;
  bool ran_ = false;
};

}  // namespace forms
