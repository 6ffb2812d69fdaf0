#pragma once
// Every private message of the runtime's core and every timer of its hidden window, in
// one list so that no two share a number; the messages of unit windows (WM_APP + 3,
// 0x8075) are in unit.h.
#include <windows.h>

#include "forms/runtime/unit.h"

namespace forms {

// To the hidden window (window_thread.cpp).
constexpr UINT kRunWorkMessage = WM_APP + 1;     // sent: run the work at lParam, answer 1
constexpr UINT kPostedWorkMessage = WM_APP + 2;  // posted: run, then free, the work at lParam
constexpr UINT kPacedWakeMessage =
    WM_APP + 4;  // posted: the paced work numbered wParam is asked for

// Timers of the hidden window: units' sites number theirs up from the first base, paced
// works up from the second, far out of the units' reach.
constexpr UINT_PTR kUnitTimerBase = 1000;
constexpr UINT_PTR kPacedTimerBase = UINT_PTR{1} << 30;

}  // namespace forms
