#pragma once
// The windows and units of the navigator that its handlers address; the ids are the ones
// stored in the window templates.
#include "forms/win/runtime.h"

namespace navigator {

inline constexpr forms::WindowId kMainWindow = 0x52010001;
inline constexpr forms::WindowId kPopupWindow = 0x52010793;

namespace main_window {
inline constexpr forms::UnitRef kWindow{kMainWindow, 0x06010000};
inline constexpr forms::UnitRef kHotKeyLabel{kMainWindow, 0x16010ECB};  // 标签1
inline constexpr forms::UnitRef kBarLink{kMainWindow, 0x16010EA5};      // 超级链接框107
inline constexpr forms::UnitRef kBarText{kMainWindow, 0x16010379};      // 透明标签5
inline constexpr forms::UnitRef kPollTimer{kMainWindow, 0x160107B2};    // 时钟1
inline constexpr forms::UnitRef kBrowser{kMainWindow, 0x16010EC9};      // 超文本浏览框1
}  // namespace main_window

namespace popup_window {
inline constexpr forms::UnitRef kWindow{kPopupWindow, 0x06010794};
inline constexpr forms::UnitRef kRiseTimer{kPopupWindow, 0x1601079C};  // 时钟1
inline constexpr forms::UnitRef kSinkTimer{kPopupWindow, 0x1601079B};  // 时钟2
}  // namespace popup_window

}  // namespace navigator
