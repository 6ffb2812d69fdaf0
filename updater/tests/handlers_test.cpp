// The updater's handlers in a process of their own, on the real runtime and window:
// the row and the log that the transfer messages leave, data steps that never wait for
// the window thread, the end of a task that did not arrive whole, a close during a
// download, and messages that come after the end-of-program routine. The process is started with a
// valid command line whose address the engine refuses, so the created event builds row 1 and no
// download runs by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "forms/runtime/runtime.h"
#include "forms/system/system_ops.h"
#include "forms/units/unit_table.h"
#include "test_support/loopback.h"
#include "updater/globals.h"
#include "updater/transfer_texts.h"
#include "generated/updater_units.h"
#include "generated/updater_handlers.h"

namespace updater {
namespace {

std::string text(forms::UnitRef unit, int index) {
  const forms::Value v = forms::getUnitProperty(unit, index);
  const auto* t = std::get_if<forms::Text>(&v);
  return t ? *t : std::string();
}

std::int32_t number(forms::UnitRef unit, int index) {
  const forms::Value v = forms::getUnitProperty(unit, index);
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return -99;
}

std::string log() { return text(updater_window::kLogBox, 8); }

// As the engine does: the callback on a thread of its own, while this (window) thread
// keeps serving messages.
std::int32_t fromEngineThread(std::int32_t code, std::int32_t taskId) {
  auto result =
      std::async(std::launch::async, [=] { return onTransferMessage(code, 0, 0, 0, taskId); });
  while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    forms::processEvents();
  return result.get();
}

// Serves the window thread long enough for the data steps' batch to be shown.
void serveDisplay() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 10 * kDisplayIntervalMs) {
    forms::processEvents();
    Sleep(1);
  }
}

class UpdaterHandlers : public testing::Test {
 public:
  static void SetUpTestSuite() {
    forms::startRuntime(forms::unitTable(), templateHandlers(), templateSegment());
    startDisplayPacing();
    initUpdaterGlobals();
    forms::loadStartWindow(kUpdaterWindow);  // runs the whole start, refused or not
  }

 protected:
  // Runs task 1 against a server that never answers, with the engine's own messages
  // kept away from the row, so the test alone decides what the handlers see.
  std::int32_t runSilentTask() {
    Globals& g = globals();
    download::releaseDownload(g.downloads[1]);  // the task of an earlier test
    download::TaskParam p = g.taskParams[1];
    p.url = server_.url("/gx/p.zip");
    p.eventCallback = nullptr;
    p.receiveTimeout = 60000;
    EXPECT_TRUE(download::startDownload(g.downloads[1], p));
    return download::getDownloadTaskId(g.downloads[1]);
  }

  // Never accepts: the task's connections wait in its backlog unanswered, so the task
  // stays running for as long as the test needs.
  test_support::LoopbackListener server_{8};
};

TEST_F(UpdaterHandlers, TheStartBuildsRowOneAndLogsTheTask) {
  Globals& g = globals();
  ASSERT_EQ(g.commandWords.count(), 6);
  ASSERT_EQ(g.taskRows.count(), 1);
  ASSERT_EQ(g.downloads.count(), 1);
  EXPECT_EQ(download::getDownloadTaskId(g.downloads[1]), -1);  // the address was refused
  const download::TaskParam& p = g.taskParams[1];
  EXPECT_EQ(p.mode, 4096);
  EXPECT_EQ(p.url, "nourl");
  EXPECT_EQ(p.ftpRemoteName, "Title");
  EXPECT_EQ(p.threadCount, 5);
  EXPECT_EQ(p.connectTimeout, 5000);
  EXPECT_EQ(p.sendTimeout, 5001);
  EXPECT_EQ(p.receiveTimeout, 10000);
  EXPECT_EQ(p.stopWait, 1000);
  EXPECT_EQ(p.receiveBlock, 20480);
  EXPECT_EQ(p.ftpUser, "anonymous");
  EXPECT_EQ(p.eventCallback, &onTransferMessage);
  EXPECT_EQ(p.localFile, forms::getRunDirectory() + "\\main_update\\temp1.zip");
  EXPECT_EQ(log(), "执行下载任务1");

  const TaskRow& row = g.taskRows[1];
  const struct {
    forms::UnitRef unit;
    std::int32_t left, top, visible;
  } layout[] = {
      {row.nameLabel, 2, 21, 1},     {row.sizeLabel, 124, 21, 1},  {row.progressBar, 184, 21, 0},
      {row.statusLabel, 184, 21, 1}, {row.speedLabel, 309, 21, 1}, {row.separatorLine, 1, 42, 1},
  };
  for (const auto& u : layout) {
    EXPECT_EQ(number(u.unit, forms::common::kLeft), u.left) << std::hex << u.unit.unit;
    EXPECT_EQ(number(u.unit, forms::common::kTop), u.top) << std::hex << u.unit.unit;
    EXPECT_EQ(number(u.unit, forms::common::kVisible), u.visible) << std::hex << u.unit.unit;
  }
}

