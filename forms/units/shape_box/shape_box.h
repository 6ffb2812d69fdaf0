#pragma once
// The ShapeBox unit.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeShapeBoxUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
