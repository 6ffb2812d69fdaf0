#include "download/wait_clock.h"

namespace download {

WaitClock& systemClock() {
  static WaitClock* clock = new WaitClock;  // outlives connection threads still ending at exit
  return *clock;
}

}  // namespace download
