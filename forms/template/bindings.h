#pragma once
// Resolving (window, unit, event) to the handler bound in the templates.
#include <cstddef>
#include <cstdint>

#include "forms/template/model.h"

namespace forms::tpl {

// The stable key a template stores for a handler: FNV-1a (32 bits) of its name.
constexpr std::uint32_t handlerRefOf(const char* name) {
  std::uint32_t h = 2166136261u;
  for (; *name; ++name) {
    h ^= static_cast<unsigned char>(*name);
    h *= 16777619u;
  }
  return h;
}

enum class BindingStatus {
  Handled,        // handlerRef names the routine
  NotHandled,     // no binding for the event, or one to no handler: no error
  WindowMissing,  // fatal kEventWindowMissing
  UnitMissing,    // fatal kEventUnitMissing
  UnitInvalid,    // fatal kEventUnitInvalid
};

struct BindingLookup {
  BindingStatus status = BindingStatus::NotHandled;
  std::uint32_t handlerRef = kNoHandler;
};

// unit 0 = the window's own unit. A clone's bindings are those at the end of its
// sourceUnitId chain (same window, same type code).
BindingLookup resolveBinding(const Segment& segment, Id window, Id unit, std::int32_t event);

// The record whose bindings count for unit: itself, or the first unit of its clone chain
// (same type code all along). Window is a WindowRecord or the runtime's stored window:
// both have `units` and a `find(id)` that gives a pointer to Unit or null.
template <typename Window, typename Unit>
const Unit* bindingRecord(const Window& window, const Unit& unit) {
  const Unit* at = &unit;
  // A chain can be no longer than the window's list; a longer walk is a cycle, which has
  // no first unit, so the unit keeps its own bindings.
  for (std::size_t steps = 0; at->sourceUnitId != 0; ++steps) {
    if (steps == window.units.size()) return &unit;
    const Unit* source = window.find(at->sourceUnitId);
    if (!source || source->typeCode != at->typeCode) break;
    at = source;
  }
  return at;
}

// The fatal message of a failed lookup (GBK); null for Handled and NotHandled.
const char* bindingFailureText(BindingStatus status);

}  // namespace forms::tpl
