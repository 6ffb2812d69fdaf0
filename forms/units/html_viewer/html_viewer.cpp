#include "forms/units/html_viewer/html_viewer.h"

#include <algorithm>

#include "forms/runtime/unit.h"

namespace forms {

HtmlViewer::HtmlViewer(HWND parent, const RECT& where, const HtmlViewerBlock& block,
                       std::function<HandlerResult()> raiseNewWindow)
    : stored_(block), raiseNewWindow_(std::move(raiseNewWindow)) {
  BrowserHost::Callbacks callbacks;
  callbacks.newWindow = [this] { return !(raiseNewWindow_ && stops(raiseNewWindow_())); };
  host_ = BrowserHost::create(parent, where, std::move(callbacks));
  if (!host_) return;
  host_->setSilent(stored_.silent);
  host_->setOffline(stored_.offline);
  host_->setFontSize(std::clamp(stored_.fontSize, 0, 4));
  if (!stored_.address.empty()) host_->navigate(stored_.address);
}

std::optional<Value> HtmlViewer::property(int index) const {
  switch (index) {
    case html_viewer::kFontSize: return Value(stored_.fontSize);
    case html_viewer::kOffline: return Value(stored_.offline);
    case html_viewer::kSilent: return Value(stored_.silent);
    case html_viewer::kAddress: return Value(stored_.address);
    case html_viewer::kStatusText: return Value(host_ ? host_->statusText() : Text());
    case html_viewer::kCaption: return Value(host_ ? host_->title() : Text());
    default: return std::nullopt;
  }
}

bool HtmlViewer::setProperty(int index, const Value& value) {
  switch (index) {
    case html_viewer::kFontSize:
      stored_.fontSize = std::clamp(valueToInt(value), 0, 4);
      if (host_) host_->setFontSize(stored_.fontSize);
      return true;
    case html_viewer::kOffline:
      stored_.offline = valueToBool(value);
      if (host_) host_->setOffline(stored_.offline);
      return true;
    case html_viewer::kSilent:
      stored_.silent = valueToBool(value);
      if (host_) host_->setSilent(stored_.silent);
      return true;
    case html_viewer::kAddress:
      // Stored and navigated to at once, an empty text like any other.
      stored_.address = valueToText(value);
      if (host_) host_->navigate(stored_.address);
      return true;
    default: return false;
  }
}

}  // namespace forms
