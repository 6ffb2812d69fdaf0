#include "forms/style/xp_style.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "base/gdi.h"
#include "forms/style/xp_paint.h"

namespace forms {
namespace {

enum class Look { Button, Progress, Tabs, Combo, Frame };

struct ClassLook {
  const char* name;
  Look look;
};

// The classes that take the look; every other class keeps the platform's.
constexpr ClassLook kClasses[] = {
    {"Button", Look::Button},           {"Edit", Look::Frame},
    {"msctls_hotkey32", Look::Frame},   {"SysIPAddress32", Look::Frame},
    {"ListBox", Look::Frame},           {"SysListView32", Look::Frame},
    {"SysTreeView32", Look::Frame},     {"ComboBox", Look::Combo},
    {"SysDateTimePick32", Look::Frame}, {"msctls_updown32", Look::Frame},
    {"ScrollBar", Look::Frame},         {"SysMonthCal32", Look::Frame},
    {"SysTabControl32", Look::Tabs},    {"msctls_progress32", Look::Progress},
    {"msctls_trackbar32", Look::Frame}, {"ComboLBox", Look::Frame},
};

constexpr UINT_PTR kSubclassId = 0x58505354;  // "XPST"

// One styled window.
struct Styled {
  Look look;
  bool hot = false;
};

// The look of one thread: its scheme, its hook and the windows it has styled.
struct ThreadStyle {
  int scheme = 0;  // 0: none installed
  base::WindowsHook hook;
  std::map<HWND, std::unique_ptr<Styled>> windows;  // the subclass data of each
};

thread_local ThreadStyle style;

bool classLook(HWND w, Look& look) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  const ClassLook* found = nullptr;
  for (const ClassLook& c : kClasses) {
    if (lstrcmpiA(name, c.name) == 0) found = &c;
  }
  if (!found) return false;
  look = found->look;
  if (look == Look::Button && (GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW)
    return false;
  // The edit and list inside a combo box belong to the combo's own look.
  char parent[64] = {};
  GetClassNameA(GetParent(w), parent, sizeof(parent));
  if ((lstrcmpiA(name, "Edit") == 0 || lstrcmpiA(name, "ListBox") == 0) &&
      lstrcmpiA(parent, "ComboBox") == 0) {
    return false;
  }
  return true;
}

void paintWhole(HWND w, HDC dc, const Styled& s) {
  const xp::Palette& colours = xp::palette(style.scheme);
  // Buffered, so that the control never shows a half-drawn state.
  RECT r;
  GetClientRect(w, &r);
  base::PaintBuffer buffer(dc, r.right, r.bottom);
  if (s.look == Look::Button) {
    xp::paintButton(w, buffer.dc(), colours, s.hot);
  } else {
    xp::paintProgress(w, buffer.dc(), colours);
  }
  buffer.copyTo(dc, 0, 0);
}

void paintOver(HWND w, HDC dc, const Styled& s) {
  const xp::Palette& colours = xp::palette(style.scheme);
  switch (s.look) {
    case Look::Tabs: xp::paintTabOverlay(w, dc, colours); break;
    case Look::Combo: xp::paintComboOverlay(w, dc, colours, s.hot); break;
    default:
      if (!xp::hasBorder(w)) xp::paintClientFrame(w, dc, colours);
      break;
  }
}

void paintNow(HWND w, const Styled& s) {
  base::WindowDc dc(w);
  if (s.look == Look::Button || s.look == Look::Progress) {
    paintWhole(w, dc.get(), s);
  } else {
    paintOver(w, dc.get(), s);
  }
}

void forget(HWND w);

// Messages after which the control has drawn itself directly, not through WM_PAINT.
bool drawsDirectly(UINT message) {
  switch (message) {
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case CB_SETCURSEL: return true;
    default: return false;
  }
}

LRESULT CALLBACK styledProc(HWND w, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  Styled& s = *reinterpret_cast<Styled*>(data);
  const bool whole = s.look == Look::Button || s.look == Look::Progress;
  switch (message) {
    case WM_NCDESTROY: forget(w); return DefSubclassProc(w, message, wp, lp);
    case WM_ERASEBKGND:
      if (whole) return 1;
      break;
    case WM_PAINT: {
      if (whole) {
        PAINTSTRUCT ps;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(w, &ps);
        paintWhole(w, dc, s);
        if (!wp) EndPaint(w, &ps);
        return 0;
      }
      const LRESULT result = DefSubclassProc(w, message, wp, lp);
      paintNow(w, s);
      return result;
    }
    case WM_PRINTCLIENT:
      if (whole) {
        paintWhole(w, reinterpret_cast<HDC>(wp), s);
        return 0;
      } else {
        // The control may leave its own clipping in the context it was given.
        const int saved = SaveDC(reinterpret_cast<HDC>(wp));
        const LRESULT result = DefSubclassProc(w, message, wp, lp);
        RestoreDC(reinterpret_cast<HDC>(wp), saved);
        paintOver(w, reinterpret_cast<HDC>(wp), s);
        return result;
      }
    case WM_PRINT: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const int saved = SaveDC(dc);
      const LRESULT result = DefSubclassProc(w, message, wp, whole ? (lp & ~PRF_CLIENT) : lp);
      RestoreDC(dc, saved);
      const bool border = xp::hasBorder(w);
      if (whole && (lp & PRF_CLIENT)) {
        POINT offset = xp::clientOffset(w);
        POINT old;
        OffsetViewportOrgEx(dc, offset.x, offset.y, &old);
        paintWhole(w, dc, s);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
      } else if ((lp & PRF_CLIENT) && !border) {
        paintOver(w, dc, s);
      }
      if ((lp & PRF_NONCLIENT) && border) xp::paintBorder(w, dc, xp::palette(style.scheme));
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(w, message, wp, lp);
      if (xp::hasBorder(w)) {
        base::WindowDc dc(w, true);
        xp::paintBorder(w, dc.get(), xp::palette(style.scheme));
      }
      return result;
    }
    case WM_MOUSEMOVE:
      if (!s.hot && (s.look == Look::Button || s.look == Look::Combo)) {
        s.hot = true;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, w, 0};
        TrackMouseEvent(&track);
        InvalidateRect(w, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      if (s.hot) {
        s.hot = false;
        InvalidateRect(w, nullptr, FALSE);
      }
      break;
    default: break;
  }
  const LRESULT result = DefSubclassProc(w, message, wp, lp);
  if (drawsDirectly(message) && IsWindowVisible(w)) paintNow(w, s);
  return result;
}

void attach(HWND w) {
  if (style.windows.count(w)) return;
  Look look;
  if (!classLook(w, look)) return;
  auto s = std::make_unique<Styled>(Styled{look});
  if (!SetWindowSubclass(w, styledProc, kSubclassId, reinterpret_cast<DWORD_PTR>(s.get()))) return;
  style.windows[w] = std::move(s);
}

// Before the window's data goes: the subclass no longer reaches it.
void detach(HWND w) { RemoveWindowSubclass(w, styledProc, kSubclassId); }

void forget(HWND w) {
  const auto found = style.windows.find(w);
  if (found == style.windows.end()) return;
  detach(w);
  style.windows.erase(found);
}

void redraw(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); }

LRESULT CALLBACK callWndProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (call->message == WM_CREATE) attach(call->hwnd);
  }
  return CallNextHookEx(style.hook.get(), code, wp, lp);
}

BOOL CALLBACK attachChild(HWND w, LPARAM) {
  if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
    attach(w);
    redraw(w);
  }
  return TRUE;
}

BOOL CALLBACK attachTopLevel(HWND w, LPARAM) {
  attachChild(w, 0);
  EnumChildWindows(w, attachChild, 0);
  return TRUE;
}

bool removeStyle() {
  if (style.scheme == 0) return false;
  style.hook.close();
  style.scheme = 0;
  const std::map<HWND, std::unique_ptr<Styled>> windows = std::move(style.windows);
  style.windows.clear();
  for (const auto& [w, s] : windows) {
    detach(w);
    redraw(w);
  }
  return true;
}

}  // namespace

bool setXpStyle(std::int32_t scheme) {
  const bool removed = removeStyle();
  if (scheme < 1 || scheme > 3) return removed;
  style.hook.attach(SetWindowsHookExA(WH_CALLWNDPROC, callWndProc, nullptr, GetCurrentThreadId()));
  if (!style.hook) return false;
  style.scheme = scheme;
  EnumThreadWindows(GetCurrentThreadId(), attachTopLevel, 0);
  return true;
}

}  // namespace forms
