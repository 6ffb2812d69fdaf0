#include "forms/template/type_tables.h"

#include <cstring>
#include <iterator>

namespace forms::tpl {
namespace {

using K = FieldKind;
constexpr std::uint32_t NS = kColourNotSet;

// Each row: source name, width, property (-1 none), minimum version, default number,
// default text, read bias. Rows are in stored order.
#define F(name, kind, prop, ver, def) \
  { name, kind, prop, ver, def, nullptr, 0 }
#define T(name, prop, ver, def) \
  { name, K::Text, prop, ver, 0, def, 0 }

const FieldLayout kWindow[] = {
    F("border", K::U32, window::kBorder, 0, 2),
    F("bgPicMode", K::U32, window::kBgPicMode, 0, 1),
    F("bgColour", K::Colour, window::kBgColour, 0, NS),
    F("maxButton", K::U32, window::kMaxButton, 0, 0),
    F("minButton", K::U32, window::kMinButton, 0, 0),
    F("controlButton", K::U32, window::kControlButton, 0, 1),
    F("startPosition", K::U32, window::kStartPosition, 0, 1),
    F("movable", K::U32, window::kMovable, 0, 1),
    F("musicPlayCount", K::U32, window::kMusicPlayCount, 0, 0),
    F("enterMovesFocus", K::U32, window::kEnterMovesFocus, 0, 0),
    F("escCloses", K::U32, window::kEscCloses, 0, 1),
    F("f1Help", K::U32, window::kF1Help, 0, 0),
    F("helpContext", K::U32, window::kHelpContext, 0, 0),
    F("showInTaskbar", K::U32, window::kShowInTaskbar, 2, 1),
    F("moveAnywhere", K::U32, window::kMoveAnywhere, 3, 0),
    F("shape", K::U32, window::kShape, 3, 0),
    F("alwaysOnTop", K::U32, window::kAlwaysOnTop, 4, 0),
    F("keepTitleActive", K::U32, window::kKeepTitleActive, 5, 0),
    T("className", window::kClassName, 6, nullptr),
    F("bgPicture", K::Bytes, window::kBgPicture, 0, 0),
    F("icon", K::Bytes, window::kIcon, 0, 0),
    F("music", K::Bytes, window::kMusic, 0, 0),
    T("title", window::kTitle, 0, nullptr),
    T("helpFile", window::kHelpFile, 0, nullptr),
};

const FieldLayout kEditBox[] = {
    F("border", K::U32, edit_box::kBorder, 0, 1),
    F("textColour", K::Colour, edit_box::kTextColour, 0, 0),
    F("bgColour", K::Colour, edit_box::kBgColour, 0, 0xFFFFFF),
    F("hideSelection", K::U32, edit_box::kHideSelection, 0, 1),
    F("maxLength", K::U32, edit_box::kMaxLength, 0, 0),
    F("multiline", K::U32, edit_box::kMultiline, 0, 0),
    F("scrollBars", K::U32, edit_box::kScrollBars, 0, 0),
    F("alignment", K::U32, edit_box::kAlignment, 0, 0),
    F("inputMode", K::U32, edit_box::kInputMode, 0, 0),
    F("passwordChar", K::U16, edit_box::kPasswordChar, 0, '*'),
    F("caseConversion", K::U32, edit_box::kCaseConversion, 0, 0),
    F("spinKind", K::U32, edit_box::kSpinKind, 0, 0),
    F("spinLow", K::I32, edit_box::kSpinLow, 0, 0),
    F("spinHigh", K::I32, edit_box::kSpinHigh, 0, 100),
    F("selStart", K::U32, edit_box::kSelStart, 0, 0),
    F("selLength", K::U32, edit_box::kSelLength, 0, 0),
    F("font", K::FontBlock, edit_box::kFont, 0, 0),
    T("content", edit_box::kContent, 0, nullptr),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kPicBox[] = {
    F("border", K::U32, pic_box::kBorder, 0, 0),
    F("bgColour", K::Colour, pic_box::kBgColour, 0, NS),
    F("displayMode", K::U32, pic_box::kDisplayMode, 0, 0),
    F("animate", K::U32, pic_box::kAnimate, 0, 1),
    F("picture", K::Bytes, pic_box::kPicture, 0, 0),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kShapeBox[] = {
    F("bgColour", K::Colour, shape_box::kBgColour, 0, NS),
    F("shape", K::U32, shape_box::kShape, 0, 0),
    F("look3d", K::U32, shape_box::kLook3d, 0, 0),
    F("lineStyle", K::U32, shape_box::kLineStyle, 0, 1),
    F("lineWidth", K::U32, shape_box::kLineWidth, 0, 1),
    F("lineColour", K::Colour, shape_box::kLineColour, 0, 0),
    F("fillColour", K::Colour, shape_box::kFillColour, 0, NS),
};

const FieldLayout kLabel[] = {
    F("effect", K::U32, label::kEffect, 0, 0),
    F("gradBorderWidth", K::U32, label::kGradBorderWidth, 0, 8),
    F("border", K::U32, label::kBorder, 0, 0),
    F("gradBorderColour1", K::Colour, label::kGradBorderColour1, 0, 0x808080),
    F("gradBorderColour2", K::Colour, label::kGradBorderColour2, 0, 0xFFFFFF),
    F("gradBorderColour3", K::Colour, label::kGradBorderColour3, 0, 0x808080),
    F("textColour", K::Colour, label::kTextColour, 0, 0),
    F("bgColour", K::Colour, label::kBgColour, 0, NS),
    F("bgPicMode", K::U32, label::kBgPicMode, 0, 1),
    F("gradBgMode", K::U32, label::kGradBgMode, 0, 0),
    F("gradBgColour1", K::Colour, label::kGradBgColour1, 0, 0x808080),
    F("gradBgColour2", K::Colour, label::kGradBgColour2, 0, 0xFFFFFF),
    F("gradBgColour3", K::Colour, label::kGradBgColour3, 0, 0x808080),
    F("hAlign", K::U32, label::kHAlign, 0, 0),
    F("vAlign", K::U32, label::kVAlign, 0, 1),
    F("wordWrap", K::U32, label::kWordWrap, 0, 0),
    F("font", K::FontBlock, label::kFont, 0, 0),
    F("bgPicture", K::Bytes, label::kBgPicture, 0, 0),
    T("caption", label::kCaption, 0, "标签"),
    T("dataSource", -1, 2, nullptr),
    T("dataColumn", -1, 2, nullptr),
};

const FieldLayout kButton[] = {
    F("defaultButton", K::U32, button::kDefaultButton, 0, 0),
    F("hAlign", K::U32, button::kHAlign, 0, 1),
    F("vAlign", K::U32, button::kVAlign, 0, 1),
    F("picture", K::Bytes, button::kPicture, 0, 0),
    F("font", K::FontBlock, button::kFont, 0, 0),
    T("caption", button::kCaption, 0, "按钮"),
};

const FieldLayout kHyperLinker[] = {
    F("linkKind", K::U32, hyper_linker::kLinkKind, 0, 0),
    F("normalColour", K::Colour, hyper_linker::kNormalColour, 0, 0xFF0000),
    F("visitedColour", K::Colour, hyper_linker::kVisitedColour, 0, 0x000080),
    F("hoverColour", K::Colour, hyper_linker::kHoverColour, 0,
      NS),  // not set: the system highlight colour
    F("bgColour", K::Colour, hyper_linker::kBgColour, 0, NS),
    F("border", K::U32, hyper_linker::kBorder, 0, 0),
    F("font", K::FontBlock, hyper_linker::kFont, 0, 0),
    T("caption", hyper_linker::kCaption, 0, nullptr),
    T("email", hyper_linker::kEmail, 0, nullptr),
    T("url", hyper_linker::kUrl, 0, nullptr),
};

const FieldLayout kTimer[] = {
    F("interval", K::U32, timer::kInterval, 0, 0),
};

const FieldLayout kPicBtn[] = {
    F("kind", K::U32, pic_btn::kKind, 0, 0),
    F("pressed", K::U32, pic_btn::kPressed, 0, 0),
    F("transparentColour", K::Colour, pic_btn::kTransparentColour, 0, NS),
    F("normalPicture", K::Bytes, pic_btn::kNormalPicture, 0, 0),
    F("pressedPicture", K::Bytes, pic_btn::kPressedPicture, 0, 0),
    F("focusedPicture", K::Bytes, pic_btn::kFocusedPicture, 0, 0),
    F("disabledPicture", K::Bytes, pic_btn::kDisabledPicture, 0, 0),
};

const FieldLayout kTransLabel[] = {
    F("effect", K::U32, trans_label::kEffect, 0, 0),
    F("textColour", K::Colour, trans_label::kTextColour, 0, 0),
    F("hAlign", K::U32, trans_label::kHAlign, 0, 0),
    F("vAlign", K::U32, trans_label::kVAlign, 0, 1),
    F("wordWrap", K::U32, trans_label::kWordWrap, 0, 0),
    F("font", K::FontBlock, trans_label::kFont, 0, 0),
    T("caption", trans_label::kCaption, 0, "透明标签"),
};

const FieldLayout kHtmlViewer[] = {
    F("fontSize", K::U32, html_viewer::kFontSize, 0, 2),
    F("offline", K::U32, html_viewer::kOffline, 0, 0),
    F("silent", K::U32, html_viewer::kSilent, 0, 0),
    T("address", html_viewer::kAddress, 0, nullptr),
};

// Only the page table, the raw font and the image lists have a known role; the other
// words are carried so that a written block reads back unchanged.
constexpr FieldLayout kPageControl[] = {
    F("a1", K::U32, -1, 0, 0),           F("a2", K::U32, -1, 0, 0),
    F("a3", K::U32, -1, 0, 0),           F("a4", K::U32, -1, 0, 0),
    F("font", K::RawFont, -1, 0, 0),     F("pages", K::Bytes, -1, 0, 0),
    F("b1", K::U32, -1, 0, 0),           F("b2", K::U32, -1, 0, 0),
    F("b3", K::U32, -1, 0, 0),           F("b4", K::U32, -1, 0, 0),
    F("imageList1", K::Bytes, -1, 0, 0), F("imageList2", K::Bytes, -1, 0, 0),
    F("bytes3", K::Bytes, -1, 0, 0),     F("bytes4", K::Bytes, -1, 0, 0),
    F("c1", K::U32, -1, 0, 0),           F("c2", K::U32, -1, 0, 0),
    F("c3", K::U32, -1, 0, 0),           F("c4", K::U32, -1, 0, 0),
    F("c5", K::U32, -1, 0, 0),           F("c6", K::U32, -1, 0, 0),
    F("c7", K::U32, -1, 0, 0),           F("c8", K::U32, -1, 0, 0),
    F("c9", K::U32, -1, 0, 0),           F("c10", K::U32, -1, 0, 0),
    F("c11", K::U32, -1, 0, 0),          F("c12", K::U32, -1, 0, 0),
    F("c13", K::U32, -1, 0, 0),          F("c14", K::U32, -1, 0, 0),
    F("c15", K::U32, -1, 0, 0),          F("c16", K::U32, -1, 0, 0),
    F("c17", K::U32, -1, 0, 0),          F("d1", K::U32, -1, 2, 0),
    F("d2", K::U32, -1, 2, 0),           F("d3", K::U32, -1, 2, 0),
    F("d4", K::U32, -1, 2, 0),           F("d5", K::U32, -1, 2, 0),
    F("e3", K::U32, -1, 3, 0),           F("e5", K::U32, -1, 5, 0),
    F("e6", K::U32, -1, 6, 0),           F("e7", K::U32, -1, 7, 0),
};

// Words named after their source names (w1 .. w35); those with no property carry none.
#define W(n, prop, def) F("w" #n, K::I32, super_bar::prop, 0, def)
#define U(n) F("w" #n, K::I32, -1, 0, 0)
constexpr FieldLayout kSuperBar[] = {
    F("imageList1", K::Bytes, super_bar::kImageList1, 0, 0),
    F("imageList2", K::Bytes, super_bar::kImageList2, 0, 0),
    F("imageList3", K::Bytes, super_bar::kImageList3, 0, 0),
    F("imageList4", K::Bytes, super_bar::kImageList4, 0, 0),
    W(1, kWord1, 10),
    W(2, kWord2, 1),
    W(3, kMinimum, 0),
    W(4, kMaximum, 100),
    W(5, kPosition, 30),
    W(6, kWord6, 0),
    W(7, kWord7, 0),
    U(8),
    W(9, kWord9, 0),
    W(10, kWord10, 0),
    U(11),
    W(12, kWord12, 0),
    W(13, kWord13, 0),
    U(14),
    W(15, kWord15, 0),
    W(16, kWord16, 0),
    U(17),
    W(18, kWord18, 0),
    U(19),
    U(20),
    U(21),
    U(22),
    U(23),
    W(24, kStyle, 1),
    W(25, kWord25, 0),
    W(26, kWord26, 0),
    // These three read back as the stored value minus 1.
    {"w27", K::I32, super_bar::kWord27, 0, 1, nullptr, -1},
    {"w28", K::I32, super_bar::kWord28, 0, 1, nullptr, -1},
    {"w29", K::I32, super_bar::kWord29, 0, 1, nullptr, -1},
    W(30, kWord30, 0),
    U(31),
    W(32, kWord32, 0),
    W(33, kWord33, 0),
    W(34, kWord34, 0),
    W(35, kWord35, 0),
    F("font", K::RawFont, -1, 0, 0),
    F("x1", K::I32, super_bar::kX1, 0, 0),
    F("x2", K::I32, super_bar::kX2, 0, 0),
};
#undef W
#undef U
#undef F
#undef T

// The positions that unit_numbers.h gives the fields that have no property number.
constexpr bool fieldAt(const FieldLayout* fields, FieldIndex at, const char* name) {
  const char* n = fields[static_cast<int>(at)].name;
  while (*n && *n == *name) ++n, ++name;
  return *n == *name;
}
static_assert(fieldAt(kPageControl, page_control::kFont, "font") &&
              fieldAt(kPageControl, page_control::kPages, "pages") &&
              fieldAt(kPageControl, page_control::kImageList1, "imageList1") &&
              fieldAt(kPageControl, page_control::kImageList2, "imageList2") &&
              fieldAt(kSuperBar, super_bar::kFont, "font"));

#define ROWS(a) a, std::size(a)
const TypeLayout kTypes[] = {
    {UnitKind::Window, "window", "窗口", 0x10001, 0x10001, 6, 6, ROWS(kWindow), true},
    {UnitKind::EditBox, "EditBox", "编辑框", 0x10005, 0x10005, 2, 2, ROWS(kEditBox), true},
    {UnitKind::PicBox, "PicBox", "图片框", 0x10006, 0x10006, 2, 2, ROWS(kPicBox), true},
    {UnitKind::ShapeBox, "ShapeBox", "外形框", 0x10007, 0x10007, 1, 1, ROWS(kShapeBox), true},
    {UnitKind::Label, "Label", "标签", 0x1000A, 0x1000A, 2, 2, ROWS(kLabel), true},
    {UnitKind::Button, "Button", "按钮", 0x1000B, 0, 1, 1, ROWS(kButton), true},
    {UnitKind::HyperLinker, "HyperLinker", "超级链接框", 0x1001D, 0, 1, 1, ROWS(kHyperLinker),
     true},
    {UnitKind::Timer, "Timer", "时钟", 0x10020, 0, 1, 1, ROWS(kTimer), true},
    {UnitKind::PicBtn, "PicBtn", "图形按钮", 0x1002D, 0, 1, 1, ROWS(kPicBtn), true},
    {UnitKind::TransLabel, "TransLabel", "透明标签", 0x20005, 0, 1, 1, ROWS(kTransLabel), true},
    {UnitKind::HtmlViewer, "HtmlViewer", "超文本浏览框", 0x30001, 0, 1, 1, ROWS(kHtmlViewer), true},
    {UnitKind::PageControl, "PageControl", "高级选择夹", 0x90002, 0, 0, 7, ROWS(kPageControl),
     true},
    {UnitKind::SuperBar, "SuperBar", "多功能条", 0, 0x20001, 0, 1, ROWS(kSuperBar), true},
    {UnitKind::StatusBar, "StatusBar", "状态条", 0, 0x30002, 0, 0, nullptr, 0, true},
    {UnitKind::Zip, "ZIP", "ZIP压缩", 0, 0x50001, 0, 0, nullptr, 0, true},
};
#undef ROWS

}  // namespace

const TypeLayout& typeLayout(UnitKind type) { return kTypes[static_cast<std::size_t>(type)]; }

std::optional<UnitKind> typeOfCode(std::uint32_t code) {
  if (code == 0) return std::nullopt;
  for (const TypeLayout& t : kTypes)
    if (t.talveryCode == code || t.updateCode == code) return t.type;
  return std::nullopt;
}

std::optional<UnitKind> typeOfName(const char* name) {
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
