#pragma once
// One connection of a task (a transfer worker): it fetches its range, takes over ranges
// that nobody serves, and retries what may pass.
#include <cstdint>
#include <memory>

namespace download {

class Task;

// `rangeIndex` -1: the first connection, which learns the size and creates the file.
void runConnection(std::shared_ptr<Task> task, std::int32_t number, int rangeIndex);

}  // namespace download
