#pragma once
// The window and units of UpdaterWindow that the routines address by id.
#include "forms/win/runtime.h"

namespace updater {

constexpr forms::WindowId kUpdaterWindow = 0x52010001;

constexpr forms::UnitRef unitOf(forms::UnitId unit) { return forms::UnitRef{kUpdaterWindow, unit}; }

constexpr forms::UnitRef kZipUnit = unitOf(0x1601018A);      // ZIP压缩1
constexpr forms::UnitRef kInstallLabel = unitOf(0x16010186); // 标签10
constexpr forms::UnitRef kStatusTemplate = unitOf(0x160100C2);    // 标签9
constexpr forms::UnitRef kSeparatorTemplate = unitOf(0x160100B9); // 外形框1
constexpr forms::UnitRef kSpeedTemplate = unitOf(0x1601001B);     // 标签8
constexpr forms::UnitRef kSizeTemplate = unitOf(0x1601001A);      // 标签7
constexpr forms::UnitRef kNameTemplate = unitOf(0x16010019);      // 标签6
constexpr forms::UnitRef kProgressTemplate = unitOf(0x16010011);  // 多功能条1
constexpr forms::UnitRef kLogBox = unitOf(0x16010006);            // 编辑框1

}  // namespace updater
