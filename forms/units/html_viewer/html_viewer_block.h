#pragma once
// The stored property block of an HtmlViewer unit (version up to 1).
#include <cstdint>
#include <optional>

#include "forms/values/text.h"

namespace forms {

struct HtmlViewerBlock {
  std::int32_t fontSize = 2;  // 0 smallest .. 4 largest
  bool offline = false;
  bool silent = false;
  Text address;  // navigated when the unit is created
};

// None for a version above 1 or a field running past the block; empty = defaults.
std::optional<HtmlViewerBlock> decodeHtmlViewerBlock(const ByteSet& block);

}  // namespace forms
