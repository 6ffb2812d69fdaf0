#include "forms/units/controls/status_bar.h"

#include <commctrl.h>

namespace forms {
namespace {

constexpr char kOwnerProperty[] = "FormsStatusBar";

}  // namespace

StatusBar::StatusBar(HWND parent, const RECT& where) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  // The template places the bar; it does not follow the bottom of its parent.
  bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "",
                         WS_CHILD | CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP, where.left,
                         where.top, where.right - where.left, where.bottom - where.top, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
  if (bar_) SetPropA(bar_, kOwnerProperty, this);
}

StatusBar::~StatusBar() {
  // Only a bar that is still ours: its window may have gone with its parent.
  if (bar_ && GetPropA(bar_, kOwnerProperty) == this) {
    RemovePropA(bar_, kOwnerProperty);
    DestroyWindow(bar_);
  }
}

}  // namespace forms
