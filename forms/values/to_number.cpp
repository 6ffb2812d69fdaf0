#include "forms/values/to_number.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "forms/values/gbk.h"

namespace forms {
namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipBlanks(const Text& s, std::size_t i) {
  while (i < s.size() && isBlank(s[i])) ++i;
  return i;
}

std::size_t skipDigits(const Text& s, std::size_t i) {
  while (i < s.size() && isDigit(s[i])) ++i;
  return i;
}

}  // namespace

double toDouble(std::string_view text) {
  const Text s = foldFullWidth(text);
  const std::size_t begin = skipBlanks(s, 0);
  std::size_t i = begin;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t intStart = i;
  i = skipDigits(s, i);
  std::size_t digits = i - intStart;
  if (i < s.size() && s[i] == '.') {
    const std::size_t fracStart = i + 1;
    const std::size_t fracEnd = skipDigits(s, fracStart);
    digits += fracEnd - fracStart;
    if (digits > 0) i = fracEnd;
  }
  if (digits == 0) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t expEnd = skipDigits(s, j);
    if (expEnd > j) i = expEnd;
  }
  // The span is now a plain decimal number, which strtod reads without surprises.
  const Text number = s.substr(begin, i - begin);
  return std::strtod(number.c_str(), nullptr);
}

// A value's number through convert; an empty value and a byte set count as 0.
template <typename Number, typename Convert>
Number numberOf(const Value& value, Convert convert) {
  return std::visit(
      [&](const auto& v) -> Number {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, ByteSet>) {
          return Number{};
        } else {
          return convert(v);
        }
      },
      value);
}

double toDouble(const Value& value) {
  return numberOf<double>(value, [](const auto& v) { return toDouble(v); });
}

std::int32_t toInteger(std::string_view text) {
  const Text s = foldFullWidth(text);
  std::size_t i = skipBlanks(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  constexpr long long limit = 1LL << 31;
  long long magnitude = 0;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    magnitude = magnitude * 10 + (s[i] - '0');
    if (magnitude > limit) magnitude = limit;  // saturate, and never overflow
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(magnitude == limit ? limit - 1 : magnitude);
}

std::int32_t toInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t toInteger(const Value& value) {
  return numberOf<std::int32_t>(value, [](const auto& v) { return toInteger(v); });
}

}  // namespace forms
