// The engine's callbacks: each transfer message becomes a log line and keeps the task's
// row current; the end message of a task that arrived whole hands it to the install step.
#include <windows.h>

#include "forms/win/runtime.h"
#include "updater/download_outcome.h"
#include "updater/globals.h"
#include "updater/install_paths.h"
#include "updater/transfer_texts.h"
#include "updater/units.h"
#include "updater/window_thread_call.h"

namespace updater {
namespace {

// The row number of the task, 0 when no download runs it (also after a stop).
std::int32_t findTask(Globals& g, std::int32_t taskId) {
  for (std::int32_t i = 1; i <= g.downloads.count(); ++i)
    if (forms::getDownloadTaskId(g.downloads[i]) == taskId) return i;
  return 0;
}

void log(const forms::Text& line) { forms::appendEditText(kLogBox, line); }

void show(forms::UnitRef unit, bool visible) {
  forms::setUnitProperty(unit, forms::prop::kVisible, forms::Value(std::int32_t{visible ? 1 : 0}));
}

void caption(forms::UnitRef unit, const forms::Text& text) {
  forms::setUnitProperty(unit, kCaption, forms::Value(text));
}

std::int32_t stateValue(const forms::Download& d, const forms::ByteSet& state, std::int32_t code,
                        std::int32_t range = 0) {
  return forms::readStateValue(d, state, code, range);
}

void onStart(Globals& g, std::int32_t taskId) {
  log(transferLogLine(forms::kTransferStart));
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return;
  forms::ByteSet state;
  forms::getDownloadState(g.downloads[k], state);
  const TaskRow& row = g.taskRows[k];
  caption(row.nameLabel, g.taskParams[k].ftpRemoteName);
  caption(row.sizeLabel, sizeCaption(stateValue(g.downloads[k], state, forms::kStateTotalSize)));
  show(row.progressBar, false);
  show(row.statusLabel, true);
  caption(row.statusLabel, "下载开始");
  g.speedMeters[k].start(GetTickCount());
}

void onData(Globals& g, std::int32_t taskId) {
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return;
  const TaskRow& row = g.taskRows[k];
  show(row.statusLabel, false);
  show(row.progressBar, true);
  const std::int32_t bytes = forms::takeReceivedBytes(g.downloads[k]);
  if (std::optional<double> rate = g.speedMeters[k].add(bytes, GetTickCount()))
    caption(row.speedLabel, speedCaption(*rate));
  forms::ByteSet state;
  forms::getDownloadState(g.downloads[k], state);
  const std::int32_t done = stateValue(g.downloads[k], state, forms::kStateReceived);
  const std::int32_t total = stateValue(g.downloads[k], state, forms::kStateTotalSize);
  forms::setUnitProperty(row.progressBar, kBarPosition, forms::Value(progressPosition(done, total)));
  log(transferLogLine(forms::kDataReceived));
}

// The task's number when its package is to be installed, else 0.
std::int32_t onEnd(Globals& g, std::int32_t taskId) {
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return 0;
  forms::ByteSet state;
  forms::getDownloadState(g.downloads[k], state);
  const forms::Download& d = g.downloads[k];
  const bool whole = receivedWhole(
      [&](std::int32_t code, std::int32_t range) { return stateValue(d, state, code, range); });
  const TaskRow& row = g.taskRows[k];
  show(row.progressBar, false);
  show(row.statusLabel, true);
  caption(row.statusLabel, whole ? "下载结束" : kStatusDownloadFailed);
  caption(row.speedLabel, "");
  log(transferLogLine(forms::kTransferEnd));
  if (whole) return k;
  // A partial package is never unpacked; it goes, and the window stays for the user.
  forms::deleteFile(packagePath(forms::getRunDirectory(), k));
  log(kLogNotInstalled);
  return 0;
}

}  // namespace

std::int32_t onTransferMessage(std::int32_t code, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t taskId) {
  std::int32_t installTask = 0;
  windowThread().run([&] {
    Globals& g = globals();
    if (g.released) return;
    switch (code) {
      case forms::kTransferStart: onStart(g, taskId); break;
      case forms::kDataReceived: onData(g, taskId); break;
      case forms::kTransferEnd: installTask = onEnd(g, taskId); break;
      default: log(transferLogLine(code)); break;
    }
  });
  // Raised from here, so that this thread waits while the window thread installs.
  if (installTask > 0) forms::raiseFeedbackEvent(kInstallLabel, installTask);
  return 1;
}

void onTransferText(std::int32_t, const char*, const char*, std::int32_t, std::int32_t) {}

}  // namespace updater
