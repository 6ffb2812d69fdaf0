#include "download/range_table.h"

#include <gtest/gtest.h>

#include "download/same_name.h"
#include "download/time_text.h"

namespace download {
namespace {

TEST(SplitRanges, CountsAndRemainder) {
  struct Case {
    std::int64_t total;
    int threads;
    std::size_t count;
    std::int64_t share;
    std::int64_t last;
  } cases[] = {
      {20479, 5, 1, 20479, 20479},       {20480, 5, 5, 4096, 4096},
      {100003, 5, 5, 20000, 20003},      {100000, 0, 1, 100000, 100000},
      {100000, -3, 1, 100000, 100000},   {0, 5, 1, 0, 0},
      {1000000, 500, 100, 10000, 10000},
  };
  for (const Case& c : cases) {
    std::vector<Range> ranges = splitRanges(c.total, c.threads);
    ASSERT_EQ(ranges.size(), c.count) << c.total;
    std::int64_t next = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
      EXPECT_EQ(ranges[i].start, next);
      EXPECT_EQ(ranges[i].length, i + 1 < ranges.size() ? c.share : c.last) << c.total;
      next += ranges[i].length;
    }
    EXPECT_EQ(next, c.total);
  }
}

TEST(StateValue, ReadsItsOwnSnapshot) {
  std::vector<Range> ranges = splitRanges(100003, 5);
  ranges[0].received = 20000;
  ranges[4].received = 7;
  ByteSet state = encodeState(100003, ranges, {5, 20480, 0});
  EXPECT_LE(state.size(), kStateLimit);
  EXPECT_LE(encodeState(1 << 30, splitRanges(1 << 30, kMaxConnections), {}).size(), kStateLimit);
  struct Case {
    std::int32_t code, range, value;
  } cases[] = {
      {1, 0, 100003}, {2, 0, 20007}, {3, 0, 5},  {4, 1, 0},   {4, 5, 80000}, {5, 5, 20003},
      {6, 5, 7},      {4, 0, -1},    {4, 6, -1}, {6, -1, -1}, {0, 0, -1},    {7, 1, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(stateValue(state, c.code, c.range), c.value) << c.code << "/" << c.range;
}

TEST(StateValue, UnreadableStates) {
  ByteSet good = encodeState(100, splitRanges(100, 1), {});
  ByteSet truncated(good.begin(), good.end() - 1);
  ByteSet longer = good;
  longer.push_back(0);
  ByteSet wrongMagic = good;
  wrongMagic[0] = 'X';
  std::vector<Range> overlong = splitRanges(100, 1);
  overlong[0].received = 101;
  std::vector<Range> pastTheEnd = splitRanges(100, 1);
  pastTheEnd[0].start = 1;
  std::vector<Range> beforeTheStart = splitRanges(100, 1);
  beforeTheStart[0].start = -1;
  beforeTheStart[0].length = 1;
  ByteSet laterVersion = good;
  laterVersion[4] = 2;
  ByteSet big(4096, 0);
  for (const ByteSet& state : {ByteSet{}, truncated, longer, wrongMagic, laterVersion,
                               encodeState(100, overlong, {}), encodeState(100, pastTheEnd, {}),
                               encodeState(100, beforeTheStart, {}), encodeState(100, {}, {}), big})
    EXPECT_EQ(stateValue(state, 1, 0), -1);
}

TEST(StateValue, NoSnapshotLargerThanTheLimitIsRead) {
  // 168 ranges make the largest snapshot within the limit, 169 the smallest past it.
  auto ranges = [](std::size_t count) { return std::vector<Range>(count, Range{0, 1, 1}); };
  ByteSet largest = encodeState(1, ranges(168), {});
  ASSERT_LE(largest.size(), kStateLimit);
  EXPECT_EQ(stateValue(largest, 3, 0), 168);
  ByteSet over = encodeState(1, ranges(169), {});
  ASSERT_GT(over.size(), kStateLimit);
  EXPECT_EQ(stateValue(over, 3, 0), -1);
  EXPECT_EQ(stateValue(encodeState(1, ranges(200), {}), 3, 0), -1);
}

TEST(RenamedPath, NumbersBeforeTheExtension) {
  struct Case {
    const char* path;
    int attempt;
    const char* renamed;
  } cases[] = {
      {"C:\\d\\a.zip", 1, "C:\\d\\a(1).zip"},
      {"C:\\d\\a.zip", 2, "C:\\d\\a(2).zip"},
      {"C:\\d\\a(3).zip", 1, "C:\\d\\a(4).zip"},
      {"C:\\d\\a(x).zip", 1, "C:\\d\\a(x)(1).zip"},
      {"C:\\d\\a().zip", 1, "C:\\d\\a()(1).zip"},
      {"C:\\d\\a(12.zip", 1, "C:\\d\\a(12(1).zip"},
      // Up to six digits are a number; more are a part of the name.
      {"C:\\d\\a(999999).zip", 1, "C:\\d\\a(1000000).zip"},
      {"C:\\d\\a(9999999).zip", 1, "C:\\d\\a(9999999)(1).zip"},
      {"C:\\d\\a(99999999999999999999).zip", 1, "C:\\d\\a(99999999999999999999)(1).zip"},
      {"C:\\d.v2\\readme", 1, "C:\\d.v2\\readme(1)"},
      {"C:\\d\\.profile", 1, "C:\\d\\.profile(1)"},
      {"C:\\d\\a.tar.gz", 1, "C:\\d\\a.tar(1).gz"},
      // The second byte of this GBK character is 0x5C, not a folder separator.
      {"C:\\\xD5\x5C.zip", 1, "C:\\\xD5\x5C(1).zip"},
  };
  for (const Case& c : cases) EXPECT_EQ(renamedPath(c.path, c.attempt), c.renamed) << c.path;
}

TEST(TimeText, DropsTrailingZeroParts) {
  EXPECT_EQ(formatTimeText(2024, 3, 7, 9, 5, 2), "2024年3月7日9时5分2秒");
  EXPECT_EQ(formatTimeText(2024, 3, 7, 9, 5, 0), "2024年3月7日9时5分");
  EXPECT_EQ(formatTimeText(2024, 3, 7, 9, 0, 0), "2024年3月7日9时");
  EXPECT_EQ(formatTimeText(2024, 3, 7, 0, 0, 0), "2024年3月7日");
  EXPECT_EQ(formatTimeText(2024, 3, 7, 0, 0, 9), "2024年3月7日0时0分9秒");
}

}  // namespace
}  // namespace download
