#include "updater/transfer_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TransferLogLine, NamedAndUnknownCodes) {
  const struct {
    std::int32_t code;
    std::string line;
  } cases[] = {
      {3, " #传送常量.下载上传开始\r\n"},
      {4, " #传送常量.下载上传结束\r\n"},
      {6, " #传送常量.下载数据范围\r\n"},
      {7, " #传送常量.下载线程继续下载\r\n"},
      {8, " #传送常量.线程正常结束\r\n"},
      {9, " #传送常量.线程异常结束\r\n"},
      {16, " #传送常量.收到数据\r\n"},
      {18, " #传送常量.存在同名文件\r\n"},
      {5, "未知消息 5\r\n"},
      {17, "未知消息 17\r\n"},
      {-1, "未知消息 -1\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(updater::transferLogLine(c.code), c.line) << c.code;
}

TEST(RowCaptions, SizeAndSpeed) {
  EXPECT_EQ(updater::sizeCaption(1234567), "1234.57K");
  EXPECT_EQ(updater::sizeCaption(999), "1K");
  EXPECT_EQ(updater::sizeCaption(2048), "2.05K");
  EXPECT_EQ(updater::sizeCaption(0), "0K");
  EXPECT_EQ(updater::sizeCaption(-1), "0K");  // an unreadable state
  EXPECT_EQ(updater::speedCaption(20480), "20.48KB/s");
  EXPECT_EQ(updater::speedCaption(1500), "1.50KB/s");
  EXPECT_EQ(updater::speedCaption(0), "0.00KB/s");
  EXPECT_EQ(updater::speedCaption(1234567.891), "1234.57KB/s");
}

TEST(RowCaptions, ProgressPosition) {
  const struct {
    std::int32_t done, total, position;
  } cases[] = {
      {512, 1024, 50},   {1023, 1024, 99},
      {1024, 1024, 100}, {2048, 1024, 100},
      {0, 0, 0},         {5, 0, 0},
      {0, -1, 0},        {-1, -1, 100},
      {-1, 1024, 0},     {2000000000, 2100000000, 95},
  };
  for (const auto& c : cases)
    EXPECT_EQ(updater::progressPosition(c.done, c.total), c.position)
        << c.done << " of " << c.total;
}

}  // namespace
