#pragma once
// What a task takes from its surroundings besides its parameters; tests pass their own.
#include "download/download.h"
#include "download/download_target.h"
#include "download/wait_clock.h"

namespace download {

struct EngineHooks {
  WaitClock* clock = &systemClock();
  TargetStore* store = &fileStore();
};

// startDownload with the given clock and target store.
bool startDownloadWith(Download& download, const TaskParam& param, const EngineHooks& hooks);

}  // namespace download
