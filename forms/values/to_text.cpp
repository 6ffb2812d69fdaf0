#include "forms/values/to_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace forms {
namespace {

// Drops leading zeros of the exponent beyond two digits ("1e+015" → "1e+15"), which
// some C libraries of the platform write.
Text normalizeExponent(Text text) {
  const std::size_t e = text.find_first_of("eE");
  if (e == Text::npos || e + 1 >= text.size()) return text;
  std::size_t digits = e + 1;
  if (text[digits] == '+' || text[digits] == '-') ++digits;
  while (text.size() - digits > 2 && text[digits] == '0') text.erase(digits, 1);
  return text;
}

Text formatG(double value, int precision) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
  return normalizeExponent(buffer);
}

}  // namespace

Text toText(long long value) { return std::to_string(value); }

Text toText(unsigned long long value) { return std::to_string(value); }

Text toText(float value) { return formatG(value, 6); }

Text toText(double value) { return formatG(value, 13); }

Text toText(bool value) { return value ? "真" : "假"; }

Text toText(const DateTime& value) {
  char buffer[160];
  int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", value.year, value.month, value.day);
  const std::size_t room = sizeof buffer - static_cast<std::size_t>(n);
  if (value.second != 0) {
    std::snprintf(buffer + n, room, "%d时%d分%d秒", value.hour, value.minute, value.second);
  } else if (value.minute != 0) {
    std::snprintf(buffer + n, room, "%d时%d分", value.hour, value.minute);
  } else if (value.hour != 0) {
    std::snprintf(buffer + n, room, "%d时", value.hour);
  }
  return buffer;
}

Text toText(std::string_view value) { return Text(value); }

Text toText(const ByteSet& value) {
  const auto end = std::find(value.begin(), value.end(), std::uint8_t{0});
  return Text(value.begin(), end);
}

Text toText(const Value& value) {
  return std::visit(
      [](const auto& v) -> Text {
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>) {
          return Text();
        } else {
          return toText(v);
        }
      },
      value);
}

}  // namespace forms
