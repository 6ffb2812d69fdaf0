#pragma once
// Base of the runtime's own unit types: the decoded property block is the unit's data;
// a write stores the value and lets the type apply it to its live window.
#include <windows.h>

#include "forms/unit_base/property_bag.h"
#include "forms/runtime/unit.h"

namespace forms {

class BagUnit : public UnitControl {
 public:
  explicit BagUnit(PropertyBag bag) : bag_(std::move(bag)) {}

  std::optional<Value> property(int index) const override {
    auto it = bag_.find(index);
    if (it == bag_.end()) return std::nullopt;
    return it->second;
  }

  bool setProperty(int index, const Value& value) override {
    auto it = bag_.find(index);
    if (it == bag_.end()) return false;
    // Keep each property in its stored kind.
    if (std::holds_alternative<std::int32_t>(it->second)) {
      it->second = valueToInt(value);
    } else if (std::holds_alternative<Text>(it->second)) {
      it->second = valueToText(value);
    } else {
      it->second = valueToBytes(value);
    }
    applied(index);
    return true;
  }

 protected:
  // The live effect of a stored write.
  virtual void applied(int index) { (void)index; }

  std::int32_t number(int index) const {
    auto it = bag_.find(index);
    const std::int32_t* n = it == bag_.end() ? nullptr : std::get_if<std::int32_t>(&it->second);
    return n ? *n : 0;
  }
  const Text& text(int index) const {
    static const Text kEmpty;
    auto it = bag_.find(index);
    const Text* t = it == bag_.end() ? nullptr : std::get_if<Text>(&it->second);
    return t ? *t : kEmpty;
  }
  const ByteSet& bytes(int index) const {
    static const ByteSet kEmpty;
    auto it = bag_.find(index);
    const ByteSet* b = it == bag_.end() ? nullptr : std::get_if<ByteSet>(&it->second);
    return b ? *b : kEmpty;
  }

  PropertyBag bag_;
};

// Decodes the unit's stored block with its type's table; none for an invalid block.
std::optional<PropertyBag> decodeUnitBlock(const UnitPlan& plan);

// A unit of a bag type T(bag, plan, site): null for an invalid block or a failed window.
template <typename T>
std::unique_ptr<UnitControl> makeBagUnit(const UnitPlan& plan, UnitSite& site) {
  std::optional<PropertyBag> bag = decodeUnitBlock(plan);
  return bag ? unitWithWindow(std::make_unique<T>(std::move(*bag), plan, site)) : nullptr;
}

}  // namespace forms
