#include "forms/template/property_block.h"

#include <algorithm>
#include <cstring>

#include <string>

#include "forms/template/byte_cursor.h"
#include "forms/template/type_tables.h"

namespace forms::tpl {
namespace {

constexpr std::size_t kLogFontSize = 60;

bool present(const FieldLayout& f, std::uint32_t version) { return version >= f.minVersion; }

bool readField(ByteCursor& in, const FieldLayout& f, FieldValue& v) {
  switch (f.kind) {
    case FieldKind::U32:
    case FieldKind::I32:
    case FieldKind::Colour: return in.u32(v.number);
    case FieldKind::U16: return in.u16(v.number);
    case FieldKind::Text: return in.lenText(v.text);
    case FieldKind::Bytes:
    case FieldKind::FontBlock: return in.lenBytes(v.bytes);
    case FieldKind::RawFont: return in.raw(kLogFontSize, v.bytes);
  }
  return false;
}

void writeField(ByteWriter& out, const FieldLayout& f, const FieldValue& v) {
  switch (f.kind) {
    case FieldKind::U32:
    case FieldKind::I32:
    case FieldKind::Colour: out.u32(v.number); break;
    case FieldKind::U16: out.u16(v.number); break;
    case FieldKind::Text: out.lenText(v.text); break;
    case FieldKind::Bytes:
    case FieldKind::FontBlock: out.lenBytes(v.bytes); break;
    case FieldKind::RawFont: {
      ByteSet font = v.bytes;
      font.resize(kLogFontSize, 0);
      out.raw(font);
      break;
    }
  }
}

}  // namespace

PropertyBlock defaultBlock(UnitKind type) {
  const TypeLayout& plan = typeLayout(type);
  PropertyBlock block;
  block.type = type;
  block.fields.resize(plan.fieldCount);
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    const FieldLayout& f = plan.fields[i];
    block.fields[i].number = f.defaultNumber;
    if (f.defaultText) block.fields[i].text = f.defaultText;
  }
  return block;
}

std::optional<PropertyBlock> decodeBlock(UnitKind type, const ByteSet& bytes) {
  PropertyBlock block = defaultBlock(type);
  if (bytes.empty()) return block;
  const TypeLayout& plan = typeLayout(type);
  ByteCursor in(bytes.data(), bytes.size());
  if (!in.u32(block.version)) return std::nullopt;
  if (plan.maxVersion != 0 && block.version > plan.maxVersion) return std::nullopt;
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    if (!present(plan.fields[i], block.version)) continue;
    if (!readField(in, plan.fields[i], block.fields[i])) return std::nullopt;
  }
  return block;
}

ByteSet encodeBlock(const PropertyBlock& block) {
  const TypeLayout& plan = typeLayout(block.type);
  std::uint32_t version = block.version ? block.version : plan.writeVersion;
  ByteWriter out;
  if (version == 0 && plan.fieldCount == 0) return {};
  out.u32(version);
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    if (!present(plan.fields[i], version)) continue;
    static const FieldValue kEmpty;
    writeField(out, plan.fields[i], i < block.fields.size() ? block.fields[i] : kEmpty);
  }
  return std::move(out.bytes());
}

std::optional<Value> blockProperty(const PropertyBlock& block, int number) {
  const TypeLayout& plan = typeLayout(block.type);
  for (std::size_t i = 0; i < plan.fieldCount && i < block.fields.size(); ++i) {
    const FieldLayout& f = plan.fields[i];
    if (f.property != number) continue;
    const FieldValue& v = block.fields[i];
    switch (f.kind) {
      case FieldKind::Text: return Value(v.text);
      case FieldKind::Bytes:
      case FieldKind::RawFont: return Value(v.bytes);
      case FieldKind::FontBlock: return Value(v.bytes.size() == kLogFontSize ? v.bytes : ByteSet());
      default:
        return Value(static_cast<std::int32_t>(
            v.number + static_cast<std::uint32_t>(static_cast<std::int32_t>(f.readBias))));
    }
  }
  return std::nullopt;
}

