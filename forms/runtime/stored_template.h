#pragma once
// The windows of a program's template segment as the runtime keeps them: each unit's
// record as read (property writes to a window that is not loaded change its common
// fields), with its bindings resolved to the program's handlers.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/runtime/runtime.h"
#include "forms/template/model.h"
#include "forms/values/text.h"

namespace forms {

struct Binding {
  std::int32_t event = 0;
  Handler handler = nullptr;  // null: no handler
};

// type is none for a type the runtime does not know; sourceUnitId names the unit a
// clone was made from.
struct StoredUnit : tpl::UnitRecord {
  std::vector<Binding> handlers;  // the record's bindings, in stored order
  bool clone = false;
};

struct StoredWindow {
  WindowId id = 0;
  std::deque<StoredUnit> units;  // list order (clones at the end; addresses stay put); entry 0 is
                                 // the window's own unit

  StoredUnit* find(UnitId unit);
  const StoredUnit* find(UnitId unit) const;
};

struct StoredSegment {
  std::vector<StoredWindow> windows;
  std::uint32_t highestSerial = 0;

  StoredWindow* find(WindowId window);
};

// The key a template stores for a handler: FNV-1a (32 bits) of its name.
std::uint32_t handlerKey(const char* name);

// The segment's windows as the runtime keeps them: its records, with handler references
// resolved through the table (unknown ones to no handler). None when a length or record runs past
// the segment's end.
std::optional<StoredSegment> readStoredSegment(const ByteSet& segment,
                                               const std::map<std::uint32_t, Handler>& handlers);

}  // namespace forms
