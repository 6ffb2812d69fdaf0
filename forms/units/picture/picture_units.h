#pragma once
// The picture units: PicBox and the picture button PicBtn.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makePicBoxUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makePicBtnUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