namespace {

// The live units answer in their stored kinds; the other kinds convert plainly, without
// the runtime's text rules (the template compiler links this file alone).
std::int32_t numberOf(const Value& value) {
  if (const std::int32_t* n = std::get_if<std::int32_t>(&value)) return *n;
  if (const bool* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  if (const double* d = std::get_if<double>(&value)) return static_cast<std::int32_t>(*d);
  return 0;
}

Text textOf(const Value& value) {
  if (const Text* t = std::get_if<Text>(&value)) return *t;
  if (std::holds_alternative<std::int32_t>(value))
    return std::to_string(std::get<std::int32_t>(value));
  return {};
}

}  // namespace

bool setBlockProperty(PropertyBlock& block, int number, const Value& value) {
  const TypeLayout& plan = typeLayout(block.type);
  for (std::size_t i = 0; i < plan.fieldCount && i < block.fields.size(); ++i) {
    const FieldLayout& f = plan.fields[i];
    if (f.property != number) continue;
    FieldValue& v = block.fields[i];
    switch (f.kind) {
      case FieldKind::Text: v.text = textOf(value); break;
      case FieldKind::Bytes:
      case FieldKind::FontBlock:
      case FieldKind::RawFont:
        if (const ByteSet* b = std::get_if<ByteSet>(&value))
          v.bytes = *b;
        else if (const Text* t = std::get_if<Text>(&value))
          v.bytes.assign(t->begin(), t->end());
        else
          v.bytes.clear();
        break;
      default:
        v.number = static_cast<std::uint32_t>(numberOf(value)) -
                   static_cast<std::uint32_t>(static_cast<std::int32_t>(f.readBias));
        break;
    }
    return true;
  }
  return false;
}

std::optional<ByteSet> blockWithCurrentProperties(
    UnitKind type, const ByteSet& stored, const std::function<std::optional<Value>(int)>& current) {
  std::optional<PropertyBlock> block = decodeBlock(type, stored);
  if (!block) return std::nullopt;
  block->version = std::max(block->version, typeLayout(type).writeVersion);
  const TypeLayout& plan = typeLayout(type);
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    const int number = plan.fields[i].property;
    if (number < common::kFirstTypeProperty) continue;
    if (std::optional<Value> v = current(number)) setBlockProperty(*block, number, *v);
  }
  return encodeBlock(*block);
}

const FieldValue* blockField(const PropertyBlock& block, const char* name) {
  int i = fieldIndex(typeLayout(block.type), name);
  if (i < 0 || static_cast<std::size_t>(i) >= block.fields.size()) return nullptr;
  return &block.fields[i];
}

FieldValue* blockField(PropertyBlock& block, const char* name) {
  return const_cast<FieldValue*>(blockField(static_cast<const PropertyBlock&>(block), name));
}

const FieldValue* blockField(const PropertyBlock& block, FieldIndex at) {
  const auto i = static_cast<std::size_t>(at);
  return i < block.fields.size() ? &block.fields[i] : nullptr;
}

std::optional<std::vector<PageRecord>> decodePageTable(const ByteSet& bytes) {
  std::vector<PageRecord> pages;
  if (bytes.empty()) return pages;
  ByteCursor in(bytes.data(), bytes.size());
  std::uint32_t marker, count;
  if (!in.u32(marker) || !in.u32(count)) return std::nullopt;
  // Each page takes at least 4 + 23 * 4 bytes: a larger count cannot be real.
  if (count > in.left() / 96) return std::nullopt;
  pages.resize(count);
  for (PageRecord& page : pages) {
    if (!in.lenText(page.caption)) return std::nullopt;
    for (std::int32_t& w : page.words)
      if (!in.i32(w)) return std::nullopt;
  }
  return pages;
}

ByteSet encodePageTable(const std::vector<PageRecord>& pages) {
  ByteWriter out;
  out.u32(3);
  out.u32(static_cast<std::uint32_t>(pages.size()));
  for (const PageRecord& page : pages) {
    out.lenText(page.caption);
    for (std::int32_t w : page.words) out.u32(static_cast<std::uint32_t>(w));
  }
  return std::move(out.bytes());
}

}  // namespace forms::tpl
