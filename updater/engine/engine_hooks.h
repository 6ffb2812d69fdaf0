#pragma once
// What a task takes from its surroundings besides its parameters; tests pass their own.
#include "updater/engine/download.h"
#include "updater/engine/download_target.h"
#include "updater/engine/wait_clock.h"

namespace forms::engine {

struct EngineHooks {
  WaitClock* clock = &systemClock();
  TargetStore* store = &fileStore();
};

// startDownload with the given clock and target store.
bool startDownloadWith(Download& download, const TaskParam& param, const EngineHooks& hooks);

}  // namespace forms::engine
