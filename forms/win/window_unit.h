#pragma once
// The window's own unit and what the loader asks of it.
#include "forms/win/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeWindowUnit(const UnitPlan& plan, UnitSite& site);

// How the window is first shown: minimized or maximized when its start position asks.
int windowShowCommand(const UnitControl& windowUnit);

// Sets the cursor of the unit under the pointer (WM_SETCURSOR): true when it has one.
bool setUnitCursor(HWND under, UINT hitTest);

// The window id of a top-level window of ours.
std::optional<WindowId> windowOfHandle(HWND top);

}  // namespace forms
