#include "updater/one_based_array.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Fault {
  std::int32_t code;
};

[[noreturn]] void throwFault(std::int32_t code) { throw Fault{code}; }

class OneBasedArrayTest : public testing::Test {
 protected:
  void SetUp() override { updater::setArrayFaultReporter(throwFault); }
  void TearDown() override { updater::setArrayFaultReporter(nullptr); }

  static std::int32_t faultOf(const updater::OneBasedArray<std::string>& a, std::int32_t index) {
    try {
      (void)a[index];
    } catch (const Fault& f) {
      return f.code;
    }
    return 0;
  }
};

TEST_F(OneBasedArrayTest, CellsCountFromOne) {
  updater::OneBasedArray<std::string> a;
  a.append("a");
  a.append("b");
  EXPECT_EQ(a.count(), 2);
  EXPECT_EQ(a[1], "a");
  EXPECT_EQ(a[2], "b");
}

TEST_F(OneBasedArrayTest, ReadsOutsideTheCellsAreTheRuntimesArrayFaults) {
  updater::OneBasedArray<std::string> a;
  EXPECT_EQ(faultOf(a, 1), updater::kIndexAboveCount);
  a.append("a");
  EXPECT_EQ(faultOf(a, 0), updater::kIndexBelowOne);
  EXPECT_EQ(faultOf(a, -5), updater::kIndexBelowOne);
  EXPECT_EQ(faultOf(a, 2), updater::kIndexAboveCount);
  EXPECT_EQ(faultOf(a, 1), 0);
}

TEST_F(OneBasedArrayTest, ResizeKeepsTheFirstCellsAndAddsDefaults) {
  updater::OneBasedArray<std::string> a;
  a.append("a");
  a.append("b");
  a.resize(3);
  EXPECT_EQ(a[1], "a");
  EXPECT_EQ(a[3], "");
  a.resize(1);
  EXPECT_EQ(a.count(), 1);
  EXPECT_EQ(faultOf(a, 2), updater::kIndexAboveCount);
  a.resize(0);
  EXPECT_TRUE(a.empty());
  a.append("c");
  a.clear();
  EXPECT_TRUE(a.empty());
}

TEST_F(OneBasedArrayTest, NegativeSizeIsTheRuntimesRedimensionFaultAndKeepsTheCells) {
  updater::OneBasedArray<std::string> a;
  a.append("a");
  std::int32_t fault = 0;
  try {
    a.resize(-1);
  } catch (const Fault& f) {
    fault = f.code;
  }
  EXPECT_EQ(fault, updater::kNegativeSize);
  EXPECT_EQ(a.count(), 1);
}

TEST(OneBasedArrayDeathTest, AReporterThatReturnsStillStopsTheRead) {
  updater::setArrayFaultReporter([](std::int32_t) {});
  updater::OneBasedArray<int> a;
  EXPECT_DEATH((void)a[1], "");
  updater::setArrayFaultReporter(nullptr);
}

}  // namespace
