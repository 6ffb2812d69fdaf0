#include "forms/template/stored_property.h"

#include "forms/template/property_block.h"

namespace forms::tpl {
namespace {

std::optional<std::int32_t> asNumber(const Value& v) {
  if (auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return static_cast<std::int32_t>(*d);  // toward zero
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return std::nullopt;
}

void setFlag(UnitRecord& unit, std::uint32_t bit, bool on) {
  unit.flags = on ? (unit.flags | bit) : (unit.flags & ~bit);
}

}  // namespace

std::optional<Value> commonProperty(const UnitRecord& unit, int index) {
  switch (index) {
    case common::kLeft: return Value(unit.left);
    case common::kTop: return Value(unit.top);
    case common::kWidth: return Value(unit.width);
    case common::kHeight: return Value(unit.height);
    case common::kTag: return Value(unit.tag);
    case common::kVisible: return Value(unit.visible());
    case common::kDisabled: return Value(unit.disabled());
    case common::kMousePointer: return Value(unit.mousePointer);
    default: return std::nullopt;
  }
}

std::optional<Value> storedProperty(const UnitRecord& unit, int index) {
  if (index < common::kFirstTypeProperty) return commonProperty(unit, index);
  if (!unit.type) return std::nullopt;
  auto block = decodeBlock(*unit.type, unit.propertyBlock);
  if (!block) return std::nullopt;
  return blockProperty(*block, index);
}

bool setCommonProperty(UnitRecord& unit, int index, const Value& value) {
  if (index == common::kTag) {
    if (auto* t = std::get_if<Text>(&value)) {
      unit.tag = *t;
      return true;
    }
    return false;
  }
  if (index == common::kMousePointer) {
    if (auto* b = std::get_if<ByteSet>(&value)) {
      unit.mousePointer = *b;
      return true;
    }
    auto n = asNumber(value);
    if (!n) return false;
    std::uint32_t v = static_cast<std::uint32_t>(*n);
    unit.mousePointer = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    return true;
  }
  auto n = asNumber(value);
  if (!n) return false;
  switch (index) {
    case common::kLeft: unit.left = *n; return true;
    case common::kTop: unit.top = *n; return true;
    case common::kWidth: unit.width = *n; return true;
    case common::kHeight: unit.height = *n; return true;
    case common::kVisible: setFlag(unit, kFlagVisible, *n != 0); return true;
    case common::kDisabled: setFlag(unit, kFlagDisabled, *n != 0); return true;
    default: return false;
  }
}

}  // namespace forms::tpl
