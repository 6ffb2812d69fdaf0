// The task list's rows: clones of the hidden row templates, laid out below the header.
#include "updater/globals.h"
#include "generated/updater_units.h"
#include "generated/updater_handlers.h"

namespace updater {
namespace {

std::int32_t integerProperty(forms::UnitRef unit, int index) {
  const forms::Value v = forms::getUnitProperty(unit, index);
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return static_cast<std::int32_t>(*d);
  return 0;
}

void place(forms::UnitRef unit, bool visible, std::int32_t left, std::int32_t top) {
  forms::setUnitProperty(unit, forms::common::kVisible,
                         forms::Value(std::int32_t{visible ? 1 : 0}));
  forms::setUnitProperty(unit, forms::common::kLeft, forms::Value(left));
  forms::setUnitProperty(unit, forms::common::kTop, forms::Value(top));
}

std::int32_t leftOf(forms::UnitRef unit) { return integerProperty(unit, forms::common::kLeft); }
std::int32_t topOf(forms::UnitRef unit) { return integerProperty(unit, forms::common::kTop); }
std::int32_t heightOf(forms::UnitRef unit) { return integerProperty(unit, forms::common::kHeight); }

// Sums as doubles, truncated toward zero.
std::int32_t sum(double a, double b, double c = 0) { return static_cast<std::int32_t>(a + b + c); }

}  // namespace

void buildTaskRows() {
  using forms::UnitKind;
  Globals& g = globals();
  g.taskRows.clear();
  constexpr std::int32_t kRows = 1;
  for (std::int32_t i = 1; i <= kRows; ++i) {
    TaskRow work;
    forms::copyWindowUnit(updater_window::kNameTemplate, UnitKind::Label, work.nameLabel);
    forms::copyWindowUnit(updater_window::kSizeTemplate, UnitKind::Label, work.sizeLabel);
    forms::copyWindowUnit(updater_window::kProgressTemplate, UnitKind::SuperBar, work.progressBar);
    forms::copyWindowUnit(updater_window::kSpeedTemplate, UnitKind::Label, work.speedLabel);
    forms::copyWindowUnit(updater_window::kSeparatorTemplate, UnitKind::ShapeBox,
                          work.separatorLine);
    forms::copyWindowUnit(updater_window::kStatusTemplate, UnitKind::Label, work.statusLabel);
    g.taskRows.append(work);

    const TaskRow& row = g.taskRows[i];
    std::int32_t top;
    if (i == 1) {
      top = topOf(updater_window::kNameTemplate);
    } else {
      const TaskRow& above = g.taskRows[i - 1];
      top = sum(topOf(above.separatorLine), heightOf(above.separatorLine));
    }
    place(row.nameLabel, true, leftOf(updater_window::kNameTemplate), top);
    const std::int32_t rowTop = topOf(row.nameLabel);
    place(row.sizeLabel, true, leftOf(updater_window::kSizeTemplate), rowTop);
    place(row.progressBar, false, leftOf(updater_window::kProgressTemplate), topOf(row.nameLabel));
    place(row.separatorLine, true, leftOf(updater_window::kSeparatorTemplate),
          sum(topOf(row.nameLabel), heightOf(row.nameLabel), 2));
    place(row.speedLabel, true, leftOf(updater_window::kSpeedTemplate), topOf(row.nameLabel));
    place(row.statusLabel, true, leftOf(updater_window::kStatusTemplate), topOf(row.nameLabel));
  }
}

forms::HandlerResult onListPanelMouseDown(const forms::Event&) { return std::nullopt; }

forms::HandlerResult onUnzipEvent(const forms::Event&) { return std::nullopt; }

}  // namespace updater
