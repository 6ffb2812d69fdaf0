#pragma once
// One download task: its copied parameters, range book, message queue, phase and threads.
// The task thread delivers the queued messages; each connection runs on a thread of its own.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "download/download.h"
#include "download/download_target.h"
#include "download/engine_hooks.h"
#include "download/range_book.h"
#include "download/stop_signal.h"
#include "download/wait_clock.h"

namespace download {

// A task's life. Every change goes through Task::enter, which knows the allowed ones:
//   Running -> Stopping   the caller stops the task (stopDownload, releaseDownload)
//   Stopping -> Released  the caller has taken its snapshot
//   Running -> Closing    the last connection ended and every message was delivered
//   Released -> Closing   every message queued before the stop was delivered
enum class TaskPhase {
  Running,   // messages are queued and connections may start
  Stopping,  // the stop signal is set: no message is queued, no connection starts
  Released,  // the task thread may leave its loop
  Closing,   // the loop is left: connections are joined, the file closed, kTransferEnd sent
};

class Task : public std::enable_shared_from_this<Task> {
 public:
  using EndedHook = std::function<void(std::uint32_t id)>;

  Task(std::int32_t id, const TaskParam& param, const EngineHooks& hooks, EndedHook ended);
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  // Starts the task thread, which starts the first connection; false when no thread could
  // be made.
  bool launch();

  std::int32_t id() const { return id_; }
  const TaskParam& param() const { return param_; }
  WaitClock& clock() const { return *hooks_.clock; }
  TargetStore& store() const { return *hooks_.store; }
  const EngineHooks& hooks() const { return hooks_; }
  const StopSignal& stop() const { return stop_; }
  RangeBook& book() { return book_; }

  // --- the caller's side (stopDownload and the other operations)
  void requestStop();
  void waitForConnections(int stopWaitMs);
  ByteSet snapshot() const;
  void requestEnd();
  std::int32_t takeReceived() { return static_cast<std::int32_t>(stepBytes_.exchange(0)); }

  // --- the connections' side
  void queueEvent(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3);
  void queueText(std::int32_t connection, const std::string& text, std::int32_t level);
  // Counts `bytes` as consecutive steps of at most `block` bytes, each with its kDataReceived.
  void countSteps(std::int32_t connection, std::int64_t bytes, std::int64_t block);
  // Calls the event callback on the calling thread (kSameNameFile), once every message queued
  // before has been delivered; kNoAnswer when the task is stopped meanwhile.
  std::int32_t ask(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3);
  static constexpr std::int32_t kNoAnswer = -1;

  std::string url() const;
  void setUrl(const std::string& url);
  void setEndValue(std::int32_t value);

  // Set once by the first connection, before it starts any other connection.
  void setTarget(std::unique_ptr<DownloadTarget> target, const std::string& path);
  std::uint8_t* targetBytes() const;
  // The path text that kTransferStart carries; it lives as long as the task.
  const char* localPath() const;

  // Starts a further connection for range `index`, which it claims; false, and nothing
  // starts, once the task is no longer running or when the range was taken or completed
  // by a connection that got there first.
  bool startConnection(int index);
  int activeConnections() const;
  // Called by a connection's thread as its last act.
  void connectionEnded(std::int32_t number, bool normally, std::int64_t position);

 private:
  struct Message {
    bool isText = false;
    std::int32_t code = 0, p1 = 0, p2 = 0, p3 = 0;
    std::string time, text;
  };

  static unsigned __stdcall threadMain(void* self);
  void run();
  void deliver(const Message& message);
  void push(Message message);  // under mutex_
  // Under mutex_: starts a connection on range `index`, which the caller has claimed (-1:
  // the first connection, which learns the size).
  void launchConnection(int index);
  void joinConnections();
  // Under mutex_: moves to `to` where that change is allowed; false otherwise.
  bool enter(TaskPhase to);
  bool loopMayEnd() const;  // under mutex_

  // Fixed from the start on; read by every thread without a lock.
  const std::int32_t id_;
  const TaskParam param_;
  const EngineHooks hooks_;
  const EndedHook ended_;

  // Synchronised by themselves.
  StopSignal stop_;
  std::atomic<std::int64_t> stepBytes_{0};
  RangeBook book_;

  // Guarded by mutex_.
  mutable std::mutex mutex_;
  std::condition_variable wake_;       // the task thread: a message or the loop's end
  std::condition_variable idle_;       // the caller's stop: no connection left
  std::condition_variable delivered_;  // a question waiting for the messages before it
  TaskPhase phase_ = TaskPhase::Running;
  std::deque<Message> queue_;
  std::uint64_t queuedCount_ = 0;     // messages ever queued
  std::uint64_t deliveredCount_ = 0;  // of those, delivered
  int active_ = 0;
  // Connections that ended normally, each because it found no range to take: each takes up
  // one range that a failed connection gives back later.
  int idleEnds_ = 0;
  std::int32_t nextConnection_ = 1;
  std::vector<std::thread> threads_;
  std::string url_;
  std::int32_t endValue_ = 0;
  std::unique_ptr<DownloadTarget> target_;
  std::string localPath_;
};

// Waits until every task thread has ended, at most `ms`, serving the messages sent to the
// calling thread's windows meanwhile; true when none is left.
bool waitForTaskThreads(std::int32_t ms);

}  // namespace download
