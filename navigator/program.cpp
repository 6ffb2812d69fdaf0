// Program entry and globals of the navigator.
#include "forms/units/unit_table.h"
#include "forms/xml/xml_document.h"
#include "navigator/globals.h"
#include "navigator/handlers.h"
#include "generated/navigator_handlers.h"
#include "generated/navigator_units.h"

namespace navigator {

std::unique_ptr<forms::XmlDocument> xmlDocument;
std::int32_t popupPauseMs = 0;

void initGlobals() { xmlDocument = std::make_unique<forms::XmlDocument>(); }

void releaseGlobals() {
  if (!xmlDocument) return;
  forms::xmlFree(*xmlDocument);
  xmlDocument.reset();
}

int programEntry() {
  forms::startRuntime(forms::unitTable(), templateHandlers(), templateSegment());
  initGlobals();
  forms::registerEndRoutine(releaseGlobals);
  forms::loadStartWindow(kMainWindow);
  forms::runMessageLoop();  // until no window is left; the end routine has run then
  return 0;
}

}  // namespace navigator
