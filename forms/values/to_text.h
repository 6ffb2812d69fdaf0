#pragma once
// Conversion of every value kind to its text, as messages, captions and log lines show it.
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "forms/values/date_time.h"
#include "forms/values/text.h"
#include "forms/values/value.h"

namespace forms {

Text toText(long long value);
Text toText(unsigned long long value);

// Every integer kind in decimal (bool and the character kinds have their own meaning).
template <typename I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool>, int> = 0>
Text toText(I value) {
  if constexpr (std::is_signed_v<I>) {
    return toText(static_cast<long long>(value));
  } else {
    return toText(static_cast<unsigned long long>(value));
  }
}

// Six significant digits ("%.6g").
Text toText(float value);

// Thirteen significant digits ("%.13g": fixed notation unless the exponent is below -4
// or 13 and above, no trailing zeros). The exponent always has at least two digits and
// no more than it needs, so every C library gives the same text ("1e+20", "1e-05").
Text toText(double value);

// "真" or "假".
Text toText(bool value);

// "2024年3月5日" then the time: "8时5分9秒", "8时5分" when the seconds are 0, "8时" when
// minutes and seconds are 0, nothing at midnight.
Text toText(const DateTime& value);

Text toText(std::string_view value);
inline Text toText(const char* value) { return value ? Text(value) : Text(); }
inline Text toText(const Text& value) { return value; }

// The bytes up to the first zero byte, or all of them when there is none; a reply body
// shown as a caption is cut there and never trimmed.
Text toText(const ByteSet& value);

// An empty value gives the empty text; the other kinds as above.
Text toText(const Value& value);

}  // namespace forms
