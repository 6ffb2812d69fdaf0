#include "forms/units/html_viewer/html_viewer_block.h"

#include "forms/template/property_block.h"

namespace forms {

std::optional<HtmlViewerBlock> decodeHtmlViewerBlock(const ByteSet& block) {
  const auto stored = tpl::decodeBlock(tpl::UnitType::HtmlViewer, block);
  if (!stored) return std::nullopt;
  HtmlViewerBlock out;
  out.fontSize = static_cast<std::int32_t>(tpl::blockField(*stored, "fontSize")->number);
  out.offline = tpl::blockField(*stored, "offline")->number != 0;
  out.silent = tpl::blockField(*stored, "silent")->number != 0;
  out.address = tpl::blockField(*stored, "address")->text;
  return out;
}

}  // namespace forms