TEST_F(UpdaterHandlers, MessagesOfAnUnknownTaskOnlyLogTheStart) {
  const std::string before = log();
  EXPECT_EQ(fromEngineThread(16, 12345), 1);
  EXPECT_EQ(fromEngineThread(4, 12345), 1);
  EXPECT_EQ(log(), before);
  EXPECT_EQ(fromEngineThread(3, 12345), 1);
  EXPECT_EQ(log(), before + " #传送常量.下载上传开始\r\n");
  EXPECT_EQ(text(globals().taskRows[1].statusLabel, 8), "");
}

// Their lines join the display batch, so they reach the log with the next display.
TEST_F(UpdaterHandlers, OtherCodesAreLoggedByName) {
  const std::string before = log();
  for (std::int32_t code : {5, 6, 7, 8, 9, 18, 42}) EXPECT_EQ(fromEngineThread(code, 1), 1);
  serveDisplay();
  EXPECT_EQ(log(), before +
                       "未知消息 5\r\n #传送常量.下载数据范围\r\n #传送常量.下载线程继续下载\r\n"
                       " #传送常量.线程正常结束\r\n #传送常量.线程异常结束\r\n"
                       " #传送常量.存在同名文件\r\n未知消息 42\r\n");
}

// The same-name question comes on a connection's thread, while the window thread may sit in
// a stop's wait for that very connection: it is answered (give up) without the window
// thread, and its line reaches the log with the next display.
TEST_F(UpdaterHandlers, TheSameNameQuestionIsAnsweredWithoutTheWindowThread) {
  const std::string before = log();
  auto answer = std::async(std::launch::async, [] { return onTransferMessage(18, 7, 9, 0, 1); });
  const bool answeredAlone = answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  // An answer that waits for this thread is let through, so that a failure ends the test.
  while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    forms::processEvents();
  EXPECT_TRUE(answeredAlone);
  EXPECT_EQ(answer.get(), download::kGiveUp);
  EXPECT_EQ(log(), before);
  serveDisplay();
  EXPECT_EQ(log(), before + " #传送常量.存在同名文件\r\n");
}

