#include "updater/engine/task.h"

#include <windows.h>

#include <chrono>

#include "updater/engine/connection.h"
#include "updater/engine/time_text.h"

namespace forms::engine {

namespace {

// Data steps wake no one (a wake-up per step halves the throughput): the task thread
// hands them on at least this often. Every other message wakes it at once.
constexpr auto kQueuePoll = std::chrono::milliseconds(100);
constexpr int kStopStepMs = 20;

std::string timeTextNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return formatTimeText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

}  // namespace

Task::Task(std::int32_t id, const TaskParam& param, const UrlParts& parts, WaitClock& clock,
           TargetStore& store, EndedHook ended)
    : id_(id), param_(param), firstParts_(parts), clock_(clock), store_(store),
      ended_(std::move(ended)), url_(param.url) {}

void Task::launch() {
  std::shared_ptr<Task> self = shared_from_this();
  std::thread([self] { self->run(); }).detach();
}

void Task::run() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++active_;
    std::shared_ptr<Task> self = shared_from_this();
    threads_.emplace_back([self] { runConnection(self, 1, -1); });
    nextConnection_ = 2;
  }
  for (;;) {
    std::deque<Message> batch;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait_for(lock, kQueuePoll, [this] { return !queue_.empty() || finished(); });
      if (queue_.empty() && finished()) {
        queueClosed_ = true;
        closing_ = true;
        break;
      }
      batch.swap(queue_);
    }
    // No lock is held while a callback runs: it may block or call back into the engine.
    for (const Message& message : batch) deliver(message);
  }

  // Join every connection before the file goes: none may write into a closed mapping.
  for (;;) {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      threads.swap(threads_);
    }
    if (threads.empty()) break;
    for (std::thread& thread : threads) thread.join();
  }

  std::int32_t p2;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    target_.reset();
    targetBytes_ = nullptr;
    if (stoppedByCaller_) {
      std::int64_t received = 0;
      for (const Range& range : ranges_) received += range.received;
      p2 = static_cast<std::int32_t>(received);
    } else {
      p2 = endValue_;
    }
  }
  if (param_.eventCallback) param_.eventCallback(kTransferEnd, id_, p2, 0, id_);
  ended_(static_cast<std::uint32_t>(id_));
}

bool Task::finished() const {
  if (endRequested_) return true;
  return active_ == 0 && !stoppedByCaller_;
}

void Task::deliver(const Message& message) {
  if (message.isText) {
    if (param_.textCallback)
      param_.textCallback(message.p1, message.time.c_str(), message.text.c_str(), message.code, id_);
  } else if (param_.eventCallback) {
    param_.eventCallback(message.code, message.p1, message.p2, message.p3, id_);
  }
}

void Task::requestStop() {
  std::lock_guard<std::mutex> lock(mutex_);
  stopping_ = true;
  stoppedByCaller_ = true;
  queueClosed_ = true;
}

void Task::waitForConnections(int stopWaitMs) {
  for (int step = 0; step < stopWaitMs / kStopStepMs && activeConnections() > 0; ++step)
    Sleep(kStopStepMs);
}

ByteSet Task::snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  StateSettings settings{param_.threadCount, param_.receiveBlock, param_.speedLimit};
  if (ranges_.empty()) return encodeState(0, {Range{}}, settings);
  return encodeState(total_, ranges_, settings);
}

void Task::requestEnd() {
  std::lock_guard<std::mutex> lock(mutex_);
  endRequested_ = true;
  wake_.notify_all();
}

void Task::queueEvent(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queueClosed_) return;
  Message message;
  message.code = code;
  message.p1 = p1;
  message.p2 = p2;
  message.p3 = p3;
  queue_.push_back(std::move(message));
  if (code != kDataReceived) wake_.notify_all();
}

void Task::queueText(std::int32_t connection, const std::string& text, std::int32_t level) {
  if (!param_.textCallback) return;
  Message message;
  message.isText = true;
  message.p1 = connection;
  message.code = level;
  message.time = timeTextNow();
  message.text = text;
  std::lock_guard<std::mutex> lock(mutex_);
  if (queueClosed_) return;
  queue_.push_back(std::move(message));
  wake_.notify_all();
}

std::int32_t Task::ask(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3) {
  return param_.eventCallback ? param_.eventCallback(code, p1, p2, p3, id_) : 0;
}

std::string Task::url() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return url_;
}

void Task::setUrl(const std::string& url) {
  std::lock_guard<std::mutex> lock(mutex_);
  url_ = url;
}

void Task::setEndValue(std::int32_t value) {
  std::lock_guard<std::mutex> lock(mutex_);
  endValue_ = value;
}

void Task::setTable(std::int64_t total, std::vector<Range> ranges) {
  std::lock_guard<std::mutex> lock(mutex_);
  total_ = total;
  ranges_ = std::move(ranges);
  served_.assign(ranges_.size(), false);
}

std::int64_t Task::total() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return total_;
}

Range Task::range(int index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ranges_[static_cast<std::size_t>(index)];
}

std::optional<int> Task::claimUnserved() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < ranges_.size(); ++i) {
    if (!served_[i] && ranges_[i].received < ranges_[i].length) {
      served_[i] = true;
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

void Task::markServed(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  served_[static_cast<std::size_t>(index)] = true;
}

void Task::release(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  served_[static_cast<std::size_t>(index)] = false;
}

void Task::addReceived(int index, std::int64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  ranges_[static_cast<std::size_t>(index)].received += bytes;
}

void Task::setTarget(std::unique_ptr<DownloadTarget> target, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  target_ = std::move(target);
  targetBytes_ = target_->bytes();
  localPath_ = path;
}

bool Task::startConnection(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closing_ || stopping_) return false;
  served_[static_cast<std::size_t>(index)] = true;
  ++active_;
  std::int32_t number = nextConnection_++;
  std::shared_ptr<Task> self = shared_from_this();
  threads_.emplace_back([self, number, index] { runConnection(self, number, index); });
  return true;
}

int Task::activeConnections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return active_;
}

void Task::connectionEnded(std::int32_t number, bool normally, std::int64_t position) {
  queueEvent(normally ? kConnectionEnded : kConnectionFailed, number,
             static_cast<std::int32_t>(position), 0);
  std::lock_guard<std::mutex> lock(mutex_);
  --active_;
  wake_.notify_all();
}

}  // namespace forms::engine
