#pragma once
// The Timer unit: no window; it ticks through the runtime's hidden window.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeTimerUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
