#include "forms/controls/page_block.h"

#include "forms/controls/block_reader.h"

namespace forms {

std::optional<PageBlock> decodePageBlock(const ByteSet& block) {
  PageBlock out;
  if (block.empty()) return out;
  BlockReader r(block);
  std::uint32_t version = 0;
  if (!r.u32(version) || !r.skip(4 * 4) || !r.raw(60, out.font)) return std::nullopt;

  ByteSet table;
  if (!r.bytes(table)) return std::nullopt;
  if (!table.empty()) {
    BlockReader t(table);
    std::uint32_t kind = 0, count = 0;
    if (!t.u32(kind) || !t.u32(count)) return std::nullopt;
    // Each page takes at least its caption length and 23 words.
    if (count > t.left() / (4 + 23 * 4)) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
      PageRecord page;
      if (!t.text(page.caption)) return std::nullopt;
      for (std::int32_t& image : page.images) {
        if (!t.i32(image)) return std::nullopt;
      }
      if (!t.skip(20 * 4)) return std::nullopt;
      out.pages.push_back(page);
    }
  }

  if (!r.skip(4 * 4)) return std::nullopt;
  ByteSet unused;
  if (!r.bytes(out.pictures[0]) || !r.bytes(out.pictures[1]) || !r.bytes(unused) || !r.bytes(unused)) {
    return std::nullopt;
  }
  std::size_t words = 17;
  if (version >= 2) words += 5;
  if (version >= 3) words += 1;
  if (version >= 5) words += 1;
  if (version >= 6) words += 1;
  if (version >= 7) words += 1;
  if (!r.skip(words * 4)) return std::nullopt;
  return out;
}

}  // namespace forms
