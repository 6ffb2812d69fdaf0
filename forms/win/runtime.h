#pragma once
// What the programs' own code calls: program life, unit properties and events.
// The operations are implemented across forms/win and the other forms/ areas; this header
// is the one the programs include.
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/core/text.h"
#include "forms/core/value.h"

namespace forms {

using WindowId = std::uint32_t;   // 0x52xxxxxx: the key a window is loaded under
using UnitId = std::uint32_t;     // 0x06xxxxxx the window's own unit, 0x16xxxxxx a unit

struct UnitRef {
  WindowId window = 0;
  UnitId unit = 0;
};

// What a handler gave back: no value at all, or one value. Only a returned false stops
// an action that can be stopped.
using HandlerResult = std::optional<Value>;

struct Event {
  UnitRef source;                    // the unit that raised it (a clone: the clone itself)
  int number = 0;                    // the unit's own events from 0, common ones negative
  std::vector<std::int32_t> args;    // x, y, flags; feedback parameters; ...
};

using Handler = HandlerResult (*)(const Event&);

// A program's handler table: the templates name handlers, and the runtime resolves each
// name through this table at start-up.
struct HandlerEntry {
  const char* name;
  Handler handler;
};

}  // namespace forms
