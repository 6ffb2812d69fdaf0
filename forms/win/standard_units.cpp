// Button and EditBox: the system's own controls, with the runtime's properties on top.
#include "forms/win/core.h"
#include "forms/win/gbk_wide.h"
#include "forms/win/own_units.h"
#include "forms/win/painted_unit.h"

namespace forms {

namespace {

HWND createControl(const wchar_t* cls, DWORD style, DWORD ex, const UnitPlan& plan, const Text& text) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (plan.tabStop) style |= WS_TABSTOP;
  if (plan.disabled) style |= WS_DISABLED;
  return CreateWindowExW(ex, cls, widen(text).c_str(), style, plan.rect.left, plan.rect.top,
                         plan.rect.right - plan.rect.left, plan.rect.bottom - plan.rect.top, plan.parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
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

namespace button {
enum : int { kPicture = 8, kDefault = 9, kCaption = 10, kHAlign = 11, kVAlign = 12, kFont = 13 };
}

class ButtonUnit : public StandardUnit {
 public:
  ButtonUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : StandardUnit(std::move(bag)), site_(site), font_(bytes(button::kFont)) {
    hwnd_ = createControl(L"BUTTON", styles(), 0, plan, text(button::kCaption));
    if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }

  std::optional<LRESULT> reflected(UINT message, WPARAM wp, LPARAM) override {
    if (message == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
      site_.raise(0);
      return 0;
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
    if (index == kDefault || index == kHAlign || index == kVAlign) {
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>((GetWindowLongW(hwnd_, GWL_STYLE) & ~0xFFFFu) | styles()));
      InvalidateRect(hwnd_, nullptr, TRUE);
    }
  }

 private:
  DWORD styles() const {
    using namespace button;
    DWORD s = number(kDefault) == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    static const DWORD kH[] = {BS_LEFT, BS_CENTER, BS_RIGHT}, kV[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    const int h = number(kHAlign), v = number(kVAlign);
    if (h >= 0 && h <= 2) s |= kH[h];
    if (v >= 0 && v <= 2) s |= kV[v];
    return s;
  }

  UnitSite& site_;
  UnitFont font_;
};

namespace edit {
enum : int {
  kContent = 8, kBorder = 9, kTextColour = 10, kBgColour = 11, kFont = 12, kHideSelection = 13, kMaxLength = 14,
  kMultiline = 15, kScrollBars = 16, kAlignment = 17, kInputMode = 18, kPasswordChar = 19, kCase = 20,
  kSelStart = 24, kSelLength = 25,
};
}

class EditBoxUnit : public StandardUnit {
 public:
  EditBoxUnit(PropertyBag bag, const UnitPlan& plan, UnitSite&) : StandardUnit(std::move(bag)), font_(bytes(edit::kFont)) {
    using namespace edit;
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
    if (number(kCase) == 1) style |= ES_LOWERCASE;
    if (number(kCase) == 2) style |= ES_UPPERCASE;
    if (number(kHideSelection) == 0) style |= ES_NOHIDESEL;
    hwnd_ = createControl(L"EDIT", style, ex, plan, text(kContent));
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (number(kMaxLength) > 0) SendMessageW(hwnd_, EM_LIMITTEXT, number(kMaxLength), 0);
    if (number(kInputMode) == 2) SendMessageW(hwnd_, EM_SETPASSWORDCHAR, number(kPasswordChar), 0);
    brush_.attach(CreateSolidBrush(colourOr(number(kBgColour), RGB(255, 255, 255))));
  }

  std::optional<Value> property(int index) const override {
    if (index == edit::kContent && hwnd_) {
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
    SetTextColor(dc, colourOr(number(edit::kTextColour), 0));
    SetBkColor(dc, colourOr(number(edit::kBgColour), RGB(255, 255, 255)));
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
    using namespace edit;
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
      case kMaxLength: SendMessageW(hwnd_, EM_LIMITTEXT, std::max(0, number(kMaxLength)), 0); break;
      case kInputMode: SendMessageW(hwnd_, EM_SETREADONLY, number(kInputMode) == 1, 0); break;
      case kSelStart:
      case kSelLength:
        SendMessageW(hwnd_, EM_SETSEL, number(kSelStart), number(kSelStart) + number(kSelLength));
        break;
      default: break;
    }
  }

 private:
  UnitFont font_;
  Brush brush_;
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
