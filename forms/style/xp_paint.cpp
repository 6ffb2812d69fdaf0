#include "forms/style/xp_paint.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/gdi.h"

namespace forms::xp {
namespace {

// The GDI objects the painting makes, owned by the runtime's handle types.
base::Brush solidBrush(COLORREF c) { return base::Brush(CreateSolidBrush(c)); }
base::Pen solidPen(COLORREF c) { return base::Pen(CreatePen(PS_SOLID, 1, c)); }

void fill(HDC dc, const RECT& r, COLORREF c) {
  base::Brush b = solidBrush(c);
  FillRect(dc, &r, b.get());
}

void frame(HDC dc, const RECT& r, COLORREF c) {
  base::Brush b = solidBrush(c);
  FrameRect(dc, &r, b.get());
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
  base::Pen p = solidPen(c);
  base::Selected s(dc, p.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

COLORREF mix(COLORREF a, COLORREF b, int percentB) {
  auto part = [&](int ca, int cb) { return (ca * (100 - percentB) + cb * percentB) / 100; };
  return RGB(part(GetRValue(a), GetRValue(b)), part(GetGValue(a), GetGValue(b)),
             part(GetBValue(a), GetBValue(b)));
}

void vertical(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  const int h = r.bottom - r.top;
  for (int y = 0; y < h; ++y) {
    RECT row = {r.left, r.top + y, r.right, r.top + y + 1};
    fill(dc, row, mix(top, bottom, h > 1 ? y * 100 / (h - 1) : 0));
  }
}

// A rectangle with its four corner pixels cut, the XP outline.
void roundedFrame(HDC dc, const RECT& r, COLORREF c) {
  line(dc, r.left + 1, r.top, r.right - 1, r.top, c);
  line(dc, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1, c);
  line(dc, r.left, r.top + 1, r.left, r.bottom - 1, c);
  line(dc, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1, c);
}

HFONT fontOf(HWND w) {
  HFONT f = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The control's text as the platform holds it: drawn through the wide functions, so that
// it shows whatever the system's own code page is.
std::wstring textOf(HWND w) {
  std::wstring text(GetWindowTextLengthW(w) + 1, L'\0');
  text.resize(GetWindowTextW(w, &text[0], static_cast<int>(text.size())));
  return text;
}

// The background a button's parent gives it, as the default painting asks for it.
void parentBackground(HWND w, HDC dc, const RECT& r, UINT ask) {
  HBRUSH b = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(w), ask, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w)));
  if (b) {
    FillRect(dc, &r, b);
  } else {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  }
}

UINT textFormat(LONG style) {
  UINT f = DT_NOCLIP;
  switch (style & BS_CENTER) {
    case BS_LEFT: f |= DT_LEFT; break;
    case BS_RIGHT: f |= DT_RIGHT; break;
    default: f |= DT_CENTER; break;
  }
  if (style & BS_MULTILINE) {
    f |= DT_WORDBREAK;
  } else {
    f |= DT_SINGLELINE;
    switch (style & BS_VCENTER) {
      case BS_TOP: f |= DT_TOP; break;
      case BS_BOTTOM: f |= DT_BOTTOM; break;
      default: f |= DT_VCENTER; break;
    }
  }
  return f;
}

void buttonText(HWND w, HDC dc, RECT r, UINT format, bool enabled) {
  const std::wstring text = textOf(w);
  if (text.empty()) return;
  base::Selected font(dc, fontOf(w));
  SetBkMode(dc, TRANSPARENT);
  if (format & DT_WORDBREAK) {
    // Centre a wrapped text vertically by measuring it first.
    RECT measure = r;
    DrawTextW(dc, text.c_str(), -1, &measure, format | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    r.top += std::max(0L, static_cast<LONG>((r.bottom - r.top - h) / 2));
  }
  SetTextColor(dc, enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), -1, &r, format);
}

void pushButton(HWND w, HDC dc, const Palette& c, bool hot, LONG style, LRESULT state) {
  RECT r;
  GetClientRect(w, &r);
  const bool enabled = IsWindowEnabled(w);
  const bool pressed = (state & BST_PUSHED) != 0;
  const bool focused = (state & BST_FOCUS) != 0;
  parentBackground(w, dc, r, WM_CTLCOLORBTN);

  RECT inside = r;
  InflateRect(&inside, -1, -1);
  if (!enabled) {
    fill(dc, inside, mix(c.faceBottom, RGB(255, 255, 255), 60));
  } else if (pressed) {
    vertical(dc, inside, c.pressedTop, c.pressedBottom);
  } else {
    vertical(dc, inside, c.faceTop, c.faceBottom);
  }
  roundedFrame(dc, r, enabled ? c.frame : mix(c.frame, RGB(255, 255, 255), 40));
  if (enabled && !pressed && (hot || focused || (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
    const COLORREF ring = hot ? c.hot : c.focus;
    RECT outer = inside;
    frame(dc, outer, mix(ring, RGB(255, 255, 255), 35));
    InflateRect(&outer, -1, -1);
    frame(dc, outer, ring);
  }

  RECT content = r;
  InflateRect(&content, -4, -3);
  if (pressed) OffsetRect(&content, 1, 1);
  if (style & (BS_BITMAP | BS_ICON)) {
    const bool icon = (style & BS_ICON) != 0;
    HANDLE image =
        reinterpret_cast<HANDLE>(SendMessageA(w, BM_GETIMAGE, icon ? IMAGE_ICON : IMAGE_BITMAP, 0));
    if (image) {
      const UINT flags = (icon ? DST_ICON : DST_BITMAP) | (enabled ? DSS_NORMAL : DSS_DISABLED);
      int iw = 0, ih = 0;
      if (icon) {
        iw = GetSystemMetrics(SM_CXICON);
        ih = GetSystemMetrics(SM_CYICON);
        ICONINFO info;
        if (GetIconInfo(static_cast<HICON>(image), &info)) {
          // The call makes copies of the icon's bitmaps for the caller.
          const base::Bitmap colour(info.hbmColor), mask(info.hbmMask);
          BITMAP bm;
          if (GetObjectA(colour ? colour.get() : mask.get(), sizeof(bm), &bm)) {
            iw = bm.bmWidth;
            ih = colour ? bm.bmHeight : bm.bmHeight / 2;
          }
        }
      } else {
        BITMAP bm;
        if (GetObjectA(image, sizeof(bm), &bm)) {
          iw = bm.bmWidth;
          ih = bm.bmHeight;
        }
      }
      const int x = (content.left + content.right - iw) / 2;
      const int y = (content.top + content.bottom - ih) / 2;
      DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, x, y, iw, ih, flags);
    }
  } else {
    buttonText(w, dc, content, textFormat(style), enabled);
  }
  if (focused && !(SendMessageA(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT f = r;
    InflateRect(&f, -4, -4);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &f);
  }
}

void checkOrRadio(HWND w, HDC dc, const Palette& c, bool hot, LONG style, LRESULT state,
                  bool radio) {
  RECT r;
  GetClientRect(w, &r);
  const bool enabled = IsWindowEnabled(w);
  parentBackground(w, dc, r, WM_CTLCOLORSTATIC);

  const int size = 13;
  RECT box = {r.left, (r.top + r.bottom - size) / 2, r.left + size,
              (r.top + r.bottom - size) / 2 + size};
  if (style & BS_LEFTTEXT) OffsetRect(&box, r.right - size - r.left, 0);
  RECT inside = box;
  InflateRect(&inside, -1, -1);
  const COLORREF border = enabled ? c.frame : mix(c.frame, RGB(255, 255, 255), 50);
  const bool pressed = (state & BST_PUSHED) != 0;
  if (radio) {
    {
      base::Brush face = solidBrush(pressed ? c.pressedTop : RGB(255, 255, 255));
      base::Pen outline = solidPen(border);
      base::Selected b(dc, face.get());
      base::Selected p(dc, outline.get());
      Ellipse(dc, box.left, box.top, box.right, box.bottom);
    }
    if (hot && enabled) {
      base::Pen ring = solidPen(c.hot);
      base::Selected p(dc, ring.get());
      base::Selected b(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, inside.left, inside.top, inside.right, inside.bottom);
    }
    if ((state & BST_CHECKED) != 0) {
      base::Brush dot = solidBrush(enabled ? c.mark : GetSysColor(COLOR_GRAYTEXT));
      base::Pen none = solidPen(enabled ? c.mark : GetSysColor(COLOR_GRAYTEXT));
      base::Selected b(dc, dot.get());
      base::Selected p(dc, none.get());
      Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
    }
  } else {
    if (pressed) {
      fill(dc, inside, c.pressedTop);
    } else {
      vertical(dc, inside, mix(c.faceBottom, RGB(255, 255, 255), 50), RGB(255, 255, 255));
    }
    frame(dc, box, border);
    if (hot && enabled) frame(dc, inside, c.hot);
    const LRESULT check = state & (BST_CHECKED | BST_INDETERMINATE);
    const COLORREF mark = enabled ? c.mark : GetSysColor(COLOR_GRAYTEXT);
    if (check & BST_INDETERMINATE) {
      RECT square = inside;
      InflateRect(&square, -2, -2);
      fill(dc, square, mix(mark, RGB(255, 255, 255), 40));
    } else if (check & BST_CHECKED) {
      // A tick three pixels thick.
      for (int t = 0; t < 3; ++t) {
        line(dc, box.left + 3, box.top + 5 + t, box.left + 5, box.top + 7 + t, mark);
        line(dc, box.left + 5, box.top + 7 + t, box.left + 10, box.top + 2 + t, mark);
      }
    }
  }
  RECT text = r;
  if (style & BS_LEFTTEXT) {
    text.right = box.left - 4;
  } else {
    text.left = box.right + 4;
  }
  UINT format = textFormat(style);
  if ((style & BS_CENTER) == 0) format = (format & ~(DT_CENTER | DT_RIGHT)) | DT_LEFT;
  buttonText(w, dc, text, format, enabled);
  if ((state & BST_FOCUS) && !(SendMessageA(w, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    HDC measureDc = dc;
    base::Selected font(measureDc, fontOf(w));
    const std::wstring caption = textOf(w);
    RECT f = text;
    DrawTextW(dc, caption.c_str(), -1, &f, (format & ~DT_VCENTER) | DT_CALCRECT);
    const int h = f.bottom - f.top;
    f.top = (r.top + r.bottom - h) / 2 - 1;
    f.bottom = f.top + h + 2;
    InflateRect(&f, 1, 0);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &f);
  }
}

void groupBox(HWND w, HDC dc, const Palette& c) {
  RECT r;
  GetClientRect(w, &r);
  parentBackground(w, dc, r, WM_CTLCOLORSTATIC);
  base::Selected font(dc, fontOf(w));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  RECT box = r;
  box.top += tm.tmHeight / 2;
  roundedFrame(dc, box, c.frame);
  const std::wstring text = textOf(w);
  if (text.empty()) return;
  RECT label = {r.left + 8, r.top, r.right - 8, r.top + tm.tmHeight};
  DrawTextW(dc, text.c_str(), -1, &label, DT_SINGLELINE | DT_CALCRECT);
  InflateRect(&label, 2, 0);
  parentBackground(w, dc, label, WM_CTLCOLORSTATIC);
  InflateRect(&label, -2, 0);
  SetBkMode(dc, TRANSPARENT);
  // The caption in the scheme's mark colour, as XP draws group captions.
  SetTextColor(dc, IsWindowEnabled(w) ? c.mark : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), -1, &label, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

}  // namespace

void paintButton(HWND w, HDC dc, const Palette& c, bool hot) {
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  const LRESULT state = SendMessageA(w, BM_GETSTATE, 0, 0);
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      if (style & BS_PUSHLIKE) {
        pushButton(w, dc, c, hot, style, state | ((state & BST_CHECKED) ? BST_PUSHED : 0));
      } else {
        checkOrRadio(w, dc, c, hot, style, state, false);
      }
      break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      if (style & BS_PUSHLIKE) {
        pushButton(w, dc, c, hot, style, state | ((state & BST_CHECKED) ? BST_PUSHED : 0));
      } else {
        checkOrRadio(w, dc, c, hot, style, state, true);
      }
      break;
    case BS_GROUPBOX: groupBox(w, dc, c); break;
    default: pushButton(w, dc, c, hot, style, state); break;
  }
}

void paintProgress(HWND w, HDC dc, const Palette& c) {
  RECT r;
  GetClientRect(w, &r);
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  PBRANGE range = {};
  SendMessageA(w, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int position = static_cast<int>(SendMessageA(w, PBM_GETPOS, 0, 0));

  fill(dc, r, GetSysColor(COLOR_BTNFACE));
  RECT track = r;
  InflateRect(&track, -1, -1);
  fill(dc, track, RGB(255, 255, 255));
  roundedFrame(dc, r, c.frame);
  InflateRect(&track, -2, -2);
  if (track.right <= track.left || track.bottom <= track.top || range.iHigh <= range.iLow) return;

  const bool vertical = (style & PBS_VERTICAL) != 0;
  const int length = vertical ? track.bottom - track.top : track.right - track.left;
  const int span = range.iHigh - range.iLow;
  const int done = static_cast<int>(
      static_cast<long long>(std::clamp(position, range.iLow, range.iHigh) - range.iLow) * length /
      span);
  const bool smooth = (style & PBS_SMOOTH) != 0;
  const int thickness = vertical ? track.right - track.left : track.bottom - track.top;
  const int block = smooth ? length : std::max(2, thickness * 2 / 3);
  const int gap = smooth ? 0 : 2;
  for (int at = 0; at < done; at += block + gap) {
    const int size = std::min(block, done - at);
    RECT piece = vertical
                     ? RECT{track.left, track.bottom - at - size, track.right, track.bottom - at}
                     : RECT{track.left + at, track.top, track.left + at + size, track.bottom};
    // Light at both edges across the bar, its body in the middle.
    const int across = vertical ? piece.right - piece.left : piece.bottom - piece.top;
    for (int i = 0; i < across; ++i) {
      const int fromMiddle = std::abs(2 * i - (across - 1)) * 100 / std::max(1, across - 1);
      const COLORREF shade = mix(c.barMiddle, c.barTop, fromMiddle * fromMiddle / 100);
      RECT strip = vertical ? RECT{piece.left + i, piece.top, piece.left + i + 1, piece.bottom}
                            : RECT{piece.left, piece.top + i, piece.right, piece.top + i + 1};
      fill(dc, strip, shade);
    }
  }
}

void paintTabOverlay(HWND w, HDC dc, const Palette& c) {
  RECT client;
  GetClientRect(w, &client);
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  if (style & (TCS_BUTTONS | TCS_VERTICAL | TCS_BOTTOM)) {
    frame(dc, client, c.frame);
    return;
  }
  const int count = static_cast<int>(SendMessageA(w, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageA(w, TCM_GETCURSEL, 0, 0));
  RECT pane = client;
  if (count > 0) {
    RECT first;
    SendMessageA(w, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    pane.top = first.bottom;
    for (int i = 1; i < count; ++i) {
      RECT item;
      SendMessageA(w, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
      pane.top = std::max(pane.top, item.bottom);
    }
  }
  // The page: a frame in the scheme colour with a plain ring inside instead of the 3-D edge.
  RECT ring = pane;
  InflateRect(&ring, -1, -1);
  frame(dc, ring, GetSysColor(COLOR_BTNFACE));
  frame(dc, pane, c.frame);
  for (int i = 0; i < count; ++i) {
    RECT tab;
    SendMessageA(w, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab));
    if (i == selected) {
      InflateRect(&tab, 2, 0);
      tab.top -= 2;
      tab.bottom = pane.top + 1;
    }
    // Repaint the tab's edge lines in the frame colour, its inner lines in the face colour.
    line(dc, tab.left + 1, tab.top + 1, tab.left + 1, tab.bottom, GetSysColor(COLOR_BTNFACE));
    line(dc, tab.right - 2, tab.top + 1, tab.right - 2, tab.bottom, GetSysColor(COLOR_BTNFACE));
    line(dc, tab.left, tab.top + 2, tab.left, tab.bottom, c.frame);
    line(dc, tab.right - 1, tab.top + 2, tab.right - 1, tab.bottom, c.frame);
    line(dc, tab.left + 2, tab.top, tab.right - 2, tab.top, c.frame);
    SetPixel(dc, tab.left + 1, tab.top + 1, c.frame);
    SetPixel(dc, tab.right - 2, tab.top + 1, c.frame);
    if (i == selected) {
      RECT stripe = {tab.left + 1, tab.top + 1, tab.right - 1, tab.top + 3};
      fill(dc, stripe, c.selectedTab);
      RECT under = {tab.left + 1, pane.top, tab.right - 1, pane.top + 2};
      fill(dc, under, GetSysColor(COLOR_BTNFACE));
    }
  }
}

void paintComboOverlay(HWND w, HDC dc, const Palette& c, bool hot) {
  RECT r;
  GetClientRect(w, &r);
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  RECT ring = r;
  InflateRect(&ring, -1, -1);
  frame(dc, ring, IsWindowEnabled(w) ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE));
  frame(dc, r, c.frame);
  if (!GetComboBoxInfo(w, &info) || (GetWindowLongA(w, GWL_STYLE) & 3) == CBS_SIMPLE) return;
  RECT button = info.rcButton;
  if (button.right <= button.left) return;
  const bool pressed = info.stateButton == STATE_SYSTEM_PRESSED;
  RECT face = button;
  InflateRect(&face, -1, -1);
  if (pressed) {
    vertical(dc, face, c.pressedTop, c.pressedBottom);
  } else {
    vertical(dc, face, c.faceTop, hot ? mix(c.faceBottom, c.hot, 25) : c.faceBottom);
  }
  roundedFrame(dc, button, c.frame);
  // The arrow: a small filled triangle.
  const int cx = (button.left + button.right) / 2;
  const int cy = (button.top + button.bottom) / 2 - 1;
  const COLORREF arrow = IsWindowEnabled(w) ? c.mark : GetSysColor(COLOR_GRAYTEXT);
  for (int i = 0; i < 4; ++i) line(dc, cx - 3 + i, cy + i, cx + 4 - i, cy + i, arrow);
}

void paintClientFrame(HWND w, HDC dc, const Palette& c) {
  RECT r;
  GetClientRect(w, &r);
  frame(dc, r, c.frame);
}

POINT clientOffset(HWND w) {
  RECT window;
  GetWindowRect(w, &window);
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  return {origin.x - window.left, origin.y - window.top};
}

bool hasBorder(HWND w) {
  const POINT offset = clientOffset(w);
  return offset.x > 0 && offset.y > 0;
}

void paintBorder(HWND w, HDC dc, const Palette& c) {
  RECT window;
  GetWindowRect(w, &window);
  const POINT offset = clientOffset(w);
  const int thickness = std::min(offset.x, offset.y);
  RECT ring = {0, 0, window.right - window.left, window.bottom - window.top};
  frame(dc, ring, c.frame);
  const COLORREF inside =
      IsWindowEnabled(w) ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE);
  for (int i = 1; i < thickness; ++i) {
    InflateRect(&ring, -1, -1);
    frame(dc, ring, inside);
  }
}

}  // namespace forms::xp
