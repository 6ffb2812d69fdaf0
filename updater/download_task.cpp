// Turning the command line into the one running download.
#include "forms/values/to_text.h"
#include "forms/system/system_ops.h"
#include "forms/units/button_edit/standard_units.h"
#include "updater/globals.h"
#include "updater/install_paths.h"
#include "generated/updater_units.h"
#include "updater/updater_command.h"

namespace updater {

void startDownloadTask(std::int32_t n) {
  Globals& g = globals();
  std::unique_lock<std::mutex> lock(g.engineSide);
  g.taskParams.resize(n);
  g.speedMeters.resize(n);
  download::TaskParam& p = g.taskParams[n];
  p.mode = download::kModeDownload;
  g.currentTask = n;
  // No line break: the first transfer message's line continues this one.
  forms::appendEditText(updater_window::kLogBox, "执行下载任务" + forms::toText(n));
  p.url = g.commandWords[word::kPackageUrl];
  p.ftpRemoteName = g.commandWords[word::kPackageTitle];  // the row shows it
  p.speedLimit = 0;
  p.stopWait = 1000;
  p.threadCount = 5;
  const forms::Text runDirectory = forms::getRunDirectory();
  forms::createDirectory(downloadFolder(runDirectory));
  forms::deleteFile(packagePath(runDirectory, n));
  p.localFile = packagePath(runDirectory, n);
  p.connectTimeout = 5000;
  p.sendTimeout = 5001;
  p.receiveTimeout = 10000;
  p.receiveBlock = 20480;
  p.eventCallback = onTransferMessage;
  p.textCallback = onTransferText;
  g.downloads.append(download::Download{});
  lock.unlock();
  // A start that fails changes nothing here: no message ever arrives, the row stays as
  // laid out and the user closes the window.
  download::startDownload(g.downloads[g.downloads.count()], g.taskParams[g.currentTask]);
}

}  // namespace updater
