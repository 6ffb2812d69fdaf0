// UpdaterWindow's life: the start inside its created event, and its close.
#include "forms/runtime/runtime.h"
#include "forms/system/system_ops.h"
#include "updater/command_words.h"
#include "updater/globals.h"
#include "generated/updater_handlers.h"

namespace updater {
namespace {

// The navigator ends itself after starting us; these passes give it the time to go
// before anything is read or shown.
constexpr int kStartPasses = 1000;

[[noreturn]] void refuseStart() {
  forms::messageBox(forms::Text("程序调用参数错误！"), forms::message_box::kIconError);
  forms::endProgram(0);
}

}  // namespace

forms::HandlerResult onUpdaterWindowCreated(const forms::Event&) {
  for (int pass = 0; pass < kStartPasses; ++pass) {
    forms::processEvents();
    forms::delay(1);
  }
  Globals& g = globals();
  getCommandLine(g.commandWords);
  std::vector<forms::Text> words(g.commandWords.begin(), g.commandWords.end());
  if (!isLaunchAccepted(words)) refuseStart();
  buildTaskRows();
  startDownloadTask(1);
  return std::nullopt;
}

forms::HandlerResult onUpdaterWindowCloseQuery(const forms::Event&) {
  Globals& g = globals();
  if (g.downloads.count() >= 1) {
    std::lock_guard<std::mutex> lock(g.engineSide);
    forms::ByteSet resumeState;
    download::stopDownload(g.downloads[1], resumeState, 2);
  }
  return forms::Value(true);
}

}  // namespace updater
