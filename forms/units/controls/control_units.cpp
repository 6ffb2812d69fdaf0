// The PageControl, SuperBar and StatusBar unit types as the runtime creates them from
// template records.
#include "forms/units/controls/page_control.h"
#include "forms/units/controls/status_bar.h"
#include "forms/units/controls/super_bar.h"
#include "forms/units/controls/control_units.h"

namespace forms {
namespace {

// The stored flags the runtime leaves to the control: it shows units itself.
void applyFlags(HWND w, const UnitPlan& plan) {
  if (!w) return;
  EnableWindow(w, !plan.disabled);
  if (plan.tabStop) SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_TABSTOP);
}

class PageControlUnit : public UnitControl {
 public:
  PageControlUnit(const UnitPlan& plan, const PageBlock& block, UnitSite& site)
      : pages_(plan.parent, plan.rect, block, PageControl::pagesOf(plan.childIds),
               PageControl::Units{[&site](UnitId id) { return site.unitWindow(id); },
                                  [&site](UnitId id) { return site.unitVisible(id); },
                                  [&site](UnitId id) { return site.unitTabOrder(id); }}) {
    applyFlags(pages_.window(), plan);
  }
  HWND window() const override { return pages_.window(); }
  HWND childParent() const override { return pages_.window(); }
  void unitsCreated() override { pages_.applyPage(); }
  bool mayShowChild(UnitId child) const override { return pages_.mayShow(child); }

 private:
  PageControl pages_;
};

class SuperBarUnit : public UnitControl {
 public:
  SuperBarUnit(const UnitPlan& plan, const SuperBarBlock& block, UnitSite& site)
      : bar_(plan.parent, plan.rect, block, [&site] { site.raise(super_bar::kPositionChanged); }) {
    applyFlags(bar_.window(), plan);
  }
  HWND window() const override { return bar_.window(); }
  std::optional<Value> property(int index) const override {
    if (!isNumber(index)) return std::nullopt;
    return Value(bar_.number(index));
  }
  bool setProperty(int index, const Value& value) override {
    if (!isNumber(index)) return false;
    bar_.setNumber(index, valueToInt(value));
    return true;
  }

 private:
  bool isNumber(int index) const {
    static const SuperBarBlock defaults = *decodeSuperBarBlock({});
    return defaults.numbers.count(index) != 0;
  }
  SuperBar bar_;
};

class StatusBarUnit : public UnitControl {
 public:
  explicit StatusBarUnit(const UnitPlan& plan) : bar_(plan.parent, plan.rect) {
    applyFlags(bar_.window(), plan);
  }
  HWND window() const override { return bar_.window(); }

 private:
  StatusBar bar_;
};

}  // namespace

std::unique_ptr<UnitControl> makePageControlUnit(const UnitPlan& plan, UnitSite& site) {
  const auto block = decodePageBlock(plan.block);
  return block ? unitWithWindow(std::make_unique<PageControlUnit>(plan, *block, site)) : nullptr;
}

std::unique_ptr<UnitControl> makeSuperBarUnit(const UnitPlan& plan, UnitSite& site) {
  const auto block = decodeSuperBarBlock(plan.block);
  return block ? unitWithWindow(std::make_unique<SuperBarUnit>(plan, *block, site)) : nullptr;
}

std::unique_ptr<UnitControl> makeStatusBarUnit(const UnitPlan& plan, UnitSite&) {
  return unitWithWindow(std::make_unique<StatusBarUnit>(plan));
}

}  // namespace forms
