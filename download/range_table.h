#pragma once
// How a file is split over connections, and the snapshot of that split (resumeState).
#include <cstdint>
#include <vector>

#include "forms/values/text.h"

namespace download {

using forms::ByteSet;

struct Range {
  std::int64_t start = 0;
  std::int64_t length = 0;
  std::int64_t received = 0;
};

// Files below this size always go over one connection.
constexpr std::int64_t kSplitThreshold = 20480;
// More connections than this make no download faster and would not fit the snapshot.
constexpr int kMaxConnections = 100;
// The largest snapshot the engine writes or reads.
constexpr std::size_t kStateLimit = 2048;

std::vector<Range> splitRanges(std::int64_t total, int threadCount);

struct StateSettings {
  std::int32_t threadCount = 0;
  std::int32_t receiveBlock = 0;
  std::int32_t speedLimit = 0;
};

ByteSet encodeState(std::int64_t total, const std::vector<Range>& ranges,
                    const StateSettings& settings);

// The value of readStateValue; -1 for anything it cannot answer.
std::int32_t stateValue(const ByteSet& state, std::int32_t code, std::int32_t range);

}  // namespace download
