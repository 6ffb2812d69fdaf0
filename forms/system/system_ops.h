#pragma once
// Dialogs, processes, files and the screen, as the programs call them.
#include <cstdint>

#include "forms/values/text.h"
#include "forms/values/value.h"

namespace forms {

// Message-box flags in the platform's encoding, as the programs pass them.
namespace message_box {
constexpr std::int32_t kOk = 0;                  // an OK button, no icon
constexpr std::int32_t kIconError = 0x10;        // a stop sign
constexpr std::int32_t kIconInformation = 0x40;  // an "i"
}  // namespace message_box

// Task-modal box owned by no window; returns the platform's button id less 1.
std::int32_t messageBox(const Value& value, std::int32_t flags = 0, const Text& caption = "信息：");

// Window mode 1 hidden .. 6 minimize (clamped). With wait, until the process ends; else
// at most 1000 ms until it is ready for input. True when started.
bool runProgram(const Text& commandLine, bool wait = false, std::int32_t windowMode = 2);
// runProgram's window modes as show commands.
int showCommandOfWindowMode(std::int32_t mode);

// The program file's folder without a trailing backslash.
Text getRunDirectory();

// Suspends the thread; no message is served.
void delay(std::int32_t ms);

bool createDirectory(const Text& path);
bool deleteFile(const Text& path);

std::int32_t getScreenWidth();
std::int32_t getScreenHeight();

}  // namespace forms
