#include "forms/units/html_viewer/html_viewer_block.h"

#include "forms/template/property_block.h"

namespace forms {

std::optional<HtmlViewerBlock> decodeHtmlViewerBlock(const ByteSet& block) {
  const auto stored = tpl::decodeBlock(UnitKind::HtmlViewer, block);
  if (!stored) return std::nullopt;
  HtmlViewerBlock out;
  out.fontSize = std::get<std::int32_t>(*tpl::blockProperty(*stored, html_viewer::kFontSize));
  out.offline = std::get<std::int32_t>(*tpl::blockProperty(*stored, html_viewer::kOffline)) != 0;
  out.silent = std::get<std::int32_t>(*tpl::blockProperty(*stored, html_viewer::kSilent)) != 0;
  out.address = std::get<Text>(*tpl::blockProperty(*stored, html_viewer::kAddress));
  return out;
}

}  // namespace forms
