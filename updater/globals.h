#pragma once
// The globals that every routine of the updater shares. They live from the program
// entry to the end-of-program routine. The engine's threads reach them through the
// window thread (forms/runtime/window_thread.h), except the data steps, which read them on
// the engine's thread under engineSide.
#include <cstdint>
#include <mutex>

#include "forms/values/text.h"
#include "forms/runtime/runtime.h"
#include "download/download.h"
#include "updater/one_based_array.h"
#include "updater/speed_meter.h"

namespace updater {

// The units of one row of the task list; members 6 to 8 have no use and stay empty.
struct TaskRow {
  forms::UnitRef nameLabel;
  forms::UnitRef sizeLabel;
  forms::UnitRef progressBar;
  forms::UnitRef statusLabel;
  forms::UnitRef speedLabel;
  forms::UnitRef unused6;
  forms::UnitRef unused7;
  forms::UnitRef unused8;
  forms::UnitRef separatorLine;
};

struct Globals {
  OneBasedArray<forms::Text> commandWords;
  OneBasedArray<TaskRow> taskRows;
  OneBasedArray<download::TaskParam> taskParams;
  std::int32_t currentTask = 0;
  OneBasedArray<download::Download> downloads;
  // One meter per task, beside downloads: the speed cell's rate.
  OneBasedArray<SpeedMeter> speedMeters;
  // Set by the end-of-program routine: a transfer message that arrives later finds
  // nothing to touch.
  bool released = false;
  // Held by a data step while it reads downloads and the meters, and by the window
  // thread while it grows downloads, stops a Download or releases the globals.
  std::mutex engineSide;
};

// Never destroyed: an engine thread may still call in while the process exits.
Globals& globals();

// ---- Routines of the program ----
// Runs the program and ends the process.
[[noreturn]] void updaterEntry();
void initUpdaterGlobals();
std::int32_t updaterStartup();
void updaterStartupHook();
void releaseUpdaterGlobals();

// Replaces words with the words of the process command line after the program path.
void getCommandLine(OneBasedArray<forms::Text>& words);

void buildTaskRows();
void startDownloadTask(std::int32_t n);
bool copyFolderTree(forms::Text& source, forms::Text& target);

// The engine's callbacks (eventCallback and textCallback of the task's parameters).
std::int32_t onTransferMessage(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                               std::int32_t taskId);
void onTransferText(std::int32_t connection, const char* timeText, const char* messageText,
                    std::int32_t level, std::int32_t taskId);

// Shows what the data steps gathered since the last call: the log lines in one append,
// each row at its latest values. On the window thread, paced to the display.
void applyDisplayBatch();
constexpr std::uint32_t kDisplayIntervalMs = 33;
// Paces applyDisplayBatch to the display; on the window thread, before any task starts.
void startDisplayPacing();

}  // namespace updater
