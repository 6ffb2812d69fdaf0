#include "updater/display_batch.h"

#include <utility>

namespace updater {

bool DisplayBatch::addDataStep(std::int32_t k, std::optional<forms::Text> speedCaption,
                               std::int32_t barPosition, const forms::Text& logLine) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool wasEmpty = work_.empty();
  RowView& view = work_.rows[k];
  // A step without a speed leaves the caption that an earlier step of the batch wrote.
  if (speedCaption) view.speedCaption = std::move(speedCaption);
  view.barPosition = barPosition;
  work_.log += logLine;
  return wasEmpty;
}

bool DisplayBatch::addLogLine(const forms::Text& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool wasEmpty = work_.empty();
  work_.log += line;
  return wasEmpty;
}

DisplayWork DisplayBatch::take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(work_, DisplayWork{});
}

}  // namespace updater
