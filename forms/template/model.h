#pragma once
// The data model of a program's window-template segment, as the reader gives it to the
// runtime and as the template compiler builds it: the window table, window records,
// unit records with their common part and event bindings, and the per-type property
// tables (field order, width, property number, default, minimum version) that both the
// block decoder and the block writer walk, so the two cannot disagree.
//
// Portable: no windows.h. Colours are COLORREF values 0x00BBGGRR; kColourNotSet means the
// consumer's system default.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/template/unit_numbers.h"
#include "forms/values/text.h"
#include "forms/values/value.h"

namespace forms::tpl {

using Id = std::uint32_t;

// ---- Ids: top byte = class (bits 28-31) and kind (bits 24-27), low 24 bits = serial ----
constexpr std::uint8_t kWindowIdByte = 0x52;   // a window: the key it is loaded under
constexpr std::uint8_t kOwnUnitIdByte = 0x06;  // the window's own unit, entry 0
constexpr std::uint8_t kUnitIdByte = 0x16;     // a unit placed on a window
constexpr std::uint8_t kMenuIdByte = 0x26;     // a menu item
constexpr std::uint8_t kDesignIdByte = 0x19;   // only in a window record's designWord2

constexpr std::uint8_t idTopByte(Id id) { return static_cast<std::uint8_t>(id >> 24); }
constexpr std::uint32_t idSerial(Id id) { return id & 0xFFFFFFu; }
constexpr Id makeId(std::uint8_t topByte, std::uint32_t serial) {
  return (static_cast<Id>(topByte) << 24) | (serial & 0xFFFFFFu);
}
// An id whose kind or serial is 0 is no id.
constexpr bool isId(Id id) { return ((id >> 24) & 0x0Fu) != 0 && idSerial(id) != 0; }

constexpr std::uint32_t kNoHandler = 0xFFFFFFFFu;
constexpr std::uint32_t kColourNotSet = 0xFF000000u;
constexpr std::uint32_t kHandCursor = 32649;

// ---- Unit types: UnitKind (unit_numbers.h) ----
constexpr std::uint32_t kMenuItemTypeCode = 0x10003;

// Widths of the stored block fields.
enum class FieldKind : std::uint8_t {
  U32,        // number
  I32,        // signed number
  U16,        // 2-byte number
  Colour,     // u32 COLORREF
  Text,       // lenText
  Bytes,      // lenBytes: pictures, icons, sounds, image lists ("MITL" blocks), page table
  FontBlock,  // lenBytes holding a 60-byte LOGFONTA; any other length = default GUI font
  RawFont,    // 60 bytes of LOGFONTA with no length (PageControl, SuperBar)
};

struct FieldLayout {
  const char* name;  // what the template sources call the field
  FieldKind kind;
  std::int16_t property;    // property number, or -1 for a stored word with no property
  std::uint8_t minVersion;  // present only when the block's version is at least this
  std::uint32_t defaultNumber;
  const char* defaultText;  // default of a Text field (GBK); null = ""
  std::int8_t readBias;     // added to the stored number when the property is read
};

struct TypeLayout {
  UnitKind type;
  const char* name;           // `Label`
  const char* nativeName;     // 标签 (GBK)
  std::uint32_t talveryCode;  // 0 when the program's library list lacks the type
  std::uint32_t updateCode;
  std::uint32_t maxVersion;    // 0 = none enforced
  std::uint32_t writeVersion;  // the version the compiler stores
  const FieldLayout* fields;   // in stored order
  std::size_t fieldCount;
  bool raisesEvents;
};

// ---- Decoded property block ----
struct FieldValue {
  std::uint32_t number = 0;  // U32/I32/U16/Colour (I32 as its bit pattern)
  Text text;                 // Text
  ByteSet bytes;             // Bytes, FontBlock, RawFont
};

struct PropertyBlock {
  UnitKind type = UnitKind::Window;
  std::uint32_t version = 0;       // 0 = the block was empty (all defaults)
  std::vector<FieldValue> fields;  // parallel to the type's FieldLayout table
};

// The page table of a PageControl block (the `pageTable` Bytes field), decoded.
struct PageRecord {
  Text caption;
  std::int32_t words[23] = {};  // words[0..2]: image indexes into the first image list
};

// ---- Records ----
struct EventBinding {
  std::int32_t eventIndex = 0;
  std::uint32_t handlerRef = kNoHandler;  // FNV-1a 32 of the handler's name; kNoHandler = none
};

struct UnitRecord {
  Id id = 0;
  std::uint32_t typeCode = 0;
  std::optional<UnitKind> type;  // none for a code outside the type table
  Id sourceUnitId = 0;           // non-zero only for clones made at run time
  Text name;
  Text remark;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  Id parentId = 0;           // 0 = the window
  std::vector<Id> childIds;  // page controls: page lists each ended by a 0 word
  ByteSet mousePointer;      // common::kMousePointer; empty = default cursor
  Text tag;                  // common::kTag
  std::uint32_t flags = 0;   // kFlagVisible | kFlagDisabled | kFlagTabStop
  std::uint32_t tabOrder = 0;
  std::vector<EventBinding> bindings;  // stored order; the first of an index wins
  ByteSet propertyBlock;               // as stored; may be empty (all defaults)
  // Menu items only: the handler after the third text.
  std::uint32_t menuHandlerRef = kNoHandler;

  bool visible() const { return flags & kFlagVisible; }
  bool disabled() const { return flags & kFlagDisabled; }
  bool tabStop() const { return flags & kFlagTabStop; }
};

struct WindowRecord {
  Id id = 0;                    // 0x52......
  std::uint32_t tableWord = 0;  // second half of the window table, no meaning
  std::uint32_t designWord1 = 0;
  std::uint32_t designWord2 = 0;  // 0x19 << 24 | the program's highest serial (our writer)
  Text name;
  Text remark;
  std::vector<UnitRecord> units;  // unit-list order; entry 0 is the window's own unit

  const UnitRecord* find(Id unit) const;
  UnitRecord* find(Id unit);
  const UnitRecord& ownUnit() const { return units.front(); }
};

struct Segment {
  std::vector<WindowRecord> windows;

  const WindowRecord* find(Id window) const;
  WindowRecord* find(Id window);
  // The highest serial in use: the ids' serials and what designWord2 records.
  std::uint32_t highestSerial() const;
};

// ---- Failure texts (GBK) ----
// The runtime error box: the heading, then "错误代码：N\r\n\r\n" for a numbered error, then
// the message label, the message and "\r\n".
inline constexpr const char* kFatalHeading = "运行时出错!\r\n\r\n";
inline constexpr const char* kFatalCodeLabel = "错误代码：";
inline constexpr const char* kFatalMessageLabel = "错误信息：";
inline constexpr const char* kSegmentUnreadable = "载入窗口模板数据段出错!";
inline constexpr const char* kStartWindowFailed = "载入启动窗口失败";
inline constexpr const char* kEventWindowMissing = "未找到引发事件的窗口";
inline constexpr const char* kEventUnitMissing = "未找到引发事件的窗口组件";
inline constexpr const char* kEventUnitInvalid = "引发事件的窗口组件无效";

}  // namespace forms::tpl
