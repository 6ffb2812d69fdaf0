#pragma once
// The Label unit, which also raises the feedback event, and the TransLabel.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeLabelUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeTransLabelUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
