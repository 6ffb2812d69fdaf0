#pragma once
// Factories of the unit types kept in forms/win.
#include "forms/win/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeTimerUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeLabelUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeTransLabelUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeButtonUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeEditBoxUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeShapeBoxUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makePicBoxUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makePicBtnUnit(const UnitSpec& spec, UnitSite& site);
std::unique_ptr<UnitControl> makeHyperLinkerUnit(const UnitSpec& spec, UnitSite& site);

}  // namespace forms
