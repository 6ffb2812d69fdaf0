#pragma once
// What a unit paints, printed into a bitmap of its own: independent of what else lies on
// a shared display.
#include <windows.h>

#include <vector>

namespace forms::testing {

COLORREF printedPixel(HWND unit, int x, int y);
// Every pixel of the unit's client area, row by row.
std::vector<COLORREF> printedPixels(HWND unit);

}  // namespace forms::testing
