#include "updater/speed_meter.h"

namespace updater {

void SpeedMeter::start(std::uint32_t nowMs) {
  started_ = true;
  since_ = nowMs;
  bytes_ = 0;
}

std::optional<double> SpeedMeter::add(std::int64_t bytes, std::uint32_t nowMs) {
  if (!started_) start(nowMs);
  if (bytes > 0) bytes_ += bytes;
  const std::uint32_t elapsed = nowMs - since_;  // unsigned: a wrapped tick still counts
  if (elapsed < kRefreshMs) return std::nullopt;
  const double rate = bytes_ * 1000.0 / elapsed;
  since_ = nowMs;
  bytes_ = 0;
  return rate;
}

}  // namespace updater
