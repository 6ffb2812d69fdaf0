#pragma once
// Reading and writing a whole template segment: the window table, then one record per
// window with its unit area.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "forms/template/model.h"

namespace forms::tpl {

// The segment's window and unit records as stored, bindings as handler keys. None when
// the segment cannot be read (a length, an offset or a record running past its
// end or past its enclosing block); the runtime then reports kSegmentUnreadable. Bytes
// after the last window record are ignored, as the loader never looks at them.
std::optional<Segment> readSegmentRecords(const std::uint8_t* data, std::size_t size);
std::optional<Segment> readSegmentRecords(const ByteSet& segment);

// Parses the unit area of one window (unit ids, record offsets, records).
std::optional<std::vector<UnitRecord>> readUnitArea(const ByteSet& area, std::uint32_t unitCount);

// The bytes of one unit record's content (without its length word), and back.
ByteSet writeUnitRecord(const UnitRecord& unit);
std::optional<UnitRecord> readUnitRecord(const std::uint8_t* data, std::size_t size);

// Writes records one after the other in list order, entry 0 first, as the stored
// programs do.
ByteSet writeUnitArea(const std::vector<UnitRecord>& units);
ByteSet writeSegment(const Segment& segment);

}  // namespace forms::tpl
