#pragma once
// Units that show what lies behind them (a TransLabel, a picture button's transparent
// parts, a link without a background colour) compose it themselves: their parent's client
// area and every sibling below them in the z-order, printed into their own paint. They
// keep WS_CLIPSIBLINGS, so the siblings never paint under them on the screen; in return,
// whatever changes below them has to invalidate them, through redrawUnit. The units'
// side (paintWhatLiesBehind, redrawUnit) is in unit.h.
#include <windows.h>

#include "forms/runtime/unit.h"

namespace forms {

// Invalidates the see-through units in front of `unit` that overlap `screenArea`: for a
// unit that moves or is hidden, called with its rectangle before and after.
void redrawSeeThroughOver(HWND unit, const RECT& screenArea);

}  // namespace forms
