#include "navigator/handlers.h"
#include "navigator/template_data.h"

namespace navigator {

const std::vector<forms::HandlerEntry>& handlerTable() {
  static const std::vector<forms::HandlerEntry> table = {
      {"onMainWindowCreated", onMainWindowCreated},
      {"onBossKey", onBossKey},
      {"onCloseClicked", onCloseClicked},
      {"onMinimizeClicked", onMinimizeClicked},
      {"onBrowserNewWindow", onBrowserNewWindow},
      {"onHomeBannerPressed", onHomeBannerPressed},
      {"onLeftBannerPressed", onLeftBannerPressed},
      {"onRightBannerPressed", onRightBannerPressed},
      {"onMemberLoginClicked", onMemberLoginClicked},
      {"checkForUpdate", checkForUpdate},
      {"pollPopupSwitch", pollPopupSwitch},
      {"onPopupCreated", onPopupCreated},
      {"slidePopupUp", slidePopupUp},
      {"slidePopupDown", slidePopupDown},
      {"onPopupClosePressed", onPopupClosePressed},
      {"onPopupAdPressed", onPopupAdPressed},
  };
  return table;
}

}  // namespace navigator
