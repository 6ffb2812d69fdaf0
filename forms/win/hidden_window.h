#pragma once
// The runtime's hidden window: it owns the top-level windows without a taskbar button,
// carries the Timer units' timers and is the door of window_thread.h. Window thread only.
#include <windows.h>

namespace forms {

// Made by the start of the runtime.
void createHiddenWindow();
// The last step of the runtime's clean-up: from then on other threads' work is refused,
// and work posted but not yet run is dropped.
void destroyHiddenWindow();
// Null before the start and after the clean-up.
HWND hiddenWindow();

}  // namespace forms
