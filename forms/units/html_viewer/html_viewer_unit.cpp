// The HtmlViewer unit type as the runtime creates it from a template record.
#include "forms/units/html_viewer/html_viewer.h"
#include "forms/units/html_viewer/html_viewer_unit.h"

namespace forms {
namespace {

class HtmlViewerUnit : public UnitControl {
 public:
  HtmlViewerUnit(const UnitPlan& plan, const HtmlViewerBlock& block, UnitSite& site)
      : viewer_(plan.parent, plan.rect, block,
                [&site] { return site.raise(html_viewer::kNewWindow); }) {
    if (HWND w = viewer_.window()) {
      // The runtime shows the unit itself, and only when its page is shown.
      ShowWindow(w, SW_HIDE);
      EnableWindow(w, !plan.disabled);
    }
  }
  bool created() const { return viewer_.created(); }

  HWND window() const override { return viewer_.window(); }
  std::optional<Value> property(int index) const override { return viewer_.property(index); }
  bool setProperty(int index, const Value& value) override {
    return viewer_.setProperty(index, value);
  }

 private:
  HtmlViewer viewer_;
};

}  // namespace

std::unique_ptr<UnitControl> makeHtmlViewerUnit(const UnitPlan& plan, UnitSite& site) {
  const auto block = decodeHtmlViewerBlock(plan.block);
  if (!block) return nullptr;
  auto unit = std::make_unique<HtmlViewerUnit>(plan, *block, site);
  if (!unit->created()) return nullptr;
  return unit;
}

}  // namespace forms
