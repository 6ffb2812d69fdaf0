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
    case kPropLeft: return Value(unit.left);
    case kPropTop: return Value(unit.top);
    case kPropWidth: return Value(unit.width);
    case kPropHeight: return Value(unit.height);
    case kPropTag: return Value(unit.tag);
    case kPropVisible: return Value(unit.visible());
    case kPropDisabled: return Value(unit.disabled());
    case kPropMousePointer: return Value(unit.mousePointer);
    default: return std::nullopt;
  }
}

std::optional<Value> storedProperty(const UnitRecord& unit, int index) {
  if (index < kFirstTypeProperty) return commonProperty(unit, index);
  if (!unit.type) return std::nullopt;
  auto block = decodeBlock(*unit.type, unit.propertyBlock);
  if (!block) return std::nullopt;
  return blockProperty(*block, index);
}

bool setCommonProperty(UnitRecord& unit, int index, const Value& value) {
  if (index == kPropTag) {
    if (auto* t = std::get_if<Text>(&value)) {
      unit.tag = *t;
      return true;
    }
    return false;
  }
  if (index == kPropMousePointer) {
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
    case kPropLeft: unit.left = *n; return true;
    case kPropTop: unit.top = *n; return true;
    case kPropWidth: unit.width = *n; return true;
    case kPropHeight: unit.height = *n; return true;
    case kPropVisible: setFlag(unit, kFlagVisible, *n != 0); return true;
    case kPropDisabled: setFlag(unit, kFlagDisabled, *n != 0); return true;
    default: return false;
  }
}

}  // namespace forms::tpl
