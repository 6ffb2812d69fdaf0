#pragma once
// The update check's decisions and texts, apart from the runtime calls that feed them.
#include "forms/values/text.h"

namespace navigator {

// The running version as the check compares it; not read from any label or version block.
constexpr double kUpdateCheckVersion = 2.02;

// A version counts as new only when it exceeds the running one by more than the
// tolerance, so "2.0200000" and an unreadable number (0) both mean "up to date".
bool isNewVersion(double announced);

// The descriptor values that the new-version road uses, all read before the box opens:
// the box runs a nested loop in which the popup poll reloads the shared XML document.
struct UpdateOffer {
  forms::Text version;      // "版本号" as written
  forms::Text notes;        // "升级说明" raw, "#HHF" marks kept
  forms::Text downloadUrl;  // "下载地址"
  forms::Text title;        // "文件标题"
  forms::Text fileName;     // "文件名"
};

// The box text: the version as written and the notes with every "#HHF" made a line end.
forms::Text newVersionMessage(const UpdateOffer& offer);

// The updater's command line for this offer, the updater lying in "main_update" below
// the navigator's folder.
forms::Text updaterCommandLine(const forms::Text& runDirectory, const UpdateOffer& offer);

}  // namespace navigator
