#include "download/wait_clock.h"

namespace download {

WaitClock& systemClock() {
  static WaitClock clock;
  return clock;
}

}  // namespace download
