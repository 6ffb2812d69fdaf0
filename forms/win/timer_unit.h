#pragma once
// Timer units tick through the window thread's queue (WM_TIMER of the runtime's window),
// so ticks are served inside nested message loops too.
#include <windows.h>

namespace forms {

void timerElapsed(UINT_PTR id);
void stopAllTimers();

}  // namespace forms
