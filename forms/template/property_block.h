#pragma once
// Decoding and writing of a unit's property block through its type's table.
#include <functional>
#include <optional>
#include <vector>

#include "forms/values/value.h"
#include "forms/template/model.h"

namespace forms::tpl {

// Every field at its default; version 0 (as an empty block).
PropertyBlock defaultBlock(UnitKind type);

// None when the block is invalid: its version exceeds the type's maximum, or a field runs
// past the block's end. An empty block gives the defaults. Bytes after the last field are
// ignored.
std::optional<PropertyBlock> decodeBlock(UnitKind type, const ByteSet& block);

// Writes the fields present at the block's version (0 = the type's write version). A type
// without fields at version 0 writes the empty block.
ByteSet encodeBlock(const PropertyBlock& block);

// A type property by its number: numbers as int32 (read bias applied), texts as Text,
// byte fields as ByteSet (a fontBlock that is not a 60-byte LOGFONTA reads as empty, the
// default GUI font). None when the type has no such property.
std::optional<Value> blockProperty(const PropertyBlock& block, int number);

// Writes a type property by its number into the block, in the field's kind (the read
// bias taken off a number again). False when the type has no such property.
bool setBlockProperty(PropertyBlock& block, int number, const Value& value);

// The stored block with every type property that current(number) answers written over
// it: the record of a live unit as it stands after the writes of the run. The version is
// raised to the one the type writes, so that no answered field falls outside it. None
// when the stored block is invalid.
std::optional<ByteSet> blockWithCurrentProperties(
    UnitKind type, const ByteSet& stored, const std::function<std::optional<Value>(int)>& current);

// Field access by source name; null when the type has no such field.
const FieldValue* blockField(const PropertyBlock& block, const char* name);
FieldValue* blockField(PropertyBlock& block, const char* name);
// By the position unit_numbers.h names; null past the block's fields.
const FieldValue* blockField(const PropertyBlock& block, FieldIndex at);

// The page table of a PageControl block: u32 3, u32 pageCount, then per page a lenText
// caption and 23 i32. None when it runs past its bytes.
std::optional<std::vector<PageRecord>> decodePageTable(const ByteSet& bytes);
ByteSet encodePageTable(const std::vector<PageRecord>& pages);

}  // namespace forms::tpl
