#include "forms/controls/status_bar.h"

#include <commctrl.h>

namespace forms {

StatusBar::StatusBar(HWND parent, const RECT& where) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  // The template places the bar; it does not follow the bottom of its parent.
  bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP,
                         where.left, where.top, where.right - where.left, where.bottom - where.top, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

StatusBar::~StatusBar() {
  if (bar_ && IsWindow(bar_)) DestroyWindow(bar_);
}

}  // namespace forms
