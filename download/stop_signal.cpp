#include "download/stop_signal.h"

#include <algorithm>

namespace download {

void StopSignal::set() {
  flag_ = true;
  SetEvent(event_.get());
}

bool StopSignal::sleep(std::int64_t ms) const {
  if (isSet()) return false;
  return WaitForSingleObject(event_.get(), waitMs(ms)) == WAIT_TIMEOUT;
}

DWORD waitMs(std::int64_t ms) {
  return static_cast<DWORD>(std::clamp<std::int64_t>(ms, 0, INFINITE - 1));
}

}  // namespace download
