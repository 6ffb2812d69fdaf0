#pragma once
// A property or handler value in one of the runtime's kinds.
#include <cstdint>
#include <variant>

#include "forms/values/text.h"

namespace forms {

using Value = std::variant<std::monostate, std::int32_t, double, bool, Text, ByteSet>;

}  // namespace forms
