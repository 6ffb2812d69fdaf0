#pragma once
// Splitting the updater's process command line into words. Portable: it works on the
// GBK bytes as the system hands them over.
#include <string_view>
#include <vector>

#include "forms/values/text.h"
#include "updater/updater_command.h"

namespace updater {

// The words after the program path, in order; an empty quoted word ("") counts.
std::vector<forms::Text> splitCommandWords(std::string_view line);

// A start that the navigator made: enough words and word 1 exactly the token.
bool isLaunchAccepted(const std::vector<forms::Text>& words);

}  // namespace updater
