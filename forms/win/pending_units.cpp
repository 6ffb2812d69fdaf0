// Stand-ins for the unit types of other areas that have not defined their factory yet:
// such a unit is not created, so a window holding it does not load.
#include "forms/win/unit.h"

namespace forms {

#ifndef FORMS_HAVE_HTML_VIEWER_UNIT
std::unique_ptr<UnitControl> makeHtmlViewerUnit(const UnitPlan&, UnitSite&) { return nullptr; }
#endif
#ifndef FORMS_HAVE_PAGE_CONTROL_UNIT
std::unique_ptr<UnitControl> makePageControlUnit(const UnitPlan&, UnitSite&) { return nullptr; }
#endif
#ifndef FORMS_HAVE_SUPER_BAR_UNIT
std::unique_ptr<UnitControl> makeSuperBarUnit(const UnitPlan&, UnitSite&) { return nullptr; }
#endif
#ifndef FORMS_HAVE_STATUS_BAR_UNIT
std::unique_ptr<UnitControl> makeStatusBarUnit(const UnitPlan&, UnitSite&) { return nullptr; }
#endif
#ifndef FORMS_HAVE_ZIP_UNIT
std::unique_ptr<UnitControl> makeZipUnit(const UnitPlan&, UnitSite&) { return nullptr; }
#endif

}  // namespace forms
