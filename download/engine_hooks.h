#pragma once
// What a task takes from its surroundings besides its parameters; tests pass their own.
#include <functional>

#include "download/download.h"
#include "download/download_target.h"
#include "download/wait_clock.h"

namespace download {

struct EngineHooks {
  EngineHooks() = default;
  EngineHooks(WaitClock* clock, TargetStore* store) : clock(clock), store(store) {}

  WaitClock* clock = &systemClock();
  TargetStore* store = &fileStore();
  // Seams where a test holds a connection's thread up, as a busy machine may; empty in the
  // programs. Before the first connection starts the connection of range `index`:
  std::function<void(int index)> beforeRangeStart;
  // As a name lookup returns, which no stop interrupts:
  std::function<void()> afterLookUp;
  // Before a connection that failed gives its range `index` back:
  std::function<void(int index)> beforeRelease;
  // As the first connection is about to ask kSameNameFile:
  std::function<void()> beforeSameNameQuestion;
};

// startDownload with the given clock and target store.
bool startDownloadWith(Download& download, const TaskParam& param, const EngineHooks& hooks);

}  // namespace download
