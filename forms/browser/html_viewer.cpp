#include "forms/browser/html_viewer.h"

#include <algorithm>
#include <cmath>

namespace forms {
namespace {

// The value as an integer property takes it: doubles truncated toward zero.
std::int32_t asInteger(const Value& v) {
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return static_cast<std::int32_t>(std::trunc(*d));
  if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return 0;
}

Text asText(const Value& v) {
  if (const auto* t = std::get_if<Text>(&v)) return *t;
  if (const auto* b = std::get_if<ByteSet>(&v)) {
    Text t(b->begin(), b->end());
    return t.substr(0, t.find('\0'));
  }
  return {};
}

bool isFalse(const HandlerResult& r) {
  const bool* b = r ? std::get_if<bool>(&*r) : nullptr;
  return b && !*b;
}

}  // namespace

HtmlViewer::HtmlViewer(HWND parent, const RECT& where, const HtmlViewerBlock& block,
                       std::function<HandlerResult()> raiseNewWindow)
    : stored_(block), raiseNewWindow_(std::move(raiseNewWindow)) {
  BrowserHost::Callbacks callbacks;
  callbacks.newWindow = [this] { return !(raiseNewWindow_ && isFalse(raiseNewWindow_())); };
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
      stored_.fontSize = std::clamp(asInteger(value), 0, 4);
      if (host_) host_->setFontSize(stored_.fontSize);
      return true;
    case html_viewer::kOffline:
      stored_.offline = asInteger(value) != 0;
      if (host_) host_->setOffline(stored_.offline);
      return true;
    case html_viewer::kSilent:
      stored_.silent = asInteger(value) != 0;
      if (host_) host_->setSilent(stored_.silent);
      return true;
    case html_viewer::kAddress:
      // Stored and navigated to at once, an empty text like any other.
      stored_.address = asText(value);
      if (host_) host_->navigate(stored_.address);
      return true;
    default:
      return false;
  }
}

}  // namespace forms
