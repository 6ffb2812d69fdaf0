#include "forms/template/segment.h"

#include <algorithm>

#include "forms/template/byte_cursor.h"
#include "forms/template/type_tables.h"

namespace forms::tpl {

const UnitRecord* WindowRecord::find(Id unit) const {
  for (const UnitRecord& u : units)
    if (u.id == unit) return &u;
  return nullptr;
}

UnitRecord* WindowRecord::find(Id unit) {
  return const_cast<UnitRecord*>(static_cast<const WindowRecord*>(this)->find(unit));
}

const WindowRecord* Segment::find(Id window) const {
  for (const WindowRecord& w : windows)
    if (w.id == window) return &w;
  return nullptr;
}

WindowRecord* Segment::find(Id window) {
  return const_cast<WindowRecord*>(static_cast<const Segment*>(this)->find(window));
}

std::uint32_t Segment::highestSerial() const {
  std::uint32_t high = 0;
  for (const WindowRecord& w : windows) {
    high = std::max({high, idSerial(w.id), idSerial(w.designWord2)});
    for (const UnitRecord& u : w.units) high = std::max(high, idSerial(u.id));
  }
  return high;
}

std::optional<UnitRecord> readUnitRecord(const std::uint8_t* data, std::size_t size) {
  ByteCursor in(data, size);
  UnitRecord u;
  if (!in.u32(u.typeCode) || !in.u32(u.sourceUnitId) || !in.skip(16) || !in.cstr(u.name) ||
      !in.cstr(u.remark))
    return std::nullopt;
  u.type = typeOfCode(u.typeCode);
  if (u.typeCode == kMenuItemTypeCode) {
    // The fields between the remark and the handler have no role here; the third text is
    // kept as the tag and whatever follows the handler as the block.
    if (!in.skip(12) || !in.cstr(u.tag) || !in.u32(u.menuHandlerRef)) return std::nullopt;
    in.raw(in.left(), u.propertyBlock);
    return u;
  }
  std::uint32_t unitObject, cursor, childCount, reserved, eventCount;
  if (!in.u32(unitObject) || !in.i32(u.left) || !in.i32(u.top) || !in.i32(u.width) ||
      !in.i32(u.height) || !in.u32(cursor) || !in.u32(u.parentId) || !in.u32(childCount))
    return std::nullopt;
  if (childCount > in.left() / 4) return std::nullopt;
  u.childIds.resize(childCount);
  for (Id& child : u.childIds) in.u32(child);
  if (!in.lenBytes(u.mousePointer) || !in.cstr(u.tag) || !in.u32(reserved) || !in.u32(u.flags) ||
      !in.u32(u.tabOrder) || !in.u32(eventCount))
    return std::nullopt;
  if (eventCount > in.left() / 8) return std::nullopt;
  u.bindings.resize(eventCount);
  for (EventBinding& b : u.bindings) {
    in.i32(b.eventIndex);
    in.u32(b.handlerRef);
  }
  if (!in.skip(20)) return std::nullopt;
  in.raw(in.left(), u.propertyBlock);
  return u;
}

ByteSet writeUnitRecord(const UnitRecord& u) {
  ByteWriter out;
  out.u32(u.typeCode);
  out.u32(u.sourceUnitId);
  out.zeros(16);
  out.cstr(u.name);
  out.cstr(u.remark);
  if (u.typeCode == kMenuItemTypeCode) {
    out.zeros(12);
    out.cstr(u.tag);
    out.u32(u.menuHandlerRef);
    out.raw(u.propertyBlock);
    return std::move(out.bytes());
  }
  out.u32(0);  // unit object: a run-time slot
  out.u32(static_cast<std::uint32_t>(u.left));
  out.u32(static_cast<std::uint32_t>(u.top));
  out.u32(static_cast<std::uint32_t>(u.width));
  out.u32(static_cast<std::uint32_t>(u.height));
  out.u32(0);  // cursor handle: a run-time slot
  out.u32(u.parentId);
  out.u32(static_cast<std::uint32_t>(u.childIds.size()));
  for (Id child : u.childIds) out.u32(child);
  out.lenBytes(u.mousePointer);
  out.cstr(u.tag);
  out.u32(0);
  out.u32(u.flags);
  out.u32(u.tabOrder);
  out.u32(static_cast<std::uint32_t>(u.bindings.size()));
  for (const EventBinding& b : u.bindings) {
    out.u32(static_cast<std::uint32_t>(b.eventIndex));
    out.u32(b.handlerRef);
  }
  out.zeros(20);
  out.raw(u.propertyBlock);
  return std::move(out.bytes());
}

std::optional<std::vector<UnitRecord>> readUnitArea(const ByteSet& area, std::uint32_t unitCount) {
  ByteCursor in(area.data(), area.size());
  if (unitCount > in.left() / 8) return std::nullopt;
  std::vector<UnitRecord> units(unitCount);
  std::vector<std::uint32_t> offsets(unitCount);
  for (UnitRecord& u : units) in.u32(u.id);
  for (std::uint32_t& o : offsets) in.u32(o);
  const std::size_t base = in.position();
  const std::size_t records = area.size() - base;
  for (std::uint32_t i = 0; i < unitCount; ++i) {
    // Records are found only through their offsets, which are trusted no further than
    // the area's end.
    if (offsets[i] > records || records - offsets[i] < 4) return std::nullopt;
    ByteCursor at(area.data() + base + offsets[i], records - offsets[i]);
    std::uint32_t length;
    at.u32(length);
    if (length > at.left()) return std::nullopt;
    Id id = units[i].id;
    auto record = readUnitRecord(area.data() + base + offsets[i] + 4, length);
    if (!record) return std::nullopt;
    units[i] = std::move(*record);
    units[i].id = id;
  }
  return units;
}

ByteSet writeUnitArea(const std::vector<UnitRecord>& units) {
  std::vector<ByteSet> records;
  for (const UnitRecord& u : units) records.push_back(writeUnitRecord(u));
  ByteWriter out;
  for (const UnitRecord& u : units) out.u32(u.id);
  std::uint32_t offset = 0;
  for (const ByteSet& r : records) {
    out.u32(offset);
    offset += 4 + static_cast<std::uint32_t>(r.size());
  }
  for (const ByteSet& r : records) out.lenBytes(r);
  return std::move(out.bytes());
}

std::optional<Segment> readSegmentRecords(const std::uint8_t* data, std::size_t size) {
  ByteCursor in(data, size);
  ByteSet table;
  if (!in.lenBytes(table)) return std::nullopt;
  const std::size_t count = table.size() / 8;
  ByteCursor words(table.data(), table.size());
  Segment segment;
  segment.windows.resize(count);
  for (WindowRecord& w : segment.windows) words.u32(w.id);
  for (WindowRecord& w : segment.windows) words.u32(w.tableWord);
  for (WindowRecord& w : segment.windows) {
    std::uint32_t unitCount;
    ByteSet area;
    if (!in.u32(w.designWord1) || !in.u32(w.designWord2) || !in.lenText(w.name) ||
        !in.lenText(w.remark) || !in.u32(unitCount) || !in.lenBytes(area))
      return std::nullopt;
    auto units = readUnitArea(area, unitCount);
    // A window needs its own unit: entry 0.
    if (!units || units->empty()) return std::nullopt;
    w.units = std::move(*units);
  }
  return segment;
}

std::optional<Segment> readSegmentRecords(const ByteSet& segment) {
  return readSegmentRecords(segment.data(), segment.size());
}

ByteSet writeSegment(const Segment& segment) {
  ByteWriter out;
  out.u32(static_cast<std::uint32_t>(segment.windows.size() * 8));
  for (const WindowRecord& w : segment.windows) out.u32(w.id);
  for (const WindowRecord& w : segment.windows) out.u32(w.tableWord);
  for (const WindowRecord& w : segment.windows) {
    out.u32(w.designWord1);
    out.u32(w.designWord2);
    out.lenText(w.name);
    out.lenText(w.remark);
    out.u32(static_cast<std::uint32_t>(w.units.size()));
    out.lenBytes(writeUnitArea(w.units));
  }
  return std::move(out.bytes());
}

}  // namespace forms::tpl
