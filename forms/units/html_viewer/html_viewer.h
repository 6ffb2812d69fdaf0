#pragma once
// The HtmlViewer unit: the hosted browser with the unit's properties (html_viewer:: in
// unit_numbers.h; writing the address navigates at once, the status text and the
// document's title are read-only) and its new-window event.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "forms/units/html_viewer/browser_host.h"
#include "forms/units/html_viewer/html_viewer_block.h"
#include "forms/runtime/runtime.h"

namespace forms {

class HtmlViewer {
 public:
  // raiseNewWindow raises the new-window event and gives the handler's result; a returned false
  // cancels the new window.
  HtmlViewer(HWND parent, const RECT& where, const HtmlViewerBlock& block,
             std::function<HandlerResult()> raiseNewWindow);

  bool created() const { return host_ != nullptr; }
  HWND window() const { return host_ ? host_->window() : nullptr; }
  BrowserHost* host() const { return host_.get(); }

  // The type's properties; none for another index.
  std::optional<Value> property(int index) const;
  // The stored properties; false for the read-only ones and other indexes.
  bool setProperty(int index, const Value& value);

 private:
  HtmlViewerBlock stored_;
  std::function<HandlerResult()> raiseNewWindow_;
  std::unique_ptr<BrowserHost> host_;
};

}  // namespace forms
