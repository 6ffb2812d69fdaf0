#pragma once
// The stored property block of a SuperBar unit and the properties its words carry.
#include <cstdint>
#include <map>
#include <optional>

#include "forms/template/unit_numbers.h"
#include "forms/values/text.h"

namespace forms {

struct SuperBarBlock {
  ByteSet pictures[4];  // the image lists 1 to 4
  ByteSet font;         // a LOGFONTA (60 bytes); empty for the default GUI font
  // The integer properties by number, with their defaults.
  std::map<int, std::int32_t> numbers;
};

// Decodes a block of any version (empty = all defaults); none when a field runs past
// the block's end.
std::optional<SuperBarBlock> decodeSuperBarBlock(const ByteSet& block);

}  // namespace forms
