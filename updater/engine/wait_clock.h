#pragma once
// Where the engine's waits get their length: retries wait seconds and time-outs are seconds
// long, so tests replace the clock with one that shortens every wait.
#include <atomic>
#include <cstdint>

namespace forms::engine {

class WaitClock {
 public:
  virtual ~WaitClock() = default;
  // The real milliseconds to wait for a wait the engine states as `ms`.
  virtual std::int64_t realMs(std::int64_t ms) const { return ms; }
};

WaitClock& systemClock();

// Sleeps `ms` real milliseconds in short steps; false as soon as `stop` is set.
bool sleepUnlessStopped(std::int64_t ms, const std::atomic<bool>& stop);

}  // namespace forms::engine
