#include "download/range_book.h"

#include <gtest/gtest.h>

namespace download {
namespace {

// A task's connections in one order: ranges are served once, complete ones are never
// handed out again, and a range given up part way comes back from where it stopped.
// A start (Claim of one range) and a take-over (ClaimNext) may come in either order: the
// one that comes second gets nothing.
TEST(RangeBook, ServesEachUnfinishedRangeOnce) {
  RangeBook book;
  EXPECT_EQ(stateValue(book.snapshot({}), 3, 0), 1);  // before the size is known
  EXPECT_FALSE(book.claimUnserved());
  EXPECT_FALSE(book.claim(0));
  book.set(100003, splitRanges(100003, 5));
  EXPECT_EQ(book.count(), 5);

  enum Op { Claim, Refused, ClaimNext, Release, Add };
  constexpr int kNone = -1;
  struct Step {
    Op op;
    int index;           // ClaimNext: the range expected, kNone for none
    std::int64_t bytes;  // Add only
  } steps[] = {
      {Claim, 0, 0},                           // the first connection
      {Refused, 0, 0},                         // a second start of the same range
      {Claim, 1, 0},                           // the first further connection
      {Add, 1, 20000},       {Release, 1, 0},  // range 2 complete, its connection moves on
      {ClaimNext, 2, 0},                       // and takes range 3 before its start came
      {Refused, 2, 0},                         // which then starts nothing
      {Refused, 1, 0},                         // a late start of a complete range
      {Claim, 3, 0},                           // a start that came first
      {ClaimNext, 4, 0},                       // is not taken over
      {Add, 2, 5000},        {Release, 2, 0},  // range 3's connection fails part way
      {ClaimNext, 2, 0},                       // and its remainder is taken over
      {ClaimNext, kNone, 0}, {Release, 4, 0}, {Claim, 4, 0},  // failed before its first byte
      {Add, 4, 20003},       {Release, 4, 0}, {ClaimNext, kNone, 0},
      {Refused, 4, 0},       {Refused, 5, 0}, {Refused, -1, 0},  // complete, and no such ranges
      {Add, 3, 20001},                      // past the length: the range counts its length
      {Add, 0, 5000},        {Add, 0, -1},  // nothing is taken away
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    switch (s.op) {
      case Claim: EXPECT_TRUE(book.claim(s.index)) << "step " << i; break;
      case Refused: EXPECT_FALSE(book.claim(s.index)) << "step " << i; break;
      case Release: book.release(s.index); break;
      case Add: book.addReceived(s.index, s.bytes); break;
      case ClaimNext:
        EXPECT_EQ(book.claimUnserved().value_or(kNone), s.index) << "step " << i;
        break;
    }
  }

  EXPECT_EQ(book.range(3).received, 20000);
  EXPECT_EQ(book.total(), 100003);
  EXPECT_EQ(book.received(), 70003);
  EXPECT_EQ(book.range(2).received, 5000);
  EXPECT_EQ(book.range(4).start, 80000);
  ByteSet state = book.snapshot({5, 20480, 0});
  EXPECT_EQ(stateValue(state, 2, 0), 70003);
  EXPECT_EQ(stateValue(state, 6, 2), 20000);
}

}  // namespace
}  // namespace download
