#pragma once
// Replacing a find text in a GBK text.
#include <cstdint>

#include "forms/values/text.h"

namespace forms {

// A copy of text with up to count occurrences of find (all of them when count is
// negative) replaced. The bytes before start (1-based, in bytes) are copied unchanged;
// from there the scan moves one character at a time, so a match never begins on the
// second byte of a double-byte character. Matches do not overlap and the replacement is
// not scanned again. caseSensitive false ignores the case of A-Z only, and only in
// single-byte characters: a trail byte that happens to be a letter compares exactly.
// An empty text or find, a start beyond the text, or a count of 0 give a plain copy.
Text replaceText(const Text& text, const Text& find, const Text& replacement = Text(),
                 std::int32_t start = 1, std::int32_t count = -1, bool caseSensitive = true);

}  // namespace forms
