// The engine's callbacks: each transfer message becomes a log line and keeps the task's
// row current; the end message of a task that arrived whole hands it to the install step.
//
// A data step is worked out on the engine's thread and left in the display batch, which
// the window thread applies at display rate: the engine never waits for the window on a
// data step. The messages that only add a line to the log (a connection's start, range
// and end) join the same batch, in their place among the steps' lines. The transfer's
// start and end change the row as well: they run on the window thread while the engine
// waits, after the batch gathered before them, so the log and the row pass through the
// same states in the same order as when each message is applied on its own. The
// same-name question comes on a connection's thread, which a stop on the window thread
// may be waiting for, so it is answered at once and its line joins the batch.
#include <windows.h>

#include <atomic>
#include <mutex>

#include "forms/runtime/runtime.h"
#include "forms/runtime/window_thread.h"
#include "forms/system/system_ops.h"
#include "forms/units/button_edit/standard_units.h"
#include "updater/display_batch.h"
#include "updater/download_outcome.h"
#include "updater/globals.h"
#include "updater/install_paths.h"
#include "updater/transfer_texts.h"
#include "generated/updater_units.h"

namespace updater {
namespace {

// The row number of the task, 0 when no download runs it (also after a stop).
std::int32_t findTask(Globals& g, std::int32_t taskId) {
  for (std::int32_t i = 1; i <= g.downloads.count(); ++i)
    if (download::getDownloadTaskId(g.downloads[i]) == taskId) return i;
  return 0;
}

void log(const forms::Text& line) { forms::appendEditText(updater_window::kLogBox, line); }

void show(forms::UnitRef unit, bool visible) {
  forms::setUnitProperty(unit, forms::common::kVisible,
                         forms::Value(std::int32_t{visible ? 1 : 0}));
}

void caption(forms::UnitRef unit, const forms::Text& text) {
  forms::setUnitProperty(unit, forms::label::kCaption, forms::Value(text));
}

std::int32_t stateValue(const download::Download& d, const forms::ByteSet& state, std::int32_t code,
                        std::int32_t range = 0) {
  return download::readStateValue(d, state, code, range);
}

void onStart(Globals& g, std::int32_t taskId) {
  log(transferLogLine(download::kTransferStart));
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return;
  forms::ByteSet state;
  download::getDownloadState(g.downloads[k], state);
  const TaskRow& row = g.taskRows[k];
  caption(row.nameLabel, g.taskParams[k].ftpRemoteName);
  caption(row.sizeLabel, sizeCaption(stateValue(g.downloads[k], state, download::kStateTotalSize)));
  show(row.progressBar, false);
  show(row.statusLabel, true);
  caption(row.statusLabel, "下载开始");
  g.speedMeters[k].start(GetTickCount());
}

DisplayBatch& displayBatch() {
  static DisplayBatch* instance = new DisplayBatch;  // outlives late engine calls
  return *instance;
}

// Made by startDisplayPacing before any task starts; never destroyed, since an engine
// thread may still ask for it while the process exits.
std::atomic<forms::PacedWork*>& displayPacing() {
  static std::atomic<forms::PacedWork*> pacing{nullptr};
  return pacing;
}

// Wakes the window thread once for a batch that was empty.
void showBatchSoon() {
  if (forms::PacedWork* pacing = displayPacing().load()) pacing->request();
}

// On the engine's thread. The globals lock keeps the close query and the end-of-program
// routine away while the task's state is read.
void onData(std::int32_t taskId) {
  Globals& g = globals();
  std::lock_guard<std::mutex> lock(g.engineSide);
  if (g.released) return;
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return;
  const std::int32_t bytes = download::takeReceivedBytes(g.downloads[k]);
  std::optional<forms::Text> speed;
  if (std::optional<double> rate = g.speedMeters[k].add(bytes, GetTickCount()))
    speed = speedCaption(*rate);
  forms::ByteSet state;
  download::getDownloadState(g.downloads[k], state);
  const std::int32_t done = stateValue(g.downloads[k], state, download::kStateReceived);
  const std::int32_t total = stateValue(g.downloads[k], state, download::kStateTotalSize);
  if (displayBatch().addDataStep(k, std::move(speed), progressPosition(done, total),
                                 transferLogLine(download::kDataReceived)))
    showBatchSoon();
}

// The task's number when its package is to be installed, else 0.
std::int32_t onEnd(Globals& g, std::int32_t taskId) {
  const std::int32_t k = findTask(g, taskId);
  if (k == 0) return 0;
  forms::ByteSet state;
  download::getDownloadState(g.downloads[k], state);
  const download::Download& d = g.downloads[k];
  const bool whole = receivedWhole(
      [&](std::int32_t code, std::int32_t range) { return stateValue(d, state, code, range); });
  const TaskRow& row = g.taskRows[k];
  show(row.progressBar, false);
  show(row.statusLabel, true);
  caption(row.statusLabel, whole ? "下载结束" : kStatusDownloadFailed);
  caption(row.speedLabel, "");
  log(transferLogLine(download::kTransferEnd));
  if (whole) return k;
  // A partial package is never unpacked; it goes, and the window stays for the user.
  forms::deleteFile(packagePath(forms::getRunDirectory(), k));
  log(kLogNotInstalled);
  return 0;
}

}  // namespace

void startDisplayPacing() {
  if (!displayPacing().load())
    displayPacing() = new forms::PacedWork(applyDisplayBatch, kDisplayIntervalMs);
}

void applyDisplayBatch() {
  const DisplayWork work = displayBatch().take();
  Globals& g = globals();
  if (g.released) return;
  for (const auto& [k, view] : work.rows) {
    if (k < 1 || k > g.taskRows.count()) continue;
    const TaskRow& row = g.taskRows[k];
    show(row.statusLabel, false);
    show(row.progressBar, true);
    if (view.speedCaption) caption(row.speedLabel, *view.speedCaption);
    forms::setUnitProperty(row.progressBar, forms::super_bar::kPosition,
                           forms::Value(view.barPosition));
  }
  if (!work.log.empty()) log(work.log);
}

std::int32_t onTransferMessage(std::int32_t code, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t taskId) {
  if (code == download::kDataReceived) {
    onData(taskId);
    return 1;
  }
  if (code == download::kSameNameFile) {
    if (displayBatch().addLogLine(transferLogLine(code))) showBatchSoon();
    return download::kGiveUp;
  }
  // A message that only adds its line joins the batch as well: one line added to the log
  // box took 10-40 ms under Wine, and the engine waiting for each of a download's dozen
  // connection messages held its end (and so the install) back by several tenths of a
  // second. The line keeps its place among the data steps' lines.
  if (code != download::kTransferStart && code != download::kTransferEnd) {
    if (displayBatch().addLogLine(transferLogLine(code))) showBatchSoon();
    return 1;
  }
  std::int32_t installTask = 0;
  forms::runOnWindowThread([&] {
    applyDisplayBatch();
    Globals& g = globals();
    if (g.released) return;
    if (code == download::kTransferStart)
      onStart(g, taskId);
    else
      installTask = onEnd(g, taskId);
  });
  // Raised from here, so that this thread waits while the window thread installs.
  if (installTask > 0) forms::raiseFeedbackEvent(updater_window::kInstallLabel, installTask);
  return 1;
}

void onTransferText(std::int32_t, const char*, const char*, std::int32_t, std::int32_t) {}

}  // namespace updater
