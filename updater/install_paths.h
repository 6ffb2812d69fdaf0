#pragma once
// The paths of the install step, all built from the updater's own folder R (no trailing
// backslash), which is the "main_update" folder of the installation.
#include <cstdint>

#include "forms/values/text.h"

namespace updater {

// R + "\main_update\" : the download folder, nested in the updater's own folder.
forms::Text downloadFolder(const forms::Text& runDirectory);
// R + "\main_update\temp" + task + ".zip"
forms::Text packagePath(const forms::Text& runDirectory, std::int32_t task);
// R + "\e_update"
forms::Text stagingFolder(const forms::Text& runDirectory);
// R + "\..\" : the installation folder, used as written.
forms::Text installationFolder(const forms::Text& runDirectory);
// The program path R + "\..\" + program in double quotes, so that an installation
// folder with a blank in its path still names the program and not its first piece.
forms::Text relaunchCommandLine(const forms::Text& runDirectory, const forms::Text& program);

}  // namespace updater
