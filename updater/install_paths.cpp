#include "updater/install_paths.h"

#include "forms/values/to_text.h"

namespace updater {

forms::Text downloadFolder(const forms::Text& runDirectory) {
  return runDirectory + "\\main_update\\";
}

forms::Text packagePath(const forms::Text& runDirectory, std::int32_t task) {
  return runDirectory + "\\main_update\\temp" + forms::toText(task) + ".zip";
}

forms::Text stagingFolder(const forms::Text& runDirectory) { return runDirectory + "\\e_update"; }

forms::Text installationFolder(const forms::Text& runDirectory) { return runDirectory + "\\..\\"; }

forms::Text relaunchCommandLine(const forms::Text& runDirectory, const forms::Text& program) {
  return "\"" + installationFolder(runDirectory) + program + "\"";
}

}  // namespace updater
