#pragma once
// The speed cell's figure: bytes per second over the time since its previous update,
// refreshed about once a second (the engine reports every receive step, many times a
// second, and a step's size alone is no rate).
#include <cstdint>
#include <optional>

namespace updater {

class SpeedMeter {
 public:
  static constexpr std::uint32_t kRefreshMs = 1000;

  // Starts a new measurement at now (a millisecond tick that may wrap).
  void start(std::uint32_t nowMs);

  // Adds bytes received by now; once kRefreshMs have passed since the last update, gives
  // the rate in bytes per second and begins the next interval.
  std::optional<double> add(std::int64_t bytes, std::uint32_t nowMs);

 private:
  bool started_ = false;
  std::uint32_t since_ = 0;
  std::int64_t bytes_ = 0;
};

}  // namespace updater
