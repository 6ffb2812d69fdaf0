#include "updater/engine/wait_clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace forms::engine {

WaitClock& systemClock() {
  static WaitClock clock;
  return clock;
}

bool sleepUnlessStopped(std::int64_t ms, const std::atomic<bool>& stop) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop.load()) {
    auto now = std::chrono::steady_clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        end - now, std::chrono::milliseconds(20)));
  }
  return false;
}

}  // namespace forms::engine
