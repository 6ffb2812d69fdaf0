#include "forms/template/segment.h"

#include <gtest/gtest.h>

#include "forms/template/bindings.h"
#include "forms/template/byte_cursor.h"
#include "forms/template/stored_property.h"

namespace forms::tpl {
namespace {

// One window 0x52000005 with its own unit and one Timer, written out byte by byte.
ByteSet handMadeSegment() {
  const std::uint8_t bytes[] = {
      // window table: 8 bytes, one window id and its design word
      0x08, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x52, 0x00, 0x00, 0x00, 0x00,
      // window record: design words, name "W", remark empty, 2 units
      0x11, 0x11, 0x11, 0x11, 0x09, 0x00, 0x00, 0x19, 0x01, 0x00, 0x00, 0x00, 'W', 0x00, 0x00, 0x00,
      0x00, 0x02, 0x00, 0x00, 0x00,
      // unitArea length: 16 + 2 records (4 + 107, 4 + 130)
      0x05, 0x01, 0x00, 0x00, 0x06, 0x00, 0x00, 0x06, 0x07, 0x00, 0x00, 0x16,  // unit ids
      0x00, 0x00, 0x00, 0x00, 0x6F, 0x00, 0x00, 0x00,                          // record offsets
      // record 0: the window's own unit, empty block, binds event 0
      0x6B, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,  // type, source
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                          // reserved
      0x00, 0x00,                                                              // name, remark
      0x00, 0x00, 0x00, 0x00,                                                  // unit object
      0x0A, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x32, 0x00, 0x00,
      0x00,  // rect
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00,                    // cursor, parent, 0 children
      0x00, 0x00, 0x00, 0x00,  // pointer empty
      0x00,                    // tag
      0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00,  // reserved, flags V, tab order
      0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x78, 0x56, 0x34,
      0x12,                                                        // 1 binding: 0 -> 0x12345678
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // reserved
      // record 1: Timer "T1", pointer 32649, tag "g", interval 250
      0x82, 0x00, 0x00, 0x00, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0, 0, 0, 'T', '1', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF,
      0xFF, 0x03, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00,
      0x00,  // -2, 3, 32, 32
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,
      0x00, 0x89, 0x7F, 0x00, 0x00,  // pointer: 32649
      'g', 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
      0x00,  // flags D T, tab order 2
      0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,  // 0 -> none
      0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                          // 0 -> 1 (shadowed)
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x00, 0x00, 0xFA,
      0x00, 0x00, 0x00,  // Timer block v1, interval 250
  };
  return ByteSet(std::begin(bytes), std::end(bytes));
}

TEST(Segment, ReadsAHandMadeSegment) {
  ByteSet bytes = handMadeSegment();
  auto segment = readSegmentRecords(bytes);
  ASSERT_TRUE(segment);
  ASSERT_EQ(segment->windows.size(), 1u);
  const WindowRecord& w = segment->windows[0];
  EXPECT_EQ(w.id, 0x52000005u);
  EXPECT_EQ(w.designWord1, 0x11111111u);
  EXPECT_EQ(w.name, "W");
  ASSERT_EQ(w.units.size(), 2u);
  EXPECT_EQ(w.units[0].id, 0x06000006u);
  EXPECT_EQ(w.units[0].type, UnitKind::Window);
  EXPECT_EQ(w.units[0].width, 100);
  EXPECT_TRUE(w.units[0].propertyBlock.empty());
  const UnitRecord& t = w.units[1];
  EXPECT_EQ(t.type, UnitKind::Timer);
  EXPECT_EQ(t.name, "T1");
  EXPECT_EQ(t.left, -2);
  EXPECT_EQ(t.tag, "g");
  EXPECT_TRUE(t.disabled() && t.tabStop() && !t.visible());
  EXPECT_EQ(t.tabOrder, 2u);
  EXPECT_EQ(std::get<std::int32_t>(*storedProperty(t, 8)), 250);
  EXPECT_EQ(std::get<Text>(*storedProperty(t, common::kTag)), "g");
  EXPECT_EQ(segment->highestSerial(), 9u);  // from designWord2
  // The writer gives back the same bytes.
  EXPECT_EQ(writeSegment(*segment), bytes);
}

TEST(Segment, BindingsOfTheHandMadeSegment) {
  auto segment = readSegmentRecords(handMadeSegment());
  ASSERT_TRUE(segment);
  BindingLookup own = resolveBinding(*segment, 0x52000005, 0, 0);
  EXPECT_EQ(own.status, BindingStatus::Handled);
  EXPECT_EQ(own.handlerRef, 0x12345678u);
  EXPECT_EQ(resolveBinding(*segment, 0x52000005, 0, 1).status, BindingStatus::NotHandled);
  // The first binding of event 0 names no handler, so the later one never counts.
  EXPECT_EQ(resolveBinding(*segment, 0x52000005, 0x16000007, 0).status, BindingStatus::NotHandled);
}

TEST(Segment, CutsAndFlippedLengthsNeverReadOutOfBounds) {
  ByteSet good = handMadeSegment();
  // Every cut short of the whole segment is unreadable.
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    ByteSet shorter(good.begin(), good.begin() + cut);
    EXPECT_FALSE(readSegmentRecords(shorter)) << "cut at " << cut;
  }
  struct Flip {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  } flips[] = {
      {"window table length", 0, 0x7FFFFFF0},     {"window table of two windows", 0, 16},
      {"window name length", 20, 0x40000000},     {"unit count", 29, 0x20000000},
      {"unit count beyond the offsets", 29, 3},   {"unit area length", 33, 0x106},
      {"record offset", 49, 0xFFFFFFF0},          {"record offset at the area end", 49, 0xF3},
      {"record length", 53, 0x7FFFFFFF},          {"child count", 111, 0x40000001},
      {"pointer length", 115, 0x7FFFFFFF},        {"event count", 132, 0x10000000},
      {"event count of 32 GiB", 132, 0xFFFFFFFF},
  };
  for (const Flip& f : flips) {
    ByteSet bad = good;
    ByteWriter w;
    w.u32(f.value);
    std::copy(w.bytes().begin(), w.bytes().end(), bad.begin() + f.at);
    EXPECT_FALSE(readSegmentRecords(bad)) << f.what;
  }
}

TEST(Segment, TruncatedRecordsAreUnreadable) {
  UnitRecord own;
  own.id = makeId(kOwnUnitIdByte, 1);
  own.typeCode = 0x10001;
  own.name = "x";
  ByteSet record = writeUnitRecord(own);
  for (std::size_t cut = 0; cut < record.size(); ++cut)
    EXPECT_FALSE(readUnitRecord(record.data(), cut)) << cut;
  // A cstr must end inside its record.
  ByteSet noZero = {1, 0, 1, 0, 0, 0, 0, 0};
  noZero.insert(noZero.end(), 16, 0);
  noZero.insert(noZero.end(), {'a', 'b'});
  EXPECT_FALSE(readUnitRecord(noZero.data(), noZero.size()));
}

TEST(Segment, TypeCodeZeroIsNoType) {
  // Types that the updater lacks have the code 0 in its column; no record takes them so.
  UnitRecord unit;
  unit.typeCode = 0;
  ByteSet record = writeUnitRecord(unit);
  auto back = readUnitRecord(record.data(), record.size());
  ASSERT_TRUE(back);
  EXPECT_FALSE(back->type);
  unit.typeCode = 0x1000B;
  record = writeUnitRecord(unit);
  back = readUnitRecord(record.data(), record.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->type, UnitKind::Button);
}

TEST(Segment, AWindowWithoutUnitsIsUnreadable) {
  Segment s;
  s.windows.resize(1);
  s.windows[0].id = makeId(kWindowIdByte, 1);
  EXPECT_FALSE(readSegmentRecords(writeSegment(s)));
}

}  // namespace
}  // namespace forms::tpl
