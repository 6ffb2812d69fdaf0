#pragma once
// Drawing of the XP look, one routine per kind of control. Each draws into the given
// device context in client coordinates; the callers handle buffering.
#include <windows.h>

#include "forms/style/xp_palette.h"

namespace forms::xp {

// Push buttons, check boxes, radio buttons and group boxes, drawn whole.
void paintButton(HWND button, HDC dc, const Palette& colours, bool hot);

// A progress bar drawn whole: frame, track and indicator blocks.
void paintProgress(HWND bar, HDC dc, const Palette& colours);

// Over a tab control's own painting: the page frame and the tabs' outlines.
void paintTabOverlay(HWND tabs, HDC dc, const Palette& colours);

// Over a combo box's own painting: its frame and its drop-down button.
void paintComboOverlay(HWND combo, HDC dc, const Palette& colours, bool hot);

// A one-pixel frame just inside the client area.
void paintClientFrame(HWND control, HDC dc, const Palette& colours);

// Over a bordered control's border, in window coordinates: the outer ring in the frame
// colour, the rings inside it in the control's background.
void paintBorder(HWND control, HDC windowDc, const Palette& colours);

// Where the client area begins within the window.
POINT clientOffset(HWND control);

// Whether the control has a border of its own outside its client area.
bool hasBorder(HWND control);

}  // namespace forms::xp
