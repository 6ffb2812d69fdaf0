#include "forms/template/type_tables.h"

#include <cstring>
#include <iterator>

namespace forms::tpl {
namespace {

using K = FieldKind;
constexpr std::uint32_t NS = kColourNotSet;

// Each row: source name, width, property (-1 none), minimum version, default number,
// default text, read bias. Rows are in stored order.
#define F(name, kind, prop, ver, def) {name, kind, prop, ver, def, nullptr, 0}
#define T(name, prop, ver, def) {name, K::Text, prop, ver, 0, def, 0}

const FieldLayout kWindow[] = {
    F("border", K::U32, 9, 0, 2),
    F("bgPicMode", K::U32, 12, 0, 1),
    F("bgColour", K::Colour, 10, 0, NS),
    F("maxButton", K::U32, 16, 0, 0),
    F("minButton", K::U32, 17, 0, 0),
    F("controlButton", K::U32, 15, 0, 1),
    F("startPosition", K::U32, 18, 0, 1),
    F("movable", K::U32, 19, 0, 1),
    F("musicPlayCount", K::U32, 14, 0, 0),
    F("enterMovesFocus", K::U32, 21, 0, 0),
    F("escCloses", K::U32, 22, 0, 1),
    F("f1Help", K::U32, 23, 0, 0),
    F("helpContext", K::U32, 25, 0, 0),
    F("showInTaskbar", K::U32, 26, 2, 1),
    F("moveAnywhere", K::U32, 27, 3, 0),
    F("shape", K::U32, 28, 3, 0),
    F("alwaysOnTop", K::U32, 29, 4, 0),
    F("keepTitleActive", K::U32, 30, 5, 0),
    T("className", 31, 6, nullptr),
    F("bgPicture", K::Bytes, 11, 0, 0),
    F("icon", K::Bytes, 20, 0, 0),
    F("music", K::Bytes, 13, 0, 0),
    T("title", 8, 0, nullptr),
    T("helpFile", 24, 0, nullptr),
};

const FieldLayout kEditBox[] = {
    F("border", K::U32, 9, 0, 1),
    F("textColour", K::Colour, 10, 0, 0),
    F("bgColour", K::Colour, 11, 0, 0xFFFFFF),
    F("hideSelection", K::U32, 13, 0, 1),
    F("maxLength", K::U32, 14, 0, 0),
    F("multiline", K::U32, 15, 0, 0),
    F("scrollBars", K::U32, 16, 0, 0),
    F("alignment", K::U32, 17, 0, 0),
    F("inputMode", K::U32, 18, 0, 0),
    F("passwordChar", K::U16, 19, 0, '*'),
    F("caseConversion", K::U32, 20, 0, 0),
    F("spinKind", K::U32, 21, 0, 0),
    F("spinLow", K::I32, 22, 0, 0),
    F("spinHigh", K::I32, 23, 0, 100),
    F("selStart", K::U32, 24, 0, 0),
    F("selLength", K::U32, 25, 0, 0),
    F("font", K::FontBlock, 12, 0, 0),
    T("content", 8, 0, nullptr),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kPicBox[] = {
    F("border", K::U32, 8, 0, 0),
    F("bgColour", K::Colour, 9, 0, NS),
    F("displayMode", K::U32, 11, 0, 0),
    F("animate", K::U32, 12, 0, 1),
    F("picture", K::Bytes, 10, 0, 0),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kShapeBox[] = {
    F("bgColour", K::Colour, 8, 0, NS),
    F("shape", K::U32, 9, 0, 0),
    F("look3d", K::U32, 10, 0, 0),
    F("lineStyle", K::U32, 11, 0, 1),
    F("lineWidth", K::U32, 12, 0, 1),
    F("lineColour", K::Colour, 13, 0, 0),
    F("fillColour", K::Colour, 14, 0, NS),
};

const FieldLayout kLabel[] = {
    F("effect", K::U32, 9, 0, 0),
    F("gradBorderWidth", K::U32, 11, 0, 8),
    F("border", K::U32, 10, 0, 0),
    F("gradBorderColour1", K::Colour, 12, 0, 0x808080),
    F("gradBorderColour2", K::Colour, 13, 0, 0xFFFFFF),
    F("gradBorderColour3", K::Colour, 14, 0, 0x808080),
    F("textColour", K::Colour, 16, 0, 0),
    F("bgColour", K::Colour, 17, 0, NS),
    F("bgPicMode", K::U32, 19, 0, 1),
    F("gradBgMode", K::U32, 20, 0, 0),
    F("gradBgColour1", K::Colour, 21, 0, 0x808080),
    F("gradBgColour2", K::Colour, 22, 0, 0xFFFFFF),
    F("gradBgColour3", K::Colour, 23, 0, 0x808080),
    F("hAlign", K::U32, 24, 0, 0),
    F("vAlign", K::U32, 26, 0, 1),
    F("wordWrap", K::U32, 25, 0, 0),
    F("font", K::FontBlock, 15, 0, 0),
    F("bgPicture", K::Bytes, 18, 0, 0),
    T("caption", 8, 0, "标签"),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kButton[] = {
    F("defaultButton", K::U32, 9, 0, 0),
    F("hAlign", K::U32, 11, 0, 1),
    F("vAlign", K::U32, 12, 0, 1),
    F("picture", K::Bytes, 8, 0, 0),
    F("font", K::FontBlock, 13, 0, 0),
    T("caption", 10, 0, "按钮"),
};

const FieldLayout kHyperLinker[] = {
    F("linkKind", K::U32, 9, 0, 0),
    F("normalColour", K::Colour, 12, 0, 0xFF0000),
    F("visitedColour", K::Colour, 13, 0, 0x000080),
    F("hoverColour", K::Colour, 14, 0, NS),  // not set: the system highlight colour
    F("bgColour", K::Colour, 15, 0, NS),
    F("border", K::U32, 16, 0, 0),
    F("font", K::FontBlock, 17, 0, 0),
    T("caption", 8, 0, nullptr),
    T("email", 10, 0, nullptr),
    T("url", 11, 0, nullptr),
};

const FieldLayout kTimer[] = {
    F("interval", K::U32, 8, 0, 0),
};

const FieldLayout kPicBtn[] = {
    F("kind", K::U32, 8, 0, 0),
    F("pressed", K::U32, 9, 0, 0),
    F("transparentColour", K::Colour, 14, 0, NS),
    F("normalPicture", K::Bytes, 10, 0, 0),
    F("pressedPicture", K::Bytes, 11, 0, 0),
    F("focusedPicture", K::Bytes, 12, 0, 0),
    F("disabledPicture", K::Bytes, 13, 0, 0),
};

const FieldLayout kTransLabel[] = {
    F("effect", K::U32, 9, 0, 0),
    F("textColour", K::Colour, 11, 0, 0),
    F("hAlign", K::U32, 12, 0, 0),
    F("vAlign", K::U32, 14, 0, 1),
    F("wordWrap", K::U32, 13, 0, 0),
    F("font", K::FontBlock, 10, 0, 0),
    T("caption", 8, 0, "透明标签"),
};

const FieldLayout kHtmlViewer[] = {
    F("fontSize", K::U32, 8, 0, 2),
    F("offline", K::U32, 9, 0, 0),
    F("silent", K::U32, 10, 0, 0),
    T("address", 11, 0, nullptr),
};

// Only the page table, the raw font and the image lists have a known role; the other
// words are carried so that a written block reads back unchanged.
const FieldLayout kPageControl[] = {
    F("a1", K::U32, -1, 0, 0), F("a2", K::U32, -1, 0, 0), F("a3", K::U32, -1, 0, 0),
    F("a4", K::U32, -1, 0, 0),
    F("font", K::RawFont, -1, 0, 0),
    F("pages", K::Bytes, -1, 0, 0),
    F("b1", K::U32, -1, 0, 0), F("b2", K::U32, -1, 0, 0), F("b3", K::U32, -1, 0, 0),
    F("b4", K::U32, -1, 0, 0),
    F("imageList1", K::Bytes, -1, 0, 0),
    F("imageList2", K::Bytes, -1, 0, 0),
    F("bytes3", K::Bytes, -1, 0, 0),
    F("bytes4", K::Bytes, -1, 0, 0),
    F("c1", K::U32, -1, 0, 0), F("c2", K::U32, -1, 0, 0), F("c3", K::U32, -1, 0, 0),
    F("c4", K::U32, -1, 0, 0), F("c5", K::U32, -1, 0, 0), F("c6", K::U32, -1, 0, 0),
    F("c7", K::U32, -1, 0, 0), F("c8", K::U32, -1, 0, 0), F("c9", K::U32, -1, 0, 0),
    F("c10", K::U32, -1, 0, 0), F("c11", K::U32, -1, 0, 0), F("c12", K::U32, -1, 0, 0),
    F("c13", K::U32, -1, 0, 0), F("c14", K::U32, -1, 0, 0), F("c15", K::U32, -1, 0, 0),
    F("c16", K::U32, -1, 0, 0), F("c17", K::U32, -1, 0, 0),
    F("d1", K::U32, -1, 2, 0), F("d2", K::U32, -1, 2, 0), F("d3", K::U32, -1, 2, 0),
    F("d4", K::U32, -1, 2, 0), F("d5", K::U32, -1, 2, 0),
    F("e3", K::U32, -1, 3, 0),
    F("e5", K::U32, -1, 5, 0),
    F("e6", K::U32, -1, 6, 0),
    F("e7", K::U32, -1, 7, 0),
};

#define W(n, prop, def) F("w" #n, K::I32, prop, 0, def)
const FieldLayout kSuperBar[] = {
    F("imageList1", K::Bytes, 40, 0, 0),
    F("imageList2", K::Bytes, 50, 0, 0),
    F("imageList3", K::Bytes, 35, 0, 0),
    F("imageList4", K::Bytes, 60, 0, 0),
    W(1, 13, 10), W(2, 14, 1), W(3, 15, 0), W(4, 16, 100), W(5, 17, 30), W(6, 34, 0),
    W(7, 59, 0), W(8, -1, 0), W(9, 49, 0), W(10, 42, 0), W(11, -1, 0), W(12, 44, 0),
    W(13, 52, 0), W(14, -1, 0), W(15, 54, 0), W(16, 62, 0), W(17, -1, 0), W(18, 64, 0),
    W(19, -1, 0), W(20, -1, 0), W(21, -1, 0), W(22, -1, 0), W(23, -1, 0), W(24, 8, 1),
    W(25, 9, 0), W(26, 10, 0),
    // Properties 41, 51 and 61 read back as the stored value minus 1.
    {"w27", K::I32, 41, 0, 1, nullptr, -1},
    {"w28", K::I32, 51, 0, 1, nullptr, -1},
    {"w29", K::I32, 61, 0, 1, nullptr, -1},
    W(30, 22, 0), W(31, -1, 0), W(32, 18, 0), W(33, 21, 0), W(34, 19, 0), W(35, 65, 0),
    F("font", K::RawFont, -1, 0, 0),
    F("x1", K::I32, 23, 0, 0),
    F("x2", K::I32, 45, 0, 0),
};
#undef W
#undef F
#undef T

#define ROWS(a) a, std::size(a)
const TypeLayout kTypes[] = {
    {UnitType::Window, "window", "窗口", 0x10001, 0x10001, 6, 6, ROWS(kWindow), true},
    {UnitType::EditBox, "EditBox", "编辑框", 0x10005, 0x10005, 2, 2, ROWS(kEditBox), true},
    {UnitType::PicBox, "PicBox", "图片框", 0x10006, 0x10006, 2, 2, ROWS(kPicBox), true},
    {UnitType::ShapeBox, "ShapeBox", "外形框", 0x10007, 0x10007, 1, 1, ROWS(kShapeBox), true},
    {UnitType::Label, "Label", "标签", 0x1000A, 0x1000A, 2, 2, ROWS(kLabel), true},
    {UnitType::Button, "Button", "按钮", 0x1000B, 0, 1, 1, ROWS(kButton), true},
    {UnitType::HyperLinker, "HyperLinker", "超级链接框", 0x1001D, 0, 1, 1, ROWS(kHyperLinker), true},
    {UnitType::Timer, "Timer", "时钟", 0x10020, 0, 1, 1, ROWS(kTimer), true},
    {UnitType::PicBtn, "PicBtn", "图形按钮", 0x1002D, 0, 1, 1, ROWS(kPicBtn), true},
    {UnitType::TransLabel, "TransLabel", "透明标签", 0x20005, 0, 1, 1, ROWS(kTransLabel), true},
    {UnitType::HtmlViewer, "HtmlViewer", "超文本浏览框", 0x30001, 0, 1, 1, ROWS(kHtmlViewer), true},
    {UnitType::PageControl, "PageControl", "高级选择夹", 0x90002, 0, 0, 7, ROWS(kPageControl), true},
    {UnitType::SuperBar, "SuperBar", "多功能条", 0, 0x20001, 0, 1, ROWS(kSuperBar), true},
    {UnitType::StatusBar, "StatusBar", "状态条", 0, 0x30002, 0, 0, nullptr, 0, true},
    {UnitType::Zip, "ZIP", "ZIP压缩", 0, 0x50001, 0, 0, nullptr, 0, true},
};
#undef ROWS

}  // namespace

const TypeLayout& typeLayout(UnitType type) { return kTypes[static_cast<std::size_t>(type)]; }

std::optional<UnitType> typeOfCode(std::uint32_t code) {
  if (code == 0) return std::nullopt;
  for (const TypeLayout& t : kTypes)
    if (t.talveryCode == code || t.updateCode == code) return t.type;
  return std::nullopt;
}

std::optional<UnitType> typeOfName(const char* name) {
  for (const TypeLayout& t : kTypes)
    if (std::strcmp(t.name, name) == 0) return t.type;
  return std::nullopt;
}

int fieldIndex(const TypeLayout& plan, const char* name) {
  for (std::size_t i = 0; i < plan.fieldCount; ++i)
    if (std::strcmp(plan.fields[i].name, name) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace forms::tpl
