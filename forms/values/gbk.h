#pragma once
// Character structure of GBK (code page 936) byte strings.
#include <cstddef>
#include <string_view>

#include "forms/values/text.h"

namespace forms {

// 0x81..0xFE start a two-byte character; 0x80 and 0xFF stand alone, as on the platform.
// A trail byte may lie in 0x40..0x7E, so a byte after a lead byte is never ASCII.
constexpr bool isGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Bytes of the character that starts at pos: 2 for a lead byte with a byte after it,
// else 1 (a lead byte cut off at the end stands alone).
inline std::size_t gbkCharLength(std::string_view text, std::size_t pos) {
  return isGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Full-width forms of ASCII characters (the ideographic blank counting as the blank)
// become the ASCII character; everything else, other double-byte characters included,
// is copied as it is.
Text foldFullWidth(std::string_view text);

}  // namespace forms
