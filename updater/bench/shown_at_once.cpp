// The start-up benchmark's peer: a program on the same runtime whose start window has no
// created handler, so it is on the screen as soon as the runtime has loaded it.
#include <windows.h>

#include "forms/runtime/runtime.h"
#include "test_support/test_segment.h"
#include "forms/units/unit_table.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace forms;
  constexpr WindowId kWindow = 0x52010001;
  tpl::UnitRecord own = test_support::unitRecord(UnitKind::Window, 0x06010002, 100, 100, 300, 200);
  test_support::setText(own, "title", "tv-shown-at-once");
  startRuntime(unitTable(), static_cast<const HandlerEntry*>(nullptr), 0,
               test_support::segmentOf({test_support::windowRecord(kWindow, own, {})}));
  loadStartWindow(kWindow);
  runMessageLoop();
  return 0;
}
