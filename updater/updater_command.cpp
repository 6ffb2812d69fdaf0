#include "updater/updater_command.h"

namespace updater {

forms::Text updaterCommandLine(const forms::Text& updaterPath, const UpdaterCommand& command) {
  return "\"" + updaterPath + "\" " + kLaunchToken + " " + command.packageUrl + " " +
         command.packageTitle + " run " + command.programToStart + " " + command.packageFileName +
         " " + command.notes;
}

}  // namespace updater
