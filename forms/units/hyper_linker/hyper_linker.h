#pragma once
// The HyperLinker unit: a link that opens its target through the shell.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeHyperLinkerUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
