#pragma once
// The HtmlViewer unit as the runtime creates it from a template record.
#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeHtmlViewerUnit(const UnitPlan& plan, UnitSite& site);

}  // namespace forms
