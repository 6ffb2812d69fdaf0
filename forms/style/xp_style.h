#pragma once
// The runtime's own XP-era look for the standard controls of one thread.
#include <cstdint>

namespace forms {

// 1, 2 or 3 removes the look installed before on this thread and installs it anew in
// that colour scheme, for the thread's existing windows and the ones it creates later;
// returns true. Any other value removes the look and returns whether there was one.
bool setXpStyle(std::int32_t style);

}  // namespace forms
