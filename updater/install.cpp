// The install step: unpack the package into the staging folder, copy that tree over the
// installation, clean up, start the navigator again and end.
#include "forms/values/text_cut.h"
#include "forms/files/file_search.h"
#include "forms/files/folder_ops.h"
#include "forms/runtime/runtime.h"
#include "forms/system/system_ops.h"
#include "forms/units/button_edit/standard_units.h"
#include "forms/units/zip/zip_unit.h"
#include "updater/globals.h"
#include "updater/updater_command.h"
#include "updater/install_paths.h"
#include "updater/transfer_texts.h"
#include "generated/updater_units.h"
#include "generated/updater_handlers.h"

namespace updater {
namespace {

constexpr std::int32_t kFolderAttribute = 0x10;

void endWithBackslash(forms::Text& path) {
  if (forms::rightText(path, 1) != "\\") path += "\\";
}

// An unpack that failed installs nothing: the staging tree may hold only part of the
// package, and copying it would leave the installation half old, half new.
void reportUnpackFailure(std::int32_t k) {
  Globals& g = globals();
  if (k >= 1 && k <= g.taskRows.count())
    forms::setUnitProperty(g.taskRows[k].statusLabel, forms::label::kCaption,
                           forms::Value(forms::Text(kStatusInstallFailed)));
  forms::appendEditText(updater_window::kLogBox, kLogUnpackFailed);
}

}  // namespace

bool copyFolderTree(forms::Text& source, forms::Text& target) {
  forms::processEvents();
  endWithBackslash(source);
  forms::FileSearch search;
  forms::Text name = forms::findFile(source + "*.*", 0, true, search);
  if (name.empty()) forms::createDirectory(target);
  for (; !name.empty(); name = forms::findFile("", 0, true, search)) {
    forms::createDirectory(target);
    endWithBackslash(target);
    forms::copyFile(source + name, target + name);
  }
  for (name = forms::findFile(source + "*.*", kFolderAttribute, false, search); !name.empty();
       name = forms::findFile("", kFolderAttribute, false, search)) {
    endWithBackslash(target);
    // Folders whose names begin with "." ("." and ".." among them) are made, not entered.
    if (forms::leftText(name, 1) != ".") {
      forms::Text subSource = source + name;
      forms::Text subTarget = target + name;
      copyFolderTree(subSource, subTarget);
    }
    forms::createDirectory(target + name);
  }
  forms::closeFind(search);
  return true;
}

forms::HandlerResult onInstallRequested(const forms::Event& event) {
  const std::int32_t k = event.args.empty() ? 0 : event.args[0];
  Globals& g = globals();
  const forms::Text runDirectory = forms::getRunDirectory();
  const forms::Text package = packagePath(runDirectory, k);
  forms::Text staging = stagingFolder(runDirectory);
  forms::createDirectory(staging);
  if (forms::unzipArchive(updater_window::kZipUnit, package, staging) != 1) {
    forms::deleteFile(package);
    forms::deleteDirectory(staging);
    reportUnpackFailure(k);
    return std::nullopt;
  }
  forms::Text installation = installationFolder(runDirectory);
  copyFolderTree(staging, installation);
  forms::deleteFile(package);
  forms::deleteDirectory(stagingFolder(runDirectory));
  forms::runProgram(relaunchCommandLine(runDirectory, g.commandWords[word::kProgramToStart]),
                    false);
  forms::endProgram(0);
}

}  // namespace updater
