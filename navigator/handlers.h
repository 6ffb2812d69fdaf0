#pragma once
// The navigator's own routines: the program entry and the handlers that its window
// templates bind by name.
#include "forms/runtime/runtime.h"

namespace navigator {

int programEntry();

// MainWindow
forms::HandlerResult onMainWindowCreated(const forms::Event&);
forms::HandlerResult onBossKey(const forms::Event&);
forms::HandlerResult onCloseClicked(const forms::Event&);
forms::HandlerResult onMinimizeClicked(const forms::Event&);
forms::HandlerResult onBrowserNewWindow(const forms::Event&);
forms::HandlerResult onHomeBannerPressed(const forms::Event&);
forms::HandlerResult onLeftBannerPressed(const forms::Event&);
forms::HandlerResult onRightBannerPressed(const forms::Event&);
forms::HandlerResult onMemberLoginClicked(const forms::Event&);
forms::HandlerResult checkForUpdate(const forms::Event&);
forms::HandlerResult pollPopupSwitch(const forms::Event&);

// PopupWindow
forms::HandlerResult onPopupCreated(const forms::Event&);
forms::HandlerResult slidePopupUp(const forms::Event&);
forms::HandlerResult slidePopupDown(const forms::Event&);
forms::HandlerResult onPopupClosePressed(const forms::Event&);
forms::HandlerResult onPopupAdPressed(const forms::Event&);

}  // namespace navigator