TEST_F(UpdaterHandlers, ARowFollowsItsTaskAndAShortDownloadIsNotInstalled) {
  Globals& g = globals();
  const TaskRow& row = g.taskRows[1];
  const std::int32_t taskId = runSilentTask();
  ASSERT_NE(taskId, -1);
  const std::string before = log();

  fromEngineThread(3, taskId);
  EXPECT_EQ(text(row.nameLabel, 8), "Title");
  EXPECT_EQ(text(row.statusLabel, 8), "下载开始");
  EXPECT_EQ(number(row.statusLabel, forms::common::kVisible), 1);
  EXPECT_EQ(number(row.progressBar, forms::common::kVisible), 0);

  fromEngineThread(16, taskId);
  serveDisplay();
  EXPECT_EQ(number(row.statusLabel, forms::common::kVisible), 0);
  EXPECT_EQ(number(row.progressBar, forms::common::kVisible), 1);
  EXPECT_EQ(number(row.progressBar, forms::super_bar::kPosition),
            0);  // nothing received of no known size

  // The package file exists while the task runs; a task that ends short removes it.
  const forms::Text package = forms::getRunDirectory() + "\\main_update\\temp1.zip";
  CloseHandle(CreateFileA(package.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  fromEngineThread(4, taskId);
  EXPECT_EQ(number(row.progressBar, forms::common::kVisible), 0);
  EXPECT_EQ(number(row.statusLabel, forms::common::kVisible), 1);
  EXPECT_EQ(text(row.statusLabel, 8), "下载失败");
  EXPECT_EQ(text(row.speedLabel, 8), "");
  EXPECT_EQ(log(),
            before +
                " #传送常量.下载上传开始\r\n #传送常量.收到数据\r\n #传送常量.下载上传结束\r\n" +
                kLogNotInstalled);
  EXPECT_EQ(GetFileAttributesA(package.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The engine's thread goes on while the window thread serves nothing; the end message
// shows every data line before its own, and more of them than an edit box holds by
// default.
TEST_F(UpdaterHandlers, DataStepsNeverWaitForTheWindowAndTheEndShowsThemAllFirst) {
  const TaskRow& row = globals().taskRows[1];
  const std::int32_t taskId = runSilentTask();
  ASSERT_NE(taskId, -1);
  fromEngineThread(3, taskId);
  const std::string before = log();
  constexpr int kSteps = 3000;
  auto steps = std::async(std::launch::async, [=] {
    for (int i = 0; i < kSteps; ++i) onTransferMessage(16, 0, 20480, 0, taskId);
  });
  ASSERT_EQ(steps.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_EQ(log(), before);  // nothing shown without the window thread
  EXPECT_EQ(number(row.statusLabel, forms::common::kVisible), 1);

  fromEngineThread(4, taskId);
  std::string expected = before;
  for (int i = 0; i < kSteps; ++i) expected += " #传送常量.收到数据\r\n";
  expected += " #传送常量.下载上传结束\r\n";
  expected += kLogNotInstalled;
  EXPECT_EQ(log(), expected);
  EXPECT_EQ(number(row.progressBar, forms::common::kVisible), 0);
  EXPECT_EQ(number(row.statusLabel, forms::common::kVisible), 1);
  EXPECT_EQ(text(row.statusLabel, 8), "下载失败");
}

TEST_F(UpdaterHandlers, TheCloseQueryStopsTheDownloadSoItsEndMessageFindsNoTask) {
  Globals& g = globals();
  const std::int32_t taskId = runSilentTask();
  ASSERT_NE(taskId, -1);
  const forms::HandlerResult result = onUpdaterWindowCloseQuery(forms::Event{});
  ASSERT_TRUE(result && std::holds_alternative<bool>(*result));
  EXPECT_TRUE(std::get<bool>(*result));
  EXPECT_EQ(download::getDownloadTaskId(g.downloads[1]), -1);
  const std::string before = log();
  const std::string status = text(g.taskRows[1].statusLabel, 8);
  fromEngineThread(4, taskId);
  EXPECT_EQ(log(), before);
  EXPECT_EQ(text(g.taskRows[1].statusLabel, 8), status);
}

TEST_F(UpdaterHandlers, APackageThatDoesNotUnpackIsNotInstalled) {
  const forms::Text r = forms::getRunDirectory();
  forms::createDirectory(r + "\\main_update");
  const forms::Text package = r + "\\main_update\\temp1.zip";
  const HANDLE file =
      CreateFileA(package.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  static const char kNotAnArchive[] = "PK\3\4 and then no archive at all, only text";
  DWORD written = 0;
  WriteFile(file, kNotAnArchive, sizeof kNotAnArchive - 1, &written, nullptr);
  CloseHandle(file);
  const std::string before = log();

  forms::Event feedback;
  feedback.source = updater_window::kInstallLabel;
  feedback.args = {1, 0};
  EXPECT_FALSE(onInstallRequested(feedback));  // it returns: the program goes on
  EXPECT_EQ(text(globals().taskRows[1].statusLabel, 8), "安装失败");
  EXPECT_EQ(log(), before + kLogUnpackFailed);
  EXPECT_EQ(GetFileAttributesA(package.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((r + "\\e_update").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Runs last: the end-of-program routine frees the globals.
TEST_F(UpdaterHandlers, MessagesAfterTheEndRoutineTouchNothing) {
  const std::int32_t taskId = runSilentTask();
  const std::string before = log();
  releaseUpdaterGlobals();
  EXPECT_TRUE(globals().downloads.empty());
  for (std::int32_t code : {3, 16, 4, 6, 18}) EXPECT_EQ(fromEngineThread(code, taskId), 1);
  EXPECT_EQ(log(), before);
}

}  // namespace
}  // namespace updater
