#pragma once
// Pieces of the system operations that tests check on their own.
#include <cstdint>

namespace forms {

// runProgram's window modes (1 hidden .. 6 minimize, clamped) as show commands.
int showCommandOfWindowMode(std::int32_t mode);

}  // namespace forms
