#include "updater/speed_meter.h"

#include <gtest/gtest.h>

namespace {

using updater::SpeedMeter;

TEST(SpeedMeter, GivesARateOnlyOnceASecondHasPassed) {
  SpeedMeter meter;
  meter.start(10000);
  EXPECT_FALSE(meter.add(20480, 10100));
  EXPECT_FALSE(meter.add(20480, 10999));
  // 40960 + 20480 bytes over 1.2 s
  std::optional<double> rate = meter.add(20480, 11200);
  ASSERT_TRUE(rate);
  EXPECT_DOUBLE_EQ(*rate, 61440 * 1000.0 / 1200);
  // The next interval starts empty at the update.
  EXPECT_FALSE(meter.add(1000, 11500));
  rate = meter.add(1000, 12200);
  ASSERT_TRUE(rate);
  EXPECT_DOUBLE_EQ(*rate, 2000.0);
}

TEST(SpeedMeter, SurvivesATickThatWraps) {
  SpeedMeter meter;
  meter.start(0xFFFFFF00u);
  std::optional<double> rate = meter.add(5000, 0x00000300u);  // 1024 ms later
  ASSERT_TRUE(rate);
  EXPECT_DOUBLE_EQ(*rate, 5000 * 1000.0 / 1024);
}

TEST(SpeedMeter, StartsAtTheFirstReceiveWhenNotStarted) {
  SpeedMeter meter;
  EXPECT_FALSE(meter.add(100, 500));
  std::optional<double> rate = meter.add(100, 1500);
  ASSERT_TRUE(rate);
  EXPECT_DOUBLE_EQ(*rate, 200.0);
}

TEST(SpeedMeter, NegativeCountsAddNothing) {
  SpeedMeter meter;
  meter.start(0);
  meter.add(-7, 10);
  std::optional<double> rate = meter.add(0, 1000);
  ASSERT_TRUE(rate);
  EXPECT_DOUBLE_EQ(*rate, 0.0);
}

}  // namespace
