// The popup switch poll and PopupWindow's handlers, which drive the slide cycle.
#include "forms/values/double_compare.h"
#include "forms/values/to_number.h"
#include "forms/net/http_read.h"
#include "forms/net/open_web_page.h"
#include "forms/system/system_ops.h"
#include "forms/units/window/picture_outline.h"
#include "navigator/addresses.h"
#include "navigator/globals.h"
#include "navigator/handlers.h"
#include "navigator/popup_cycle.h"
#include "generated/navigator_units.h"

namespace navigator {
namespace {

constexpr double kSwitchThreshold = 1.0;
constexpr std::int32_t kOutlineColour = 0xFF00FF;  // magenta is cut out of the shape

PopupCycle popupCycle;

bool popupIsLive() {
  return forms::getUnitWindowHandle(popup_window::kWindow, forms::UnitKind::Window) != 0;
}

PopupView popupView() {
  PopupView view;
  view.screenWidth = forms::getScreenWidth();
  view.screenHeight = forms::getScreenHeight();
  view.left = forms::toInteger(forms::getUnitProperty(popup_window::kWindow, forms::common::kLeft));
  view.top = forms::toInteger(forms::getUnitProperty(popup_window::kWindow, forms::common::kTop));
  return view;
}

void setInterval(const forms::UnitRef& timer, std::int32_t ms) {
  forms::setUnitProperty(timer, forms::timer::kInterval, forms::Value(ms));
}

void apply(const PopupMoves& moves) {
  // Hide before moving and show after it, so the popup never shows where it is leaving.
  if (moves.visible && !*moves.visible) {
    forms::setUnitProperty(popup_window::kWindow, forms::common::kVisible, forms::Value(false));
  }
  if (moves.left)
    forms::setUnitProperty(popup_window::kWindow, forms::common::kLeft, forms::Value(*moves.left));
  if (moves.top)
    forms::setUnitProperty(popup_window::kWindow, forms::common::kTop, forms::Value(*moves.top));
  if (moves.visible && *moves.visible) {
    forms::setUnitProperty(popup_window::kWindow, forms::common::kVisible, forms::Value(true));
  }
  // The timer that stops first, so that the two never run together.
  const bool riseFirst = moves.riseInterval && *moves.riseInterval == 0;
  if (riseFirst) setInterval(popup_window::kRiseTimer, 0);
  if (moves.sinkInterval) setInterval(popup_window::kSinkTimer, *moves.sinkInterval);
  if (moves.riseInterval && !riseFirst) setInterval(popup_window::kRiseTimer, *moves.riseInterval);
}

}  // namespace

forms::HandlerResult pollPopupSwitch(const forms::Event&) {
  forms::xmlLoad(*xmlDocument, forms::httpReadFile(address::kPopupSwitch));
  const double value =
      forms::toDouble(forms::xmlGetAttribute(*xmlDocument, kVersionInfoPath, "版本号"));
  // An open popup is only activated: no second window, no new cycle.
  if (forms::doubleGreater(value, kSwitchThreshold)) forms::loadWindow(kPopupWindow);
  return std::nullopt;
}

forms::HandlerResult onPopupCreated(const forms::Event&) {
  const forms::Value picture =
      forms::getUnitProperty(popup_window::kWindow, forms::window::kBgPicture);
  if (std::holds_alternative<forms::ByteSet>(picture)) {
    forms::setWindowOutline(kPopupWindow, picture, kOutlineColour);
  } else {
    forms::setWindowOutline(kPopupWindow, forms::Value(forms::ByteSet()), kOutlineColour);
  }
  popupPauseMs = forms::toInteger("100000");
  // A popup loaded anew after it was closed from outside starts a fresh cycle; whatever
  // rest the old one had pending died with its timers.
  apply(popupCycle.start(popupView(), popupPauseMs));
  return std::nullopt;
}

forms::HandlerResult slidePopupUp(const forms::Event&) {
  if (popupIsLive()) apply(popupCycle.riseTick(popupView()));
  return std::nullopt;
}

forms::HandlerResult slidePopupDown(const forms::Event&) {
  if (popupIsLive()) apply(popupCycle.sinkTick(popupView()));
  return std::nullopt;
}

forms::HandlerResult onPopupClosePressed(const forms::Event&) {
  if (popupIsLive()) apply(popupCycle.closePressed(popupView()));
  return std::nullopt;
}

forms::HandlerResult onPopupAdPressed(const forms::Event&) {
  forms::openWebPage(address::kPopupAd);
  return std::nullopt;
}

}  // namespace navigator
