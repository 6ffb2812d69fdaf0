#include "updater/display_batch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using updater::DisplayBatch;
using updater::DisplayWork;

TEST(DisplayBatch, KeepsEveryLineInOrderAndTheLatestRowValues) {
  DisplayBatch batch;
  EXPECT_TRUE(batch.addDataStep(1, std::nullopt, 3, "a\r\n"));
  EXPECT_FALSE(batch.addDataStep(1, forms::Text("1.00KB/s"), 7, "b\r\n"));
  EXPECT_FALSE(batch.addDataStep(2, std::nullopt, 50, "c\r\n"));
  EXPECT_FALSE(batch.addDataStep(1, std::nullopt, 9, "d\r\n"));

  DisplayWork work = batch.take();
  EXPECT_EQ(work.log, "a\r\nb\r\nc\r\nd\r\n");
  ASSERT_EQ(work.rows.size(), 2u);
  EXPECT_EQ(work.rows[1].speedCaption,
            forms::Text("1.00KB/s"));  // a later step without one keeps it
  EXPECT_EQ(work.rows[1].barPosition, 9);
  EXPECT_FALSE(work.rows[2].speedCaption);
  EXPECT_EQ(work.rows[2].barPosition, 50);

  EXPECT_TRUE(batch.take().empty());
  EXPECT_TRUE(
      batch.addDataStep(1, forms::Text("2.00KB/s"), 10, "e\r\n"));  // a new batch wakes again
  work = batch.take();
  EXPECT_EQ(work.log, "e\r\n");
  EXPECT_EQ(work.rows[1].speedCaption, forms::Text("2.00KB/s"));
}

// Steps of several threads while another takes: no line is lost or reordered within its
// thread, and every batch that holds anything was announced by exactly one wake.
TEST(DisplayBatch, ConcurrentStepsLoseNothingAndEveryBatchIsAnnounced) {
  constexpr int kThreads = 4;
  constexpr int kSteps = 5000;
  DisplayBatch batch;
  std::atomic<int> wakes{0};
  std::atomic<bool> done{false};
  std::string taken;
  int nonEmptyTakes = 0;
  std::thread taker([&] {
    for (;;) {
      const bool last = done.load();
      DisplayWork work = batch.take();
      if (!work.empty()) {
        ++nonEmptyTakes;
        taken += work.log;
      }
      if (last) return;
      std::this_thread::yield();
    }
  });
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t)
    senders.emplace_back([&, t] {
      for (int i = 0; i < kSteps; ++i)
        if (batch.addDataStep(1, std::nullopt, i,
                              std::to_string(t) + ":" + std::to_string(i) + "\n"))
          ++wakes;
    });
  for (std::thread& s : senders) s.join();
  done = true;
  taker.join();

  EXPECT_EQ(wakes.load(), nonEmptyTakes);
  std::vector<int> next(kThreads, 0);
  std::size_t at = 0;
  int lines = 0;
  while (at < taken.size()) {
    const std::size_t end = taken.find('\n', at);
    ASSERT_NE(end, std::string::npos);
    const std::string line = taken.substr(at, end - at);
    const int t = std::stoi(line.substr(0, line.find(':')));
    EXPECT_EQ(std::stoi(line.substr(line.find(':') + 1)), next[t]++) << line;
    ++lines;
    at = end + 1;
  }
  EXPECT_EQ(lines, kThreads * kSteps);
}

}  // namespace
