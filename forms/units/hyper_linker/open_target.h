#pragma once
// Opening a link box's target through the shell.
#include "forms/values/text.h"

namespace forms {

// The shell's "open" with SW_SHOW; when that fails, the open command registered for
// ".htm" files, cut at its placeholder, with one blank and the target appended. True
// when one of them started.
bool openTarget(const Text& target);

// The command line of the fallback: command cut at "\"%1\"" or "%1" (and what follows),
// then " " + target.
Text htmFallbackCommand(const Text& command, const Text& target);

}  // namespace forms
