// A program's template segment as the runtime reads it: the segment, then every
// property of every unit, the page tables, mouse pointers and event bindings; a segment
// that reads must also write and read back.
#include <cstddef>
#include <cstdint>

#include "forms/template/bindings.h"
#include "forms/template/mouse_pointer.h"
#include "forms/template/property_block.h"
#include "forms/template/segment.h"
#include "forms/template/stored_property.h"
#include "forms/template/type_tables.h"

using namespace forms::tpl;

namespace {

// Past the highest property number of any type, so "no such property" is read too.
constexpr int kPropertiesTried = 72;
constexpr std::int32_t kEventsTried = 12;

void readUnit(const Segment& segment, const WindowRecord& window, const UnitRecord& unit) {
  for (int index = 0; index < kPropertiesTried; ++index) storedProperty(unit, index);
  bool fileAlsoTried = false;
  decodeMousePointer(unit.mousePointer, &fileAlsoTried);
  bindingRecord(window, unit);
  for (std::int32_t event = -1; event < kEventsTried; ++event)
    resolveBinding(segment, window.id, unit.id, event);
  if (!unit.type) return;
  const auto block = decodeBlock(*unit.type, unit.propertyBlock);
  if (!block) return;
  for (int index = forms::common::kFirstTypeProperty; index < kPropertiesTried; ++index)
    blockProperty(*block, index);
  if (const FieldValue* pages = blockField(*block, "pages")) decodePageTable(pages->bytes);
  encodeBlock(*block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto segment = readSegmentRecords(data, size);
  if (!segment) return 0;
  for (const WindowRecord& window : segment->windows) {
    for (const UnitRecord& unit : window.units) readUnit(*segment, window, unit);
    resolveBinding(*segment, window.id, 0, 0);
  }
  segment->highestSerial();
  const auto again = readSegmentRecords(writeSegment(*segment));
  if (!again || again->windows.size() != segment->windows.size()) __builtin_trap();
  for (std::size_t w = 0; w < again->windows.size(); ++w)
    if (again->windows[w].units.size() != segment->windows[w].units.size()) __builtin_trap();
  return 0;
}
