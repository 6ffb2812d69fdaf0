#pragma once
// Resolving (window, unit, event) to the handler bound in the templates.
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

// The record whose bindings count for unit: itself, or the first unit of its clone chain.
const UnitRecord* bindingRecord(const WindowRecord& window, const UnitRecord& unit);

// The fatal message of a failed lookup (GBK); null for Handled and NotHandled.
const char* bindingFailureText(BindingStatus status);

}  // namespace forms::tpl
