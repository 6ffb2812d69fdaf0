#include "download/range_table.h"

#include <algorithm>

#include "download/download.h"

namespace download {

namespace {

// Layout: "TVDS", version, total, range count, (start, length, received) per range,
// then the settings; every number 32-bit little-endian.
constexpr std::uint8_t kMagic[4] = {'T', 'V', 'D', 'S'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFixedWords = 3;  // version, total, count
constexpr std::size_t kSettingWords = 3;

void put(ByteSet& out, std::int64_t value) {
  auto word = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
}

std::int64_t get(const ByteSet& in, std::size_t word) {
  std::size_t at = 4 + 4 * word;
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::vector<Range> splitRanges(std::int64_t total, int threadCount) {
  int count =
      total < kSplitThreshold || threadCount < 1 ? 1 : std::min(threadCount, kMaxConnections);
  std::vector<Range> ranges(static_cast<std::size_t>(count));
  std::int64_t share = total / count;
  for (int i = 0; i < count; ++i) {
    ranges[i].start = i * share;
    ranges[i].length = share;
  }
  ranges.back().length += total - share * count;
  return ranges;
}

ByteSet encodeState(std::int64_t total, const std::vector<Range>& ranges,
                    const StateSettings& settings) {
  ByteSet out(kMagic, kMagic + 4);
  put(out, kVersion);
  put(out, total);
  put(out, static_cast<std::int64_t>(ranges.size()));
  for (const Range& range : ranges) {
    put(out, range.start);
    put(out, range.length);
    put(out, range.received);
  }
  put(out, settings.threadCount);
  put(out, settings.receiveBlock);
  put(out, settings.speedLimit);
  return out;
}

std::int32_t stateValue(const ByteSet& state, std::int32_t code, std::int32_t range) {
  if (state.size() < 4 + 4 * kFixedWords || state.size() > kStateLimit ||
      !std::equal(kMagic, kMagic + 4, state.begin()) || get(state, 0) != kVersion)
    return -1;
  std::int64_t total = get(state, 1);
  std::int64_t count = get(state, 2);
  if (count < 1 || state.size() != 4 + 4 * (kFixedWords + 3 * count + kSettingWords)) return -1;
  std::int64_t received = 0;
  for (std::int64_t i = 0; i < count; ++i) {
    std::int64_t start = get(state, kFixedWords + 3 * i);
    std::int64_t length = get(state, kFixedWords + 3 * i + 1);
    std::int64_t got = get(state, kFixedWords + 3 * i + 2);
    // A negative length fails the received count: it is below 0 or above the length.
    if (start < 0 || got < 0 || got > length || start + length > total) return -1;
    received += got;
  }
  switch (code) {
    case kStateTotalSize: return static_cast<std::int32_t>(total);
    case kStateReceived: return static_cast<std::int32_t>(received);
    case kStateRangeCount: return static_cast<std::int32_t>(count);
    case kStateRangeStart:
    case kStateRangeLength:
    case kStateRangeReceived:
      if (range < 1 || range > count) return -1;
      // A range's words are its start, length and received, in the order of the codes.
      return static_cast<std::int32_t>(
          get(state, kFixedWords + 3 * (range - 1) + (code - kStateRangeStart)));
    default: return -1;
  }
}

}  // namespace download
