#pragma once
// The windows of a program's template segment as the runtime keeps them: each unit's
// common fields (which property writes to a window that is not loaded change), its
// bindings and its property block.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/values/text.h"
#include "forms/runtime/runtime.h"

namespace forms {

struct Binding {
  std::int32_t event = 0;
  Handler handler = nullptr;  // null: no handler
};

struct StoredUnit {
  UnitId id = 0;
  std::uint32_t typeCode = 0;
  std::optional<UnitKind> kind;  // none for a type the runtime does not know
  UnitId sourceUnitId = 0;       // the unit a clone was made from
  Text name;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  UnitId parentId = 0;
  std::vector<UnitId> childIds;
  ByteSet mousePointer;
  Text tag;
  std::uint32_t flags = 0;  // bit 0 visible, bit 1 disabled, bit 2 tab stop
  std::uint32_t tabOrder = 0;
  std::vector<Binding> bindings;
  ByteSet block;
  bool clone = false;

  bool visible() const { return flags & 1u; }
  bool disabled() const { return flags & 2u; }
  bool tabStop() const { return flags & 4u; }
};

struct StoredWindow {
  WindowId id = 0;
  std::deque<StoredUnit> units;  // list order (clones at the end; addresses stay put); entry 0 is the window's own unit

  StoredUnit* find(UnitId unit);
  const StoredUnit* find(UnitId unit) const;
};

struct StoredSegment {
  std::vector<StoredWindow> windows;
  std::uint32_t highestSerial = 0;

  StoredWindow* find(WindowId window);
};

// The kind of a stored type code (the codes of both programs' library lists).
std::optional<UnitKind> unitKindOfCode(std::uint32_t typeCode);

// The key a template stores for a handler: FNV-1a (32 bits) of its name.
std::uint32_t handlerKey(const char* name);

// Reads a segment; handler references resolve through the table, unknown ones to no
// handler. None when a length or record runs past the segment's end.
std::optional<StoredSegment> readSegment(const ByteSet& segment, const std::map<std::uint32_t, Handler>& handlers);

}  // namespace forms
