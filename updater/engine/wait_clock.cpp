#include "updater/engine/wait_clock.h"

namespace forms::engine {

WaitClock& systemClock() {
  static WaitClock clock;
  return clock;
}

}  // namespace forms::engine
