// The window's own unit: the top-level window with its border kinds, start position,
// background, shape, icon and the may-close event.
#include <algorithm>
#include <vector>

#include "base/gdi.h"
#include "base/window_class.h"
#include "forms/unit_base/bag_unit.h"
#include "forms/values/gbk_wide.h"
#include "forms/painting/paint.h"
#include "forms/units/window/window_music.h"
#include "forms/units/window/window_outlines.h"
#include "forms/units/window/window_unit.h"

namespace forms {

namespace {

using namespace window;

HICON iconOf(const ByteSet& file, int size) {
  std::optional<Picture> p = decodeIcon(file, size);
  if (!p || p->frames.empty()) return nullptr;
  BITMAPV5HEADER h{};
  h.bV5Size = sizeof h;
  h.bV5Width = p->width;
  h.bV5Height = -p->height;
  h.bV5Planes = 1;
  h.bV5BitCount = 32;
  h.bV5Compression = BI_BITFIELDS;
  h.bV5RedMask = 0x00FF0000;
  h.bV5GreenMask = 0x0000FF00;
  h.bV5BlueMask = 0x000000FF;
  h.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  base::Bitmap colour;
  {
    base::WindowDc screen(nullptr);
    colour.attach(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS,
                                   &bits, nullptr, 0));
  }
  if (!colour || !bits) return nullptr;
  std::copy(p->frames[0].pixels.begin(), p->frames[0].pixels.end(),
            static_cast<std::uint32_t*>(bits));
  base::Bitmap mask(CreateBitmap(p->width, p->height, 1, 1, nullptr));
  ICONINFO ii{TRUE, 0, 0, mask.get(), colour.get()};
  return CreateIconIndirect(&ii);
}

constexpr UINT_PTR kMusicTimer = 0x4D55;

class WindowUnit : public BagUnit {
 public:
  WindowUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : BagUnit(std::move(bag)), site_(site) {
    DWORD style = 0, ex = 0;
    stylesOf(style, ex);
    RECT r = plan.rect;
    if (number(kStartPosition) == 1) centre(r);
    owner_ = plan.parent;
    HWND owner = ownerWindow();
    picture_ = std::make_unique<PaintedPicture>(bytes(kBgPicture));
    hwnd_ = base::createRoutedWindow({L"TvWindow"}, &WindowUnit::proc, this, style, ex, r, owner,
                                     widen(text(kTitle)).c_str());
    if (!hwnd_) return;
    if (plan.disabled) EnableWindow(hwnd_, FALSE);
    applyMovable();
    applyShape();
    applyIcon();
    music_ = std::make_unique<WindowMusic>(hwnd_, kMusicTimer);
    music_->set(bytes(kMusic), number(kMusicPlayCount));
  }

  ~WindowUnit() override { base::destroyRoutedWindow(hwnd_); }

  HWND window() const override { return hwnd_; }
  bool dragsWindow() const override { return true; }

  std::optional<Value> property(int index) const override {
    if (index == kStartPosition && hwnd_) {
      if (IsIconic(hwnd_)) return Value(std::int32_t{2});
      if (IsZoomed(hwnd_)) return Value(std::int32_t{3});
      return Value(std::int32_t{0});
    }
    return BagUnit::property(index);
  }

  bool setProperty(int index, const Value& value) override {
    if (index == kStartPosition) {
      bag_[kStartPosition] = std::clamp(valueToInt(value), 0, 3);
      applied(index);
      return true;
    }
    return BagUnit::setProperty(index, value);
  }

  // The start position's show state.
  int showCommand() const override {
    switch (number(kStartPosition)) {
      case 2: return SW_SHOWMINIMIZED;
      case 3: return resizable() ? SW_SHOWMAXIMIZED : SW_SHOW;
      default: return SW_SHOW;
    }
  }

 protected:
  void applied(int index) override {
    if (!hwnd_) return;
    switch (index) {
      case kTitle: SetWindowTextW(hwnd_, widen(text(kTitle)).c_str()); break;
      case kBgPicture:
        picture_ = std::make_unique<PaintedPicture>(bytes(kBgPicture));
        redrawUnit(hwnd_);
        break;
      case kBgColour:
      case kBgPicMode: redrawUnit(hwnd_); break;
      case kStartPosition: applyStartPosition(); break;
      case kIcon: applyIcon(); break;
      case kMusic:
      case kMusicPlayCount: music_->set(bytes(kMusic), number(kMusicPlayCount)); break;
      case kShape: applyShape(); break;
      case kMovable: applyMovable(); break;
      case kAlwaysOnTop:
        SetWindowPos(hwnd_, number(kAlwaysOnTop) == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        break;
      case kShowInTaskbar:
        SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow()));
        break;
      case kBorder:
      case kControlButton:
      case kMinButton:
      case kMaxButton: {
        DWORD style = 0, ex = 0;
        stylesOf(style, ex);
        const DWORD visible = GetWindowLongW(hwnd_, GWL_STYLE) &
                              (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
        SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(style | visible));
        SetWindowLongW(hwnd_, GWL_EXSTYLE, static_cast<LONG>(ex));
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        break;
      }
      default: break;
    }
  }

 private:
  // An owned window has no taskbar button either; without an owner of its own, the
  // runtime's window takes the button away.
  HWND ownerWindow() const {
    if (owner_) return owner_;
    return number(kShowInTaskbar) == 0 ? site_.taskbarlessOwner() : nullptr;
  }

