// Label and TransLabel: captions drawn by the runtime. A label also carries the feedback
// event (message 0x8075).
#include "forms/units/label/label_units.h"
#include "forms/unit_base/painted_unit.h"

namespace forms {

namespace {

constexpr int kGradientBorder = 6;  // a label border code

class LabelUnit : public PaintedUnit {
 public:
  LabelUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site), font_(bytes(label::kFont)) {
    picture_ = std::make_unique<PaintedPicture>(bytes(label::kBgPicture));
    create(plan, L"TvLabel", number(label::kBorder));
  }
  bool dragsWindow() const override { return true; }

 protected:
  void applied(int index) override {
    if (index == label::kFont) font_.reset(bytes(label::kFont));
    if (index == label::kBgPicture)
      picture_ = std::make_unique<PaintedPicture>(bytes(label::kBgPicture));
    repaint();
  }

  void paint(HDC dc, const RECT& client) override {
    using namespace label;
    RECT r = client;
    const int bw = number(kGradBorderWidth);
    if (number(kBorder) == kGradientBorder && bw > 0) {
      paintGradientBorder(dc, r, bw,
                          setColours({number(kGradBorderColour1), number(kGradBorderColour2),
                                      number(kGradBorderColour3)}));
      InflateRect(&r, -bw, -bw);
    }
    fillRect(dc, r, colourOr(number(kBgColour), GetSysColor(COLOR_BTNFACE)));
    if (picture_->valid()) {
      // In logical coordinates, and put back as it was: the label may be printed into
      // the picture of a see-through unit in front of it, with an origin of its own.
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      picture_->draw(dc, r, number(kBgPicMode));
      RestoreDC(dc, saved);
    } else if (number(kGradBgMode) != 0) {
      paintGradient(
          dc, r, number(kGradBgMode),
          setColours({number(kGradBgColour1), number(kGradBgColour2), number(kGradBgColour3)}));
    }
    TextLayout layout{number(kHAlign), number(kVAlign), number(kWordWrap) == 1, number(kEffect)};
    drawUnitText(dc, r, text(kCaption), font_.get(), colourOr(number(kTextColour), 0), layout);
  }

  std::optional<LRESULT> handle(UINT message, WPARAM wp, LPARAM lp) override {
    if (message != kFeedbackMessage) return std::nullopt;
    HandlerResult r = site_.raise(label::kFeedback,
                                  {static_cast<std::int32_t>(wp), static_cast<std::int32_t>(lp)});
    return static_cast<LRESULT>(r ? valueToInt(*r) : 0);
  }

 private:
  UnitFont font_;
  std::unique_ptr<PaintedPicture> picture_ = std::make_unique<PaintedPicture>();
};

class TransLabelUnit : public PaintedUnit {
 public:
  TransLabelUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site), font_(bytes(trans_label::kFont)) {
    create(plan, L"TvTransLabel", 0);
  }
  bool seeThrough() const override { return true; }

 protected:
  void applied(int index) override {
    if (index == trans_label::kFont) font_.reset(bytes(trans_label::kFont));
    repaint();
  }

  void paint(HDC dc, const RECT& client) override {
    using namespace trans_label;
    paintWhatLiesBehind(hwnd_, dc);
    TextLayout layout{number(kHAlign), number(kVAlign), number(kWordWrap) == 1, number(kEffect)};
    drawUnitText(dc, client, text(kCaption), font_.get(), colourOr(number(kTextColour), 0), layout);
  }

 private:
  UnitFont font_;
};

}  // namespace

std::unique_ptr<UnitControl> makeLabelUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<LabelUnit>(plan, site);
}
std::unique_ptr<UnitControl> makeTransLabelUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<TransLabelUnit>(plan, site);
}

}  // namespace forms
