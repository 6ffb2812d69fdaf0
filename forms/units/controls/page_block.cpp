#include "forms/units/controls/page_block.h"

#include "forms/template/property_block.h"

namespace forms {

std::optional<PageBlock> decodePageBlock(const ByteSet& block) {
  const auto stored = tpl::decodeBlock(UnitKind::PageControl, block);
  if (!stored) return std::nullopt;
  PageBlock out;
  out.font = tpl::blockField(*stored, page_control::kFont)->bytes;
  const auto pages = tpl::decodePageTable(tpl::blockField(*stored, page_control::kPages)->bytes);
  if (!pages) return std::nullopt;
  for (const tpl::PageRecord& page : *pages) {
    PageRecord record;
    record.caption = page.caption;
    for (int i = 0; i < 3; ++i) record.images[i] = page.words[i];
    out.pages.push_back(record);
  }
  out.pictures[0] = tpl::blockField(*stored, page_control::kImageList1)->bytes;
  out.pictures[1] = tpl::blockField(*stored, page_control::kImageList2)->bytes;
  return out;
}

}  // namespace forms
