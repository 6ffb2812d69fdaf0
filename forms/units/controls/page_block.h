#pragma once
// The stored property block of a PageControl unit.
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/values/text.h"

namespace forms {

struct PageRecord {
  Text caption;
  // Indexes into the first tab-picture list: normal, under the pointer, selected.
  std::int32_t images[3] = {-1, -1, -1};
};

struct PageBlock {
  ByteSet font;  // a LOGFONTA (60 bytes); empty for the default GUI font
  std::vector<PageRecord> pages;
  ByteSet pictures[2];  // the two stored tab-picture lists ("MITL" blocks)
};

// Decodes a block of any version (empty = all defaults: no pages, default font); none
// when a field runs past the block's end.
std::optional<PageBlock> decodePageBlock(const ByteSet& block);

}  // namespace forms
