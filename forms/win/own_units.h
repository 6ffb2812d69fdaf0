#pragma once
// Factories of the unit types kept in forms/win.
#include "forms/win/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeTimerUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeLabelUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeTransLabelUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeButtonUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeEditBoxUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeShapeBoxUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makePicBoxUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makePicBtnUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeHyperLinkerUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
