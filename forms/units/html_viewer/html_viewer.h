#pragma once
// The HtmlViewer unit: the hosted browser with the unit's properties 8 to 13 and its
// new-window event 9.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "forms/units/html_viewer/browser_host.h"
#include "forms/units/html_viewer/html_viewer_block.h"
#include "forms/runtime/runtime.h"

namespace forms {

namespace html_viewer {
constexpr int kFontSize = 8;
constexpr int kOffline = 9;
constexpr int kSilent = 10;
constexpr int kAddress = 11;     // writing it navigates at once
constexpr int kStatusText = 12;  // read-only
constexpr int kCaption = 13;     // read-only: the document's title
constexpr int kNewWindowEvent = 9;
}  // namespace html_viewer

class HtmlViewer {
 public:
  // raiseNewWindow raises event 9 and gives the handler's result; a returned false
  // cancels the new window.
  HtmlViewer(HWND parent, const RECT& where, const HtmlViewerBlock& block,
             std::function<HandlerResult()> raiseNewWindow);

  bool created() const { return host_ != nullptr; }
  HWND window() const { return host_ ? host_->window() : nullptr; }
  BrowserHost* host() const { return host_.get(); }

  // Properties 8 to 13; none for another index.
  std::optional<Value> property(int index) const;
  // Properties 8 to 11; false for the read-only ones and other indexes.
  bool setProperty(int index, const Value& value);

 private:
  HtmlViewerBlock stored_;
  std::function<HandlerResult()> raiseNewWindow_;
  std::unique_ptr<BrowserHost> host_;
};

}  // namespace forms
