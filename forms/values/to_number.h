#pragma once
// Numbers read from texts, such as version numbers in server files, and the conversions
// between the number kinds.
#include <cstdint>
#include <string_view>

#include "forms/values/value.h"

namespace forms {

// The leading number of the text after full-width folding (see foldFullWidth): leading
// blanks skipped, an optional sign, digits with an optional point and fraction (".5" and
// "5." count), an optional exponent ("e", an optional sign, digits; an "e" without
// digits after it is not part of the number). Anything after it is ignored; a text that
// does not begin with a number gives 0. "inf", "nan" and hexadecimal are not numbers.
double toDouble(std::string_view text);
inline double toDouble(const Text& text) { return toDouble(std::string_view(text)); }
inline double toDouble(const char* text) { return toDouble(std::string_view(text ? text : "")); }
inline double toDouble(std::int32_t value) { return value; }
inline double toDouble(float value) { return value; }
inline double toDouble(double value) { return value; }
inline double toDouble(bool value) { return value ? 1.0 : 0.0; }
// An empty value and a byte set give 0.
double toDouble(const Value& value);

// The leading integer of the folded text: leading blanks, an optional sign, digits; 0
// when it does not begin with a number. A number beyond the 32-bit range gives the
// nearest end of the range.
std::int32_t toInteger(std::string_view text);
inline std::int32_t toInteger(const Text& text) { return toInteger(std::string_view(text)); }
inline std::int32_t toInteger(const char* text) {
  return toInteger(std::string_view(text ? text : ""));
}
inline std::int32_t toInteger(std::int32_t value) { return value; }
// The low 32 bits.
inline std::int32_t toInteger(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}
// Truncated toward zero; beyond the range the nearest end, and not-a-number 0, since the
// plain conversion is undefined there.
std::int32_t toInteger(double value);
inline std::int32_t toInteger(float value) { return toInteger(static_cast<double>(value)); }
inline std::int32_t toInteger(bool value) { return value ? 1 : 0; }
// An empty value and a byte set give 0.
std::int32_t toInteger(const Value& value);

}  // namespace forms
