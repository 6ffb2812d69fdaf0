#pragma once
// One download task: its copied parameters, range table, message queue and threads.
// The task thread delivers the queued messages; each connection runs on a thread of its own.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "updater/engine/download.h"
#include "updater/engine/download_target.h"
#include "updater/engine/range_table.h"
#include "updater/engine/url_parts.h"
#include "updater/engine/wait_clock.h"

namespace forms::engine {

class Task : public std::enable_shared_from_this<Task> {
 public:
  using EndedHook = std::function<void(std::uint32_t id)>;

  Task(std::int32_t id, const TaskParam& param, const UrlParts& parts, WaitClock& clock,
       TargetStore& store, EndedHook ended);
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;

  // Starts the task thread, which starts the first connection.
  void launch();

  std::int32_t id() const { return id_; }
  const TaskParam& param() const { return param_; }
  WaitClock& clock() const { return clock_; }
  TargetStore& store() const { return store_; }
  const std::atomic<bool>& stopFlag() const { return stopping_; }
  bool stopping() const { return stopping_.load(); }

  // --- the caller's side (stopDownload and the other operations)
  void requestStop();
  void waitForConnections(int stopWaitMs);
  ByteSet snapshot() const;
  void requestEnd();
  std::int32_t takeReceived() { return static_cast<std::int32_t>(stepBytes_.exchange(0)); }

  // --- the connections' side
  void queueEvent(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3);
  void queueText(std::int32_t connection, const std::string& text, std::int32_t level);
  // Calls the event callback at once on the calling thread (message 18).
  std::int32_t ask(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3);

  std::string url() const;
  void setUrl(const std::string& url);
  void setEndValue(std::int32_t value);

  void setTable(std::int64_t total, std::vector<Range> ranges);
  std::int64_t total() const;
  Range range(int index) const;
  // The first range that no connection serves and that is not complete, now served.
  std::optional<int> claimUnserved();
  void markServed(int index);
  void release(int index);
  void addReceived(int index, std::int64_t bytes);
  void countStep(std::int64_t bytes) { stepBytes_ += bytes; }

  void setTarget(std::unique_ptr<DownloadTarget> target, const std::string& path);
  std::uint8_t* targetBytes() const { return targetBytes_; }
  const std::string& localPath() const { return localPath_; }

  // Starts a further connection for range `index` (marked served); false once the task ends.
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

  void run();
  void deliver(const Message& message);
  bool finished() const;  // under mutex_

  const std::int32_t id_;
  const TaskParam param_;
  const UrlParts firstParts_;
  WaitClock& clock_;
  TargetStore& store_;
  const EndedHook ended_;

  std::atomic<bool> stopping_{false};
  std::atomic<std::int64_t> stepBytes_{0};

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Message> queue_;
  bool queueClosed_ = false;
  bool endRequested_ = false;
  bool stoppedByCaller_ = false;
  bool closing_ = false;
  int active_ = 0;
  std::int32_t nextConnection_ = 1;
  std::vector<std::thread> threads_;
  std::string url_;
  std::int32_t endValue_ = 0;
  std::int64_t total_ = 0;
  std::vector<Range> ranges_;
  std::vector<bool> served_;

  std::unique_ptr<DownloadTarget> target_;
  std::uint8_t* targetBytes_ = nullptr;
  std::string localPath_;
};

}  // namespace forms::engine
