#include "base/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A fake kind with two invalid values, -1 (its empty one, as for sockets) and 0, that
// records each close.
std::vector<int> closed;

struct FakeTraits {
  using Handle = int;
  static int empty() { return -1; }
  static bool valid(int h) { return h != 0 && h != -1; }
  static void close(int h) { closed.push_back(h); }
};
using Fake = base::UniqueHandle<FakeTraits>;

TEST(UniqueHandle, ClosesEachHandleOnceWhateverItsRoad) {
  closed.clear();
  {
    Fake a(7);
    Fake b(std::move(a));
    EXPECT_FALSE(a) << "a moved-from owner is empty";
    EXPECT_EQ(b.get(), 7);
    Fake c(9);
    c = std::move(b);  // 9 goes now, 7 moves on
    EXPECT_EQ(closed, std::vector<int>{9});
    c.close();
    c.close();
    EXPECT_EQ(closed, (std::vector<int>{9, 7}));
    c.attach(11);
    c.attach(12);
    EXPECT_EQ(closed, (std::vector<int>{9, 7, 11}));
    EXPECT_EQ(c.detach(), 12);
  }
  EXPECT_EQ(closed, (std::vector<int>{9, 7, 11})) << "a detached handle is the caller's";
}

TEST(UniqueHandle, EveryInvalidValueIsHeldAsEmptyAndNeverClosed) {
  closed.clear();
  for (int invalid : {0, -1}) {
    Fake a(invalid);
    EXPECT_FALSE(a);
    EXPECT_EQ(a.get(), -1);
    Fake b(5);
    b.attach(invalid);
    EXPECT_FALSE(b);
  }
  EXPECT_EQ(closed, (std::vector<int>{5, 5}));
}

}  // namespace
