#pragma once
// A task's stop: a flag that a connection reads between two steps at no cost, and a
// manual-reset event that every wait of the task includes, so a stop ends any wait at once.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/handles.h"

namespace download {

class StopSignal {
 public:
  StopSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  void set();
  bool isSet() const { return flag_.load(); }
  HANDLE event() const { return event_.get(); }
  // Sleeps `ms` milliseconds; false as soon as the stop is set.
  bool sleep(std::int64_t ms) const;

 private:
  std::atomic<bool> flag_{false};
  base::KernelHandle event_;
};

// A wait's length for the Win32 waits: never negative, and below INFINITE.
DWORD waitMs(std::int64_t ms);

}  // namespace download
