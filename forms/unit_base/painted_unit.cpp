#include "forms/unit_base/painted_unit.h"

#include "base/gdi.h"
#include "base/window_class.h"

namespace forms {

PaintedUnit::~PaintedUnit() { base::destroyRoutedWindow(hwnd_); }

bool PaintedUnit::create(const UnitPlan& plan, const wchar_t* className, int borderCode,
                         DWORD extraStyle) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | extraStyle, ex = 0;
  if (plan.tabStop) style |= WS_TABSTOP;
  if (plan.disabled) style |= WS_DISABLED;
  addBorderStyles(borderCode, style, ex);
  hwnd_ = base::createRoutedWindow({className}, &PaintedUnit::proc, this, style, ex, plan.rect,
                                   plan.parent);
  return hwnd_ != nullptr;
}

void PaintedUnit::paintBuffered(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  if (r.right <= 0 || r.bottom <= 0) return;
  base::PaintBuffer buffer(dc, r.right, r.bottom);
  paint(buffer.dc(), r);
  buffer.copyTo(dc, 0, 0);
}

LRESULT PaintedUnit::proc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<PaintedUnit*>(object);
  if (message == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    return DefWindowProcW(w, message, wp, lp);
  }
  if (std::optional<LRESULT> r = self->handle(message, wp, lp)) return *r;
  LRESULT result = 0;
  if (reflectToUnit(message, wp, lp, result)) return result;
  switch (message) {
    case kRedrawUnitMessage: self->repaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      self->paintBuffered(dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT r;
      GetClientRect(w, &r);
      self->paint(reinterpret_cast<HDC>(wp), r);
      return 0;
    }
    default: return DefWindowProcW(w, message, wp, lp);
  }
}

}  // namespace forms
