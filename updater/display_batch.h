#pragma once
// What the data steps of the engine's threads leave for the window thread. A download
// sends a data step for every receive, thousands a second; the window thread takes
// them in batches at display rate instead of serving each, so that it never sets the
// download's pace. Portable: the window thread decides when to take.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "forms/values/text.h"

namespace updater {

// The latest values that data steps gave one task's row.
struct RowView {
  std::optional<forms::Text> speedCaption;  // only steps that refreshed the speed give one
  std::int32_t barPosition = 0;
};

// Everything gathered since the last take: the log lines in their order, one view per
// task number.
struct DisplayWork {
  forms::Text log;
  std::map<std::int32_t, RowView> rows;

  bool empty() const { return log.empty() && rows.empty(); }
};

class DisplayBatch {
 public:
  // One data step of task k (any thread). True when the batch was empty before, so
  // that the caller wakes the window thread once per batch, not once per step.
  bool addDataStep(std::int32_t k, std::optional<forms::Text> speedCaption,
                   std::int32_t barPosition, const forms::Text& logLine);

  // A log line of its own (any thread), shown with the batch; true as addDataStep.
  bool addLogLine(const forms::Text& line);

  // Everything gathered, leaving the batch empty.
  DisplayWork take();

 private:
  std::mutex mutex_;
  DisplayWork work_;
};

}  // namespace updater
