// Program entry, globals and end-of-program routine of the updater.
#include <windows.h>

#include "updater/command_words.h"
#include "forms/units/unit_table.h"
#include "updater/globals.h"
#include "generated/updater_units.h"
#include "generated/updater_handlers.h"

namespace updater {

namespace {

// A connection held in a name lookup, which no stop interrupts, is waited for this long.
constexpr std::int32_t kEngineEndWaitMs = 30000;

}  // namespace

Globals& globals() {
  static Globals* instance = new Globals;  // outlives engine threads still ending at exit
  return *instance;
}

void initUpdaterGlobals() {
  Globals& g = globals();
  g.commandWords.clear();
  g.taskRows.clear();
  g.taskParams.clear();
  g.downloads.clear();
  g.speedMeters.clear();
  g.released = false;
}

void updaterStartupHook() {}

std::int32_t updaterStartup() {
  updaterStartupHook();
  return 0;
}

void releaseUpdaterGlobals() {
  Globals& g = globals();
  std::lock_guard<std::mutex> lock(g.engineSide);
  // First, so that a transfer message served after this point touches nothing.
  g.released = true;
  g.commandWords.clear();
  g.taskRows.clear();
  g.taskParams.clear();
  for (download::Download& d : g.downloads) download::releaseDownload(d);
  g.downloads.clear();
  g.speedMeters.clear();
}

void getCommandLine(OneBasedArray<forms::Text>& words) {
  const char* line = GetCommandLineA();
  words.assign(splitCommandWords(line ? line : ""));
}

void updaterEntry() {
  forms::startRuntime(forms::unitTable(), templateHandlers(), templateSegment());
  setArrayFaultReporter([](std::int32_t fault) { forms::raiseRuntimeError(fault); });
  startDisplayPacing();
  initUpdaterGlobals();
  forms::registerEndRoutine(releaseUpdaterGlobals);
  updaterStartup();
  forms::loadStartWindow(kUpdaterWindow);
  forms::runMessageLoop();
  // A closed window stopped the download, but the task's thread still delivers its last
  // messages and frees the task: the process ends only once it has ended. Killed while it
  // frees memory, it could leave the heap's lock held for the exit's own clean-up.
  download::waitForTasksToEnd(kEngineEndWaitMs);
  // The process ends here, so no destructor of a static object runs under a late thread.
  forms::endProgram(0);
}

}  // namespace updater
