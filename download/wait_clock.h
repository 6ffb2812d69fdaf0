#pragma once
// Where the engine's waits get their length: retries wait seconds and time-outs are seconds
// long, so tests replace the clock with one that shortens every wait.
#include <cstdint>

namespace download {

class WaitClock {
 public:
  virtual ~WaitClock() = default;
  // The real milliseconds to wait for a wait the engine states as `ms`.
  virtual std::int64_t realMs(std::int64_t ms) const { return ms; }
};

WaitClock& systemClock();

}  // namespace download
