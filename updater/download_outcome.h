#pragma once
// Whether a task's package arrived whole, judged from its state snapshot: an end message
// comes for completed, failed and stopped tasks alike, and a partial package must never
// be unpacked over the installation.
#include <cstdint>
#include <functional>

namespace updater {

// value(code, range) reads the snapshot as download::readStateValue does: code is one of
// download::StateValue, -1 when unreadable.
using StateReader = std::function<std::int32_t(std::int32_t code, std::int32_t range)>;

// True when the size is known and above 0, and every range received its full length.
bool receivedWhole(const StateReader& value);

}  // namespace updater
