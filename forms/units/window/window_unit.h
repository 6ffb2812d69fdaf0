#pragma once
// The window's own unit.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeWindowUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
