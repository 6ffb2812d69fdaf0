#pragma once
// The runtime's hidden window: it owns the top-level windows without a taskbar button,
// carries the timers of units without a window of their own and is the door of
// window_thread.h. Window thread only.
#include <windows.h>

#include <cstdint>
#include <functional>

namespace forms {

// Made by the start of the runtime.
void createHiddenWindow();
// The last step of the runtime's clean-up: from then on other threads' work is refused,
// and work posted but not yet run is dropped.
void destroyHiddenWindow();
// Null before the start and after the clean-up.
HWND hiddenWindow();

// A timer of the hidden window: its ticks come through the window thread's queue, so
// nested message loops serve them too. id is the caller's, from kUnitTimerBase up
// (private_messages.h); setting an id again replaces its period and call.
void setHiddenTimer(UINT_PTR id, UINT periodMs, std::function<void()> elapsed);
void killHiddenTimer(UINT_PTR id);
// Kills every such timer: part of the runtime's clean-up.
void killHiddenTimers();

// The paced work numbered id is asked for (window_thread.cpp): the hidden window's
// procedure calls it for kPacedWakeMessage.
void wakePacedWork(std::uintptr_t id);

}  // namespace forms
