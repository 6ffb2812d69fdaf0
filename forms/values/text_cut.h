#pragma once
// The first or last bytes of a text (bytes, not characters).
#include <cstdint>

#include "forms/values/text.h"

namespace forms {

// The first n bytes; n <= 0 gives "", n beyond the length the whole text.
Text leftText(const Text& text, std::int32_t n);

// The last n bytes, with the same rules.
Text rightText(const Text& text, std::int32_t n);

}  // namespace forms
