#pragma once
// Property reads of a unit of a window that is not loaded, answered from its record.
#include <optional>

#include "forms/values/value.h"
#include "forms/template/model.h"

namespace forms::tpl {

// Common properties 0 to 7 from the record: left, top, width, height as int32, the tag
// as Text, visible and disabled as bool, the mouse pointer block as ByteSet.
std::optional<Value> commonProperty(const UnitRecord& unit, int index);

// Common or type property; none when the index names nothing for the unit's type or
// its block is invalid.
std::optional<Value> storedProperty(const UnitRecord& unit, int index);

// The common part's fields written back (a write to a window that is not loaded);
// false when the index is not a common one or the value's kind does not fit.
bool setCommonProperty(UnitRecord& unit, int index, const Value& value);

}  // namespace forms::tpl
