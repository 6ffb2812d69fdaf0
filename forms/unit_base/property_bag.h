#pragma once
// The type properties of the runtime's own unit types, as a bag decoded from the stored
// block through the template reader's type tables.
#include <cstdint>
#include <map>
#include <optional>

#include "forms/values/text.h"
#include "forms/values/value.h"
#include "forms/runtime/runtime.h"

namespace forms {

// Colour value that means "not set".
constexpr std::int32_t kColourNotSet = static_cast<std::int32_t>(0xFF000000u);

// Property number -> value: numbers as int32, texts as Text, byte fields as ByteSet.
using PropertyBag = std::map<int, Value>;

// Every type property of the block (defaults for an empty block); none for an invalid
// block.
std::optional<PropertyBag> decodeProperties(UnitKind kind, const ByteSet& block);

}  // namespace forms
