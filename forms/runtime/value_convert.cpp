#include "forms/values/to_number.h"
#include "forms/values/to_text.h"
#include "forms/runtime/unit.h"

namespace forms {

std::int32_t valueToInt(const Value& value) { return toInteger(value); }

bool valueToBool(const Value& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  if (std::holds_alternative<Text>(value)) return toDouble(value) != 0.0;
  return toInteger(value) != 0;
}

Text valueToText(const Value& value) { return toText(value); }

ByteSet valueToBytes(const Value& value) {
  if (const ByteSet* b = std::get_if<ByteSet>(&value)) return *b;
  if (const Text* t = std::get_if<Text>(&value)) return ByteSet(t->begin(), t->end());
  return {};
}

}  // namespace forms
