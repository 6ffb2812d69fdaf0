#pragma once
// The stored property block of a SuperBar unit and the properties its words carry.
#include <cstdint>
#include <map>
#include <optional>

#include "forms/values/text.h"

namespace forms {

struct SuperBarBlock {
  ByteSet pictures[4];  // image lists of properties 40, 50, 35 and 60
  ByteSet font;         // a LOGFONTA (60 bytes); empty for the default GUI font
  // The integer properties by number (13..19, 21, 22, 34, ...), with their defaults.
  std::map<int, std::int32_t> numbers;
};

namespace superbar {
constexpr int kStyle = 8;
constexpr int kMinimum = 15;
constexpr int kMaximum = 16;
constexpr int kPosition = 17;
}  // namespace superbar

// Decodes a block of any version (empty = all defaults); none when a field runs past
// the block's end.
std::optional<SuperBarBlock> decodeSuperBarBlock(const ByteSet& block);

}  // namespace forms
