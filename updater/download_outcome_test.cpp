#include "updater/download_outcome.h"

#include <gtest/gtest.h>

#include <vector>

#include "download/download.h"

namespace {

struct Range {
  std::int32_t length, received;
};

struct Snapshot {
  const char* what;
  std::int32_t total;  // -1: no readable state
  std::int32_t received;
  std::vector<Range> ranges;
  bool whole;
};

std::int32_t read(const Snapshot& s, std::int32_t code, std::int32_t range) {
  if (s.total == -1) return -1;
  const auto count = static_cast<std::int32_t>(s.ranges.size());
  switch (code) {
    case download::kStateTotalSize: return s.total;
    case download::kStateReceived: return s.received;
    case download::kStateRangeCount: return count;
    case download::kStateRangeLength:
      return range >= 1 && range <= count ? s.ranges[range - 1].length : -1;
    case download::kStateRangeReceived:
      return range >= 1 && range <= count ? s.ranges[range - 1].received : -1;
    default: return -1;
  }
}

TEST(ReceivedWhole, OnlyAFullyReceivedPackageCounts) {
  const Snapshot cases[] = {
      {"five full ranges",
       102400,
       102400,
       {{20480, 20480}, {20480, 20480}, {20480, 20480}, {20480, 20480}, {20480, 20480}},
       true},
      {"one range for a small package", 900, 900, {{900, 900}}, true},
      {"no readable state", -1, -1, {}, false},
      {"404: nothing known", 0, 0, {}, false},
      {"empty 200 reply", 0, 0, {{0, 0}}, false},
      {"server ignored Range: only range 1",
       102400,
       20480,
       {{20480, 20480}, {20480, 0}, {20480, 0}, {20480, 0}, {20480, 0}},
       false},
      {"server gone mid-way",
       102400,
       102000,
       {{20480, 20480}, {20480, 20480}, {20480, 20080}, {20480, 20480}, {20480, 20480}},
       false},
      {"total agrees but a range is short", 100, 100, {{50, 50}, {50, 49}}, false},
      {"ranges full but do not cover the size", 100, 100, {{50, 50}}, false},
      {"size known, no ranges", 100, 100, {}, false},
  };
  for (const Snapshot& s : cases) {
    EXPECT_EQ(updater::receivedWhole(
                  [&](std::int32_t code, std::int32_t range) { return read(s, code, range); }),
              s.whole)
        << s.what;
  }
}

}  // namespace
