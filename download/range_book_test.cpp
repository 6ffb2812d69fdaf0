#include "download/range_book.h"

#include <gtest/gtest.h>

namespace download {
namespace {

// A task's connections in one order: ranges are served once, complete ones are never
// handed out again, and a range given up part way comes back from where it stopped.
TEST(RangeBook, ServesEachUnfinishedRangeOnce) {
  RangeBook book;
  EXPECT_EQ(stateValue(book.snapshot({}), 3, 0), 1);  // before the size is known
  EXPECT_FALSE(book.claimUnserved());
  book.set(100003, splitRanges(100003, 5));

  enum Op { Serve, Claim, Release, Add };
  constexpr int kNone = -1;
  struct Step {
    Op op;
    int index;             // Claim: the range expected, kNone for none
    std::int64_t bytes;    // Add only
  } steps[] = {
      {Serve, 0, 0},                        // the first connection
      {Claim, 1, 0}, {Claim, 2, 0},         // further connections, in order
      {Add, 2, 20000}, {Release, 2, 0},     // range 3 complete, its connection moves on
      {Claim, 3, 0},                        // skips the complete range
      {Add, 1, 5000}, {Release, 1, 0},      // range 2's connection fails part way
      {Claim, 1, 0},                        // and its remainder is taken over
      {Claim, 4, 0}, {Claim, kNone, 0},
      {Release, 4, 0}, {Claim, 4, 0},       // failed before its first byte
      {Add, 4, 20003}, {Release, 4, 0}, {Claim, kNone, 0},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    switch (s.op) {
      case Serve: book.markServed(s.index); break;
      case Release: book.release(s.index); break;
      case Add: book.addReceived(s.index, s.bytes); break;
      case Claim: EXPECT_EQ(book.claimUnserved().value_or(kNone), s.index) << "step " << i; break;
    }
  }

  EXPECT_EQ(book.total(), 100003);
  EXPECT_EQ(book.received(), 45003);
  EXPECT_EQ(book.range(1).received, 5000);
  EXPECT_EQ(book.range(4).start, 80000);
  ByteSet state = book.snapshot({5, 20480, 0});
  EXPECT_EQ(stateValue(state, 2, 0), 45003);
  EXPECT_EQ(stateValue(state, 6, 3), 20000);
}

}  // namespace
}  // namespace download
