#include "test_support/test_segment.h"

#include "forms/template/bindings.h"
#include "forms/template/property_block.h"
#include "forms/template/segment.h"
#include "forms/template/type_tables.h"

#include <stdexcept>

namespace test_support {

tpl::UnitRecord unitRecord(UnitKind type, tpl::Id id, int left, int top, int width, int height,
                           std::uint32_t flags) {
  tpl::UnitRecord u;
  u.id = id;
  const tpl::TypeLayout& plan = tpl::typeLayout(type);
  u.typeCode = plan.talveryCode ? plan.talveryCode : plan.updateCode;
  u.type = type;
  u.left = left;
  u.top = top;
  u.width = width;
  u.height = height;
  u.flags = flags;
  return u;
}

void bind(tpl::UnitRecord& unit, int event, const char* handler) {
  unit.bindings.push_back(tpl::EventBinding{event, tpl::handlerRefOf(handler)});
}

namespace {

template <typename F>
void edit(tpl::UnitRecord& unit, const char* field, F change) {
  std::optional<tpl::PropertyBlock> block = tpl::decodeBlock(*unit.type, unit.propertyBlock);
  if (block->version == 0) block->version = tpl::typeLayout(*unit.type).writeVersion;
  tpl::FieldValue* f = tpl::blockField(*block, field);
  if (!f) throw std::invalid_argument(field);  // a misspelt field name in a test
  change(*f);
  unit.propertyBlock = tpl::encodeBlock(*block);
}

}  // namespace

void setNumber(tpl::UnitRecord& unit, const char* field, std::uint32_t value) {
  edit(unit, field, [&](tpl::FieldValue& f) { f.number = value; });
}
void setText(tpl::UnitRecord& unit, const char* field, const Text& value) {
  edit(unit, field, [&](tpl::FieldValue& f) { f.text = value; });
}
void setBytes(tpl::UnitRecord& unit, const char* field, const ByteSet& value) {
  edit(unit, field, [&](tpl::FieldValue& f) { f.bytes = value; });
}

tpl::WindowRecord windowRecord(tpl::Id window, tpl::UnitRecord own,
                               std::vector<tpl::UnitRecord> units) {
  tpl::WindowRecord w;
  w.id = window;
  w.designWord2 = 0x19000000u;
  w.units.push_back(std::move(own));
  for (auto& u : units) w.units.push_back(std::move(u));
  return w;
}

ByteSet segmentOf(const std::vector<tpl::WindowRecord>& windows) {
  tpl::Segment s;
  s.windows = windows;
  return tpl::writeSegment(s);
}

}  // namespace test_support
