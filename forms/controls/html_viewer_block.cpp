#include "forms/controls/html_viewer_block.h"

#include "forms/controls/block_reader.h"

namespace forms {

std::optional<HtmlViewerBlock> decodeHtmlViewerBlock(const ByteSet& block) {
  HtmlViewerBlock out;
  if (block.empty()) return out;
  BlockReader r(block);
  std::uint32_t version = 0, offline = 0, silent = 0;
  if (!r.u32(version) || version > 1) return std::nullopt;
  if (!r.i32(out.fontSize) || !r.u32(offline) || !r.u32(silent) || !r.text(out.address)) return std::nullopt;
  out.offline = offline != 0;
  out.silent = silent != 0;
  return out;
}

}  // namespace forms