  bool resizable() const {
    int b = number(kBorder);
    return b == 1 || b == 3 || b == 5;
  }

  void stylesOf(DWORD& style, DWORD& ex) const {
    style = WS_CLIPCHILDREN;
    ex = 0;
    const int border = number(kBorder);
    if (number(kAlwaysOnTop) == 1) ex |= WS_EX_TOPMOST;
    if (border <= 0 || border > 6) {
      style |= WS_POPUP;
      if (number(kControlButton) == 1) style |= WS_SYSMENU;
      return;
    }
    const bool caption = !text(kTitle).empty() || number(kControlButton) == 1;
    style |= resizable() ? WS_THICKFRAME : (caption ? 0 : WS_BORDER);
    if (caption) style |= WS_CAPTION;
    if (border == 3 || border == 4) ex |= WS_EX_TOOLWINDOW;
    if (border == 5 || border == 6) ex |= WS_EX_CLIENTEDGE;
    if (number(kControlButton) == 1) style |= WS_SYSMENU;
    if (number(kMinButton) == 1) style |= WS_MINIMIZEBOX;
    if (number(kMaxButton) == 1) style |= WS_MAXIMIZEBOX;
  }

  static void centre(RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    r.left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    r.top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
  }

  void applyStartPosition() {
    if (!IsWindowVisible(hwnd_)) return;  // a hidden window only stores the value
    switch (number(kStartPosition)) {
      case 0: ShowWindow(hwnd_, SW_SHOWNORMAL); break;
      case 1: {
        if (IsIconic(hwnd_) || IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
        RECT r;
        GetWindowRect(hwnd_, &r);
        centre(r);
        SetWindowPos(hwnd_, nullptr, r.left, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      }
      case 2: ShowWindow(hwnd_, SW_MINIMIZE); break;
      case 3: ShowWindow(hwnd_, SW_MAXIMIZE); break;
    }
  }

  void applyMovable() {
    if (number(kMovable) != 0) return;
    if (HMENU menu = GetSystemMenu(hwnd_, FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  }

  void applyShape() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top, m = std::min(w, h);
    HRGN rgn = nullptr;
    switch (number(kShape)) {
      case 1: rgn = CreateEllipticRgn(0, 0, w + 1, h + 1); break;
      case 2: rgn = CreateRoundRectRgn(0, 0, w + 1, h + 1, m / 5, m / 5); break;
      case 3: {
        rgn = CreateEllipticRgn(0, 0, w + 1, h + 1);
        base::Region inner(CreateEllipticRgn(m / 4, m / 4, w - m / 4 + 1, h - m / 4 + 1));
        CombineRgn(rgn, rgn, inner.get(), RGN_DIFF);
        break;
      }
      default:
        if (Outline outline = windowOutline(number(kShape)); outline.count) {
          std::vector<POINT> points;
          for (std::size_t i = 0; i < outline.count; ++i)
            points.push_back(
                POINT{MulDiv(outline.points[i].x, w, 1000), MulDiv(outline.points[i].y, h, 1000)});
          rgn = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
        }
        break;
    }
    if (rgn || shaped_) SetWindowRgn(hwnd_, rgn, TRUE);  // the system owns rgn now
    shaped_ = rgn != nullptr;
  }

  void applyIcon() {
    big_.attach(iconOf(bytes(kIcon), 32));
    small_.attach(iconOf(bytes(kIcon), 16));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
  }

  void paintBackground(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    fillRect(dc, r, colourOr(number(kBgColour), GetSysColor(COLOR_BTNFACE)));
    picture_->draw(dc, r, number(kBgPicMode));
  }

  static LRESULT proc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<WindowUnit*>(object);
    LRESULT result = 0;
    if (reflectToUnit(message, wp, lp, result)) return result;
    switch (message) {
      case WM_ERASEBKGND: self->paintBackground(reinterpret_cast<HDC>(wp)); return 1;
      case WM_PRINTCLIENT: self->paintBackground(reinterpret_cast<HDC>(wp)); return 0;
      case WM_CLOSE: {
        if (stops(self->site_.raise(kMayClose))) return 0;
        releaseModal(w);
        if (IsWindow(w)) DestroyWindow(w);
        return 0;
      }
      case WM_SETCURSOR:
        if (setUnitCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
        break;
      case WM_SHOWWINDOW:
        if (wp && self->music_) self->music_->shown();
        break;
      case WM_TIMER:
        if (wp != kMusicTimer) break;
        if (self->music_) self->music_->elapsed();
        return 0;
      case WM_DESTROY:
        if (self->music_) self->music_->stop();
        break;
      case WM_NCDESTROY: {
        self->hwnd_ = nullptr;
        topWindowDestroyed(w);
        return 0;
      }
      default: break;
    }
    return DefWindowProcW(w, message, wp, lp);
  }

  UnitSite& site_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;  // the parent unit's window given to loadWindow
  std::unique_ptr<PaintedPicture> picture_;
  base::OwnIcon big_, small_;
  bool shaped_ = false;
  std::unique_ptr<WindowMusic> music_;
};

}  // namespace

std::unique_ptr<UnitControl> makeWindowUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<WindowUnit>(plan, site);
}

}  // namespace forms
