// The HyperLinker unit: a one-line caption that opens its target on the left button.

#include "forms/units/hyper_linker/hyper_linker.h"
#include "forms/units/hyper_linker/open_target.h"
#include "forms/unit_base/painted_unit.h"

namespace forms {

namespace {

using namespace hyper_linker;

class HyperLinkerUnit : public PaintedUnit {
 public:
  HyperLinkerUnit(PropertyBag bag, const UnitPlan& plan, UnitSite& site)
      : PaintedUnit(std::move(bag), site), font_(bytes(kFont)) {
    create(plan, L"TvHyperLinker", number(kBorder));
  }
  bool seeThrough() const override { return !colourSet(number(kBgColour)); }

 protected:
  void applied(int index) override {
    if (index == kFont) font_.reset(bytes(kFont));
    repaint();
  }

  void paint(HDC dc, const RECT& client) override {
    if (colourSet(number(kBgColour)))
      fillRect(dc, client, static_cast<COLORREF>(number(kBgColour)));
    else
      paintWhatLiesBehind(hwnd_, dc);
    COLORREF colour = colourOr(number(kNormalColour), RGB(0, 0, 255));
    if (visited_) colour = colourOr(number(kVisitedColour), colour);
    if (hover_) colour = colourOr(number(kHoverColour), GetSysColor(COLOR_HIGHLIGHT));
    drawUnitText(dc, client, text(kCaption), font_.get(), colour, TextLayout{1, 1, false, 0});
  }

  std::optional<LRESULT> handle(UINT message, WPARAM, LPARAM) override {
    switch (message) {
      case WM_LBUTTONDOWN: {
        const Text target = number(kLinkKind) == 0
                                ? (text(kEmail).empty() ? Text() : "mailto:" + text(kEmail))
                                : text(kUrl);
        if (!target.empty() && openTarget(target)) {
          visited_ = true;
          repaint();
        }
        return 0;
      }
      case WM_MOUSEMOVE:
        if (!hover_) {
          hover_ = true;
          TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
          TrackMouseEvent(&t);
          repaint();
        }
        return 0;
      case WM_MOUSELEAVE:
        hover_ = false;
        repaint();
        return 0;
      default: return std::nullopt;
    }
  }

 private:
  UnitFont font_;
  bool hover_ = false;
  bool visited_ = false;
};

}  // namespace

std::unique_ptr<UnitControl> makeHyperLinkerUnit(const UnitPlan& plan, UnitSite& site) {
  return makeBagUnit<HyperLinkerUnit>(plan, site);
}

}  // namespace forms
