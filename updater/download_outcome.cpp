#include "updater/download_outcome.h"

#include "download/download.h"

namespace updater {

bool receivedWhole(const StateReader& value) {
  const std::int32_t total = value(download::kStateTotalSize, 0);
  const std::int32_t ranges = value(download::kStateRangeCount, 0);
  // The received count is the sum of the ranges' own: whole ranges that cover the size
  // make it the size, so it needs no check of its own.
  if (total <= 0 || ranges < 1) return false;
  std::int64_t covered = 0;
  for (std::int32_t i = 1; i <= ranges; ++i) {
    const std::int32_t length = value(download::kStateRangeLength, i);
    if (length < 0 || value(download::kStateRangeReceived, i) != length) return false;
    covered += length;
  }
  return covered == total;
}

}  // namespace updater
