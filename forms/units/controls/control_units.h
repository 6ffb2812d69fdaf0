#pragma once
// The unit types on the system's common controls.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makePageControlUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeSuperBarUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeStatusBarUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
