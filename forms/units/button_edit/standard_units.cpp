// Button and EditBox: the system's own controls, with the runtime's properties on top.
#include <algorithm>

#include "base/gdi.h"
#include "forms/values/gbk_wide.h"
#include "forms/units/button_edit/standard_units.h"
#include "forms/unit_base/painted_unit.h"

namespace forms {

namespace {

HWND createControl(const wchar_t* cls, DWORD style, DWORD ex, const UnitPlan& plan,
                   const Text& text) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (plan.tabStop) style |= WS_TABSTOP;
  if (plan.disabled) style |= WS_DISABLED;
  return CreateWindowExW(ex, cls, widen(text).c_str(), style, plan.rect.left, plan.rect.top,
                         plan.rect.right - plan.rect.left, plan.rect.bottom - plan.rect.top,
                         plan.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class StandardUnit : public BagUnit {
 public:
  using BagUnit::BagUnit;
  ~StandardUnit() override {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  HWND window() const override { return hwnd_; }

 protected:
  HWND hwnd_ = nullptr;
};

// A button whose picture block holds a picture draws itself (the system's push button
// shows a bitmap or a caption, not both): the picture and the caption form one group,
// placed by the alignments; centred across with the caption at the top or bottom, the
// picture stands above the caption, otherwise left of it. Without a picture, or with one
// that does not decode, it is the system's own push button with its caption.
class ButtonUnit : public StandardUnit {
 public:
  ButtonUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : StandardUnit(std::move(bag)), site_(site), font_(bytes(button::kFont)),
        picture_(std::make_unique<PaintedPicture>(bytes(button::kPicture))) {
    hwnd_ = createControl(L"BUTTON", styles(), 0, plan, text(button::kCaption));
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }

  std::optional<LRESULT> reflected(UINT message, WPARAM wp, LPARAM lp) override {
    // An owner-drawn button reports the second press of a double click on its own.
    if (message == WM_COMMAND &&
        (HIWORD(wp) == BN_CLICKED || (HIWORD(wp) == BN_DOUBLECLICKED && picture_->valid()))) {
      site_.raise(button::kClicked);
      return 0;
    }
    if (message == WM_DRAWITEM && picture_->valid()) {
      draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    }
    return std::nullopt;
  }

 protected:
  void applied(int index) override {
    using namespace button;
    if (!hwnd_) return;
    if (index == kCaption) SetWindowTextW(hwnd_, widen(text(kCaption)).c_str());
    if (index == kFont) {
      font_.reset(bytes(kFont));
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    }
    if (index == kPicture) picture_ = std::make_unique<PaintedPicture>(bytes(kPicture));
    if (index == kPicture || index == kDefaultButton || index == kHAlign || index == kVAlign) {
      SetWindowLongW(hwnd_, GWL_STYLE,
                     static_cast<LONG>((GetWindowLongW(hwnd_, GWL_STYLE) & ~0xFFFFu) | styles()));
      InvalidateRect(hwnd_, nullptr, TRUE);
    }
  }

 private:
  DWORD styles() const {
    using namespace button;
    if (picture_->valid()) return BS_OWNERDRAW;
    DWORD s = number(kDefaultButton) == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    static const DWORD kH[] = {BS_LEFT, BS_CENTER, BS_RIGHT},
                       kV[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    const int h = number(kHAlign), v = number(kVAlign);
    if (h >= 0 && h <= 2) s |= kH[h];
    if (v >= 0 && v <= 2) s |= kV[v];
    return s;
  }

  // Where an extent of `size` goes in [from, to) for alignment 0 start, 1 centre, 2 end.
  static int place(int from, int to, int size, int align) {
    if (align == 0) return from;
    if (align == 2) return to - size;
    return from + (to - from - size) / 2;
  }

  void draw(const DRAWITEMSTRUCT& item) const {
    using namespace button;
    RECT r = item.rcItem;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    base::PaintBuffer buffer(item.hDC, w, h);
    HDC dc = buffer.dc();
    RECT face{0, 0, w, h};
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    if (number(kDefaultButton) == 1) {
      FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    RECT content = face;
    InflateRect(&content, -3, -3);
    if (pushed) OffsetRect(&content, 1, 1);

    const std::wstring caption = widen(text(kCaption));
    SIZE textSize{0, 0};
    if (!caption.empty()) {
      base::Selected f(dc, font_.get());
      RECT calc{0, 0, 0, 0};
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &calc,
                DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
      textSize = SIZE{calc.right, calc.bottom};
    }
    const int pw = picture_->width(), ph = picture_->height();
    const int gap = caption.empty() ? 0 : 4;
    const int hAlign = number(kHAlign), vAlign = number(kVAlign);
    const bool stacked = hAlign == 1 && vAlign != 1;
    const int gw = stacked ? std::max<int>(pw, textSize.cx) : pw + gap + textSize.cx;
    const int gh = stacked ? ph + gap + textSize.cy : std::max<int>(ph, textSize.cy);
    const int gx = place(content.left, content.right, gw, hAlign),
              gy = place(content.top, content.bottom, gh, vAlign);

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, content.left, content.top, content.right, content.bottom);
    RECT textBox;
    if (stacked) {
      picture_->drawAt(dc, gx + (gw - pw) / 2, gy, pw, ph, 0);
      textBox = RECT{gx, gy + ph + gap, gx + gw, gy + gh};
    } else {
      picture_->drawAt(dc, gx, gy + (gh - ph) / 2, pw, ph, 0);
      textBox = RECT{gx + pw + gap, gy, gx + gw, gy + gh};
    }
    const COLORREF colour =
        GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    drawUnitText(dc, textBox, text(kCaption), font_.get(), colour,
                 TextLayout{stacked ? 1 : 0, 1, false, 0});
    RestoreDC(dc, saved);
    if (item.itemState & ODS_FOCUS) {
      RECT focus = face;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
    buffer.copyTo(item.hDC, r.left, r.top);
  }

  UnitSite& site_;
  UnitFont font_;
  std::unique_ptr<PaintedPicture> picture_;
};

class EditBoxUnit : public StandardUnit {
 public:
  EditBoxUnit(PropertyBag bag, const UnitPlan& plan, UnitSite&)
      : StandardUnit(std::move(bag)), font_(bytes(edit_box::kFont)) {
    using namespace edit_box;
    DWORD style = 0, ex = 0;
    addBorderStyles(number(kBorder), style, ex);
    const bool multi = number(kMultiline) == 1;
    if (multi) {
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
      const int bars = number(kScrollBars);
      if (bars & 1) style |= WS_HSCROLL | ES_AUTOHSCROLL;
      if (bars & 2) style |= WS_VSCROLL;
    } else {
      style |= ES_AUTOHSCROLL;
    }
    static const DWORD kAlign[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
    if (number(kAlignment) >= 0 && number(kAlignment) <= 2) style |= kAlign[number(kAlignment)];
    if (number(kInputMode) == 1) style |= ES_READONLY;
    if (number(kInputMode) == 2 && !multi) style |= ES_PASSWORD;
    if (number(kCaseConversion) == 1) style |= ES_LOWERCASE;
    if (number(kCaseConversion) == 2) style |= ES_UPPERCASE;
    if (number(kHideSelection) == 0) style |= ES_NOHIDESEL;
    hwnd_ = createControl(L"EDIT", style, ex, plan, text(kContent));
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    applyMaxLength();
    if (number(kInputMode) == 2) SendMessageW(hwnd_, EM_SETPASSWORDCHAR, number(kPasswordChar), 0);
    brush_.attach(CreateSolidBrush(colourOr(number(kBgColour), RGB(255, 255, 255))));
  }

  std::optional<Value> property(int index) const override {
    if (index == edit_box::kContent && hwnd_) {
      const int n = GetWindowTextLengthW(hwnd_);
      std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
      GetWindowTextW(hwnd_, &w[0], n + 1);
      w.resize(static_cast<std::size_t>(n));
      return Value(narrow(w));
    }
    return StandardUnit::property(index);
  }

  std::optional<LRESULT> reflected(UINT message, WPARAM wp, LPARAM) override {
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, colourOr(number(edit_box::kTextColour), 0));
    SetBkColor(dc, colourOr(number(edit_box::kBgColour), RGB(255, 255, 255)));
    return reinterpret_cast<LRESULT>(brush_.get());
  }

  void append(const Text& t) {
    if (!hwnd_) return;
    const int end = GetWindowTextLengthW(hwnd_);
    SendMessageW(hwnd_, EM_SETSEL, end, end);
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
    const std::wstring w = widen(t);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(w.c_str()));
  }

 protected:
  void applied(int index) override {
    using namespace edit_box;
    if (!hwnd_) return;
    switch (index) {
      case kContent: SetWindowTextW(hwnd_, widen(text(kContent)).c_str()); break;
      case kFont:
        font_.reset(bytes(kFont));
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
        break;
      case kBgColour:
        brush_.attach(CreateSolidBrush(colourOr(number(kBgColour), RGB(255, 255, 255))));
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
      case kTextColour: InvalidateRect(hwnd_, nullptr, TRUE); break;
      case kMaxLength: applyMaxLength(); break;
      case kInputMode: SendMessageW(hwnd_, EM_SETREADONLY, number(kInputMode) == 1, 0); break;
      case kSelStart:
      case kSelLength:
        SendMessageW(hwnd_, EM_SETSEL, number(kSelStart), number(kSelStart) + number(kSelLength));
        break;
      default: break;
    }
  }

 private:
  // 0 lifts the limit: left alone, the control keeps its default of about 30,000
  // characters and silently drops whatever an append carries past it.
  void applyMaxLength() {
    SendMessageW(hwnd_, EM_LIMITTEXT, std::max(0, number(edit_box::kMaxLength)), 0);
  }

  UnitFont font_;
  base::Brush brush_;
};

}  // namespace

std::unique_ptr<UnitControl> makeButtonUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<ButtonUnit>(plan, site);
}
std::unique_ptr<UnitControl> makeEditBoxUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<EditBoxUnit>(plan, site);
}

void appendEditText(UnitRef editBox, std::initializer_list<Text> texts) {
  std::vector<Text> copies(texts);
  runOnWindowThread([&] {
    auto* unit = dynamic_cast<EditBoxUnit*>(findUnitControl(editBox));
    if (!unit) return;
    for (const Text& t : copies) unit->append(t);
  });
}

}  // namespace forms
