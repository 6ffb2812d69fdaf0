#pragma once
// The numbers that the templates, the runtime and the programs share: the unit types,
// the common properties and events, each type's own property and event numbers and the
// unit flag bits. The names follow the field names of the window sources; these values
// are the stored format and must not change.
//
// Portable: no windows.h.
#include <cstdint>

namespace forms {

// The unit types that the templates name, in the order of the type table. A unit
// variable of the programs carries its type, which copyWindowUnit and
// getUnitWindowHandle check against the unit's own.
enum class UnitKind : std::uint8_t {
  Window,
  EditBox,
  PicBox,
  ShapeBox,
  Label,
  Button,
  HyperLinker,
  Timer,
  PicBtn,
  TransLabel,
  HtmlViewer,
  PageControl,
  SuperBar,
  StatusBar,
  Zip,
};

// The position of a stored field that has no property number in its type's table.
enum class FieldIndex : int {};

// Bits of a unit record's flags word.
constexpr std::uint32_t kFlagVisible = 1u;
constexpr std::uint32_t kFlagDisabled = 2u;
constexpr std::uint32_t kFlagTabStop = 4u;

// Every unit has properties 0 to 7, kept in its record's common part, and the negative
// events, raised for the messages aimed at it before the unit sees them.
namespace common {
enum Property : int {
  kLeft = 0,
  kTop,
  kWidth,
  kHeight,
  kTag,
  kVisible,
  kDisabled,
  kMousePointer,
  kFirstTypeProperty  // each type numbers its own properties from here
};
enum Event : int {
  kLeftDown = -1,
  kLeftUp = -2,
  kLeftDoubleClick = -3,
  kRightDown = -4,
  kRightUp = -5,
  kMouseMove = -6,
  kKeyDown = -9,
  kKeyUp = -10,
  kCharacter = -11,
  kMouseWheel = -12,
};
}  // namespace common

namespace window {
enum Property : int {
  kTitle = 8,
  kBorder = 9,
  kBgColour = 10,
  kBgPicture = 11,
  kBgPicMode = 12,
  kMusic = 13,
  kMusicPlayCount = 14,
  kControlButton = 15,
  kMaxButton = 16,
  kMinButton = 17,
  kStartPosition = 18,
  kMovable = 19,
  kIcon = 20,
  kEnterMovesFocus = 21,
  kEscCloses = 22,
  kF1Help = 23,
  kHelpFile = 24,
  kHelpContext = 25,
  kShowInTaskbar = 26,
  kMoveAnywhere = 27,
  kShape = 28,
  kAlwaysOnTop = 29,
  kKeepTitleActive = 30,
  kClassName = 31,
};
// A new window reports its position and size once, right after the created event.
enum Event : int { kCreated = 0, kMayClose = 1, kPositionChanged = 3, kSizeChanged = 4 };
}  // namespace window

namespace edit_box {
enum Property : int {
  kContent = 8,
  kBorder = 9,
  kTextColour = 10,
  kBgColour = 11,
  kFont = 12,
  kHideSelection = 13,
  kMaxLength = 14,
  kMultiline = 15,
  kScrollBars = 16,
  kAlignment = 17,
  kInputMode = 18,
  kPasswordChar = 19,
  kCaseConversion = 20,
  kSpinKind = 21,
  kSpinLow = 22,
  kSpinHigh = 23,
  kSelStart = 24,
  kSelLength = 25,
};
}  // namespace edit_box

namespace pic_box {
enum Property : int { kBorder = 8, kBgColour = 9, kPicture = 10, kDisplayMode = 11, kAnimate = 12 };
}  // namespace pic_box

namespace shape_box {
enum Property : int {
  kBgColour = 8,
  kShape = 9,
  kLook3d = 10,
  kLineStyle = 11,
  kLineWidth = 12,
  kLineColour = 13,
  kFillColour = 14,
};
}  // namespace shape_box

namespace label {
enum Property : int {
  kCaption = 8,
  kEffect = 9,
  kBorder = 10,
  kGradBorderWidth = 11,
  kGradBorderColour1 = 12,
  kGradBorderColour2 = 13,
  kGradBorderColour3 = 14,
  kFont = 15,
  kTextColour = 16,
  kBgColour = 17,
  kBgPicture = 18,
  kBgPicMode = 19,
  kGradBgMode = 20,
  kGradBgColour1 = 21,
  kGradBgColour2 = 22,
  kGradBgColour3 = 23,
  kHAlign = 24,
  kWordWrap = 25,
  kVAlign = 26,
};
// Raised by the feedback message with its two parameters; the handler's value answers it.
enum Event : int { kFeedback = 0 };
}  // namespace label

namespace button {
enum Property : int {
  kPicture = 8,
  kDefaultButton = 9,
  kCaption = 10,
  kHAlign = 11,
  kVAlign = 12,
  kFont = 13
};
enum Event : int { kClicked = 0 };
}  // namespace button

namespace hyper_linker {
enum Property : int {
  kCaption = 8,
  kLinkKind = 9,
  kEmail = 10,
  kUrl = 11,
  kNormalColour = 12,
  kVisitedColour = 13,
  kHoverColour = 14,
  kBgColour = 15,
  kBorder = 16,
  kFont = 17,
};
}  // namespace hyper_linker

namespace timer {
enum Property : int { kInterval = 8 };
enum Event : int { kTick = 0 };
}  // namespace timer

namespace pic_btn {
enum Property : int {
  kKind = 8,
  kPressed = 9,
  kNormalPicture = 10,
  kPressedPicture = 11,
  kFocusedPicture = 12,
  kDisabledPicture = 13,
  kTransparentColour = 14,
};
enum Event : int { kClicked = 0 };
}  // namespace pic_btn

namespace trans_label {
enum Property : int {
  kCaption = 8,
  kEffect = 9,
  kFont = 10,
  kTextColour = 11,
  kHAlign = 12,
  kWordWrap = 13,
  kVAlign = 14
};
}  // namespace trans_label

namespace html_viewer {
enum Property : int {
  kFontSize = 8,
  kOffline = 9,
  kSilent = 10,
  kAddress = 11,
  kStatusText = 12,
  kCaption = 13,  // not stored: read-only, at run time
};
// A returned false cancels the new window.
enum Event : int { kNewWindow = 9 };
}  // namespace html_viewer

// A page control has no type properties: its stored fields are reached by position.
namespace page_control {
inline constexpr FieldIndex kFont{4};
inline constexpr FieldIndex kPages{5};
inline constexpr FieldIndex kImageList1{10};
inline constexpr FieldIndex kImageList2{11};
}  // namespace page_control

// The words of a SuperBar block are named after their source names (w1 .. w35, x1, x2)
// where no role is known.
namespace super_bar {
enum Property : int {
  kStyle = 8,
  kWord25 = 9,
  kWord26 = 10,
  kWord1 = 13,
  kWord2 = 14,
  kMinimum = 15,
  kMaximum = 16,
  kPosition = 17,
  kWord32 = 18,
  kWord34 = 19,
  kWord33 = 21,
  kWord30 = 22,
  kX1 = 23,
  kWord6 = 34,
  kImageList3 = 35,
  kImageList1 = 40,
  kWord27 = 41,
  kWord10 = 42,
  kWord12 = 44,
  kX2 = 45,
  kWord9 = 49,
  kImageList2 = 50,
  kWord28 = 51,
  kWord13 = 52,
  kWord15 = 54,
  kWord7 = 59,
  kImageList4 = 60,
  kWord29 = 61,
  kWord16 = 62,
  kWord18 = 64,
  kWord35 = 65,
};
inline constexpr FieldIndex kFont{39};
// Raised when a write changed the stored position.
enum Event : int { kPositionChanged = 0 };
}  // namespace super_bar

namespace zip {
// The unit's only event: the progress of an extraction; a returned false stops it.
enum Event : int { kProgress = 1 };
}  // namespace zip

}  // namespace forms
