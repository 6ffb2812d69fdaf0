#include "forms/runtime/see_through.h"

#include "forms/runtime/core.h"
#include "base/gdi.h"

namespace forms {

namespace {

// Printing a see-through unit that lies behind another one prints what lies behind it in
// turn. Every step goes further back in the painting order, so the depth is bounded by
// the window tree; the guard only keeps a damaged tree from recursing without end.
thread_local int printDepth = 0;
constexpr int kMaxPrintDepth = 16;

bool shown(HWND w) { return (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

bool seeThrough(HWND w) {
  auto it = state().byWindow.find(w);
  if (it == state().byWindow.end()) return false;
  UnitControl* control = findUnitControl(it->second);
  return control && control->seeThrough();
}

// The children of w from the back to the front: the order they are painted in.
template <typename F>
void forChildrenBackToFront(HWND w, F each) {
  HWND front = GetWindow(w, GW_CHILD);
  for (HWND c = front ? GetWindow(front, GW_HWNDLAST) : nullptr; c; c = GetWindow(c, GW_HWNDPREV))
    each(c);
}

// Prints w's client area over the part `area` of dc, whose logical coordinates are those
// of target's client area; then, with `children`, w's shown children over it. Each
// window prints into a bitmap of its own that starts with what is already there, so
// that no window's own clipping or origin changes reach the composed picture, and a
// window's region keeps the outside of its outline showing what lies further back.
void printWindow(HWND w, HWND target, HDC dc, const RECT& area, bool children) {
  RECT client, part;
  GetClientRect(w, &client);
  MapWindowPoints(w, target, reinterpret_cast<POINT*>(&client), 2);
  if (!IntersectRect(&part, &client, &area)) return;
  const int pw = part.right - part.left, ph = part.bottom - part.top;
  base::PaintBuffer buffer(dc, pw, ph);
  if (!buffer) return;
  HDC mem = buffer.dc();
  BitBlt(mem, 0, 0, pw, ph, dc, part.left, part.top, SRCCOPY);
  base::Region outline(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(w, outline.get()) != ERROR) {
    RECT frame;
    GetWindowRect(w, &frame);
    MapWindowPoints(nullptr, target, reinterpret_cast<POINT*>(&frame), 2);
    OffsetRgn(outline.get(), frame.left - part.left, frame.top - part.top);
    SelectClipRgn(mem, outline.get());
  }
  SetViewportOrgEx(mem, client.left - part.left, client.top - part.top, nullptr);
  SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(mem, 0, 0, nullptr);
  SelectClipRgn(mem, nullptr);
  buffer.copyTo(dc, part.left, part.top);
  if (children)
    forChildrenBackToFront(w, [&](HWND c) {
      if (shown(c)) printWindow(c, target, dc, part, true);
    });
}

}  // namespace

void paintWhatLiesBehind(HWND unit, HDC dc) {
  RECT area;
  GetClientRect(unit, &area);
  // A parent that paints nothing of its own (a page control's frame) leaves no garbage.
  base::Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &area, face.get());
  HWND parent = GetParent(unit);
  if (!parent || printDepth >= kMaxPrintDepth) return;
  ++printDepth;
  printWindow(parent, unit, dc, area, false);
  for (HWND s = GetWindow(unit, GW_HWNDLAST); s && s != unit; s = GetWindow(s, GW_HWNDPREV))
    if (shown(s)) printWindow(s, unit, dc, area, true);
  --printDepth;
}

void redrawSeeThroughOver(HWND unit, const RECT& screenArea) {
  for (HWND level = unit; level && (GetWindowLongW(level, GWL_STYLE) & WS_CHILD);
       level = GetParent(level)) {
    for (HWND s = GetWindow(level, GW_HWNDPREV); s; s = GetWindow(s, GW_HWNDPREV)) {
      RECT r, common;
      GetWindowRect(s, &r);
      if (!shown(s) || !IntersectRect(&common, &r, &screenArea) || !seeThrough(s)) continue;
      RedrawWindow(s, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      // What shows this unit through itself changes with it.
      redrawSeeThroughOver(s, common);
    }
  }
}

void redrawUnit(HWND unit) {
  if (!unit || !IsWindow(unit)) return;
  RedrawWindow(unit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  RECT r;
  GetWindowRect(unit, &r);
  redrawSeeThroughOver(unit, r);
}

}  // namespace forms
