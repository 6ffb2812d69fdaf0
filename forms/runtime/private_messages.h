#pragma once
// Every private message of the runtime and every timer of its hidden window, in one list
// so that no two share a number.
#include <windows.h>

namespace forms {

// To the hidden window (window_thread.cpp).
constexpr UINT kRunWorkMessage = WM_APP + 1;     // sent: run the work at lParam, answer 1
constexpr UINT kPostedWorkMessage = WM_APP + 2;  // posted: run, then free, the work at lParam
constexpr UINT kPacedWakeMessage = WM_APP + 4;   // posted: the paced work numbered wParam is asked for

// To a unit window. Posted by a thread that may not touch windows (an animation): the
// window thread then calls redrawUnit.
constexpr UINT kRedrawUnitMessage = WM_APP + 3;
// To a Label: its feedback event, wParam and lParam the two integers.
constexpr UINT kFeedbackMessage = 0x8075;  // WM_APP + 0x75, a number the programs know

// Timers of the hidden window: Timer units number theirs up from the first base, paced
// works up from the second, far out of the units' reach.
constexpr UINT_PTR kUnitTimerBase = 1000;
constexpr UINT_PTR kPacedTimerBase = UINT_PTR{1} << 30;

}  // namespace forms
