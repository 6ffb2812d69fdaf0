// MainWindow's start-up and the handlers of its title strip, browser, banners and login.
#include "forms/values/to_number.h"
#include "forms/values/to_text.h"
#include "forms/net/http_read.h"
#include "forms/net/open_web_page.h"
#include "forms/style/xp_style.h"
#include "navigator/addresses.h"
#include "navigator/handlers.h"
#include "generated/navigator_units.h"

namespace navigator {
namespace {

constexpr std::int32_t kXpStyle = 3;
constexpr std::int32_t kHotKeyF3 = 0x72;
constexpr std::int32_t kNoModifier = 0;
constexpr std::int32_t kPollIntervalMs = 10000;
constexpr std::int32_t kMinimized = 2;

// A server page as a caption: cut at its first zero byte, never trimmed; a failed read
// gives the empty text.
forms::Value serverText(const char* url) { return forms::toText(forms::httpReadFile(url)); }

}  // namespace

forms::HandlerResult onMainWindowCreated(const forms::Event&) {
  // Strictly in this order: the window is shown only after the three reads have ended.
  forms::setXpStyle(kXpStyle);
  forms::setUnitProperty(main_window::kBarLink, forms::hyper_linker::kCaption,
                         serverText(address::kBarCaption));
  forms::setUnitProperty(main_window::kBarLink, forms::hyper_linker::kUrl,
                         serverText(address::kBarTarget));
  forms::setUnitProperty(main_window::kBarText, forms::trans_label::kCaption,
                         serverText(address::kBarText));
  const forms::WindowHandle window =
      forms::getUnitWindowHandle(main_window::kWindow, forms::UnitKind::Window);
  const forms::WindowHandle label =
      forms::getUnitWindowHandle(main_window::kHotKeyLabel, forms::UnitKind::Label);
  forms::registerHotKey(window, label, kNoModifier, kHotKeyF3);  // id 33001; a refusal is silent
  forms::setUnitProperty(main_window::kPollTimer, forms::timer::kInterval,
                         forms::Value(kPollIntervalMs));
  return std::nullopt;
}

forms::HandlerResult onBossKey(const forms::Event&) {
  // A minimized window reads as shown, so F3 hides it too.
  const std::int32_t visible =
      forms::toInteger(forms::getUnitProperty(main_window::kWindow, forms::common::kVisible));
  if (visible == 1) {
    forms::setUnitProperty(main_window::kWindow, forms::common::kVisible, forms::Value(false));
  } else if (visible == 0) {
    forms::setUnitProperty(main_window::kWindow, forms::common::kVisible, forms::Value(true));
  }
  return std::nullopt;
}

forms::HandlerResult onCloseClicked(const forms::Event&) { forms::endProgram(0); }

forms::HandlerResult onMinimizeClicked(const forms::Event&) {
  forms::setUnitProperty(main_window::kWindow, forms::window::kStartPosition,
                         forms::Value(kMinimized));
  return std::nullopt;
}

forms::HandlerResult onBrowserNewWindow(const forms::Event&) {
  // The page may not open windows of its own: the link goes to the embedded browser, at
  // the address the status bar showed last, whatever that is.
  const forms::Text status =
      forms::toText(forms::getUnitProperty(main_window::kBrowser, forms::html_viewer::kStatusText));
  forms::setUnitProperty(main_window::kBrowser, forms::html_viewer::kAddress, forms::Value(status));
  return forms::Value(false);
}

forms::HandlerResult onHomeBannerPressed(const forms::Event&) {
  forms::openWebPage(address::kHomePage);
  return std::nullopt;
}

forms::HandlerResult onLeftBannerPressed(const forms::Event&) {
  forms::openWebPage(address::kLeftBanner);
  return std::nullopt;
}

forms::HandlerResult onRightBannerPressed(const forms::Event&) {
  forms::openWebPage(address::kRightBanner);
  return std::nullopt;
}

forms::HandlerResult onMemberLoginClicked(const forms::Event&) {
  forms::openWebPage(address::kMemberLogin);
  return std::nullopt;
}

}  // namespace navigator
