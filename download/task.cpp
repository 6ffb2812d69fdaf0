#include "download/task.h"

#include <windows.h>
#include <process.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "base/handles.h"
#include "download/connection.h"
#include "download/time_text.h"

namespace download {

namespace {

// Data steps wake no one (a wake-up per step halves the throughput): the task thread
// hands them on at least this often. Every other message wakes it at once.
constexpr auto kQueuePoll = std::chrono::milliseconds(100);

// The task threads, so that the end of the process can wait for them: a thread that the
// exit kills while it frees memory may leave the heap's lock held, and the exit's own
// clean-up then waits for that lock forever.
class TaskThreads {
 public:
  void add(base::KernelHandle thread) {
    std::lock_guard<std::mutex> lock(mutex_);
    dropEnded(threads_);
    threads_.push_back(std::move(thread));
  }

  bool waitForAll(std::int32_t ms) {
    std::vector<base::KernelHandle> waiting;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      waiting.swap(threads_);
    }
    const DWORD start = GetTickCount();
    const DWORD limit = static_cast<DWORD>(std::max(ms, 0));
    for (const base::KernelHandle& thread : waiting)
      if (!waitServingSentMessages(thread.get(), start, limit)) break;
    dropEnded(waiting);
    std::lock_guard<std::mutex> lock(mutex_);
    const bool none = waiting.empty() && threads_.empty();
    for (base::KernelHandle& thread : waiting) threads_.push_back(std::move(thread));
    return none;
  }

 private:
  static void dropEnded(std::vector<base::KernelHandle>& threads) {
    threads.erase(std::remove_if(threads.begin(), threads.end(),
                                 [](const base::KernelHandle& t) {
                                   return WaitForSingleObject(t.get(), 0) == WAIT_OBJECT_0;
                                 }),
                  threads.end());
  }

  // A task thread's callback may wait for the waiting thread (a SendMessage to one of its
  // windows): those messages are answered while the wait goes on.
  static bool waitServingSentMessages(HANDLE thread, DWORD start, DWORD limit) {
    for (;;) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= limit) return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
      DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, limit - spent, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) return true;
      if (r != WAIT_OBJECT_0 + 1) return false;
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }

  std::mutex mutex_;
  std::vector<base::KernelHandle> threads_;
};

TaskThreads& taskThreads() {
  static TaskThreads* threads = new TaskThreads;  // reached until the process ends
  return *threads;
}

std::string timeTextNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return formatTimeText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

}  // namespace

Task::Task(std::int32_t id, const TaskParam& param, const EngineHooks& hooks, EndedHook ended)
    : id_(id), param_(param), hooks_(hooks), ended_(std::move(ended)), url_(param.url) {}

bool Task::launch() {
  auto self = std::make_unique<std::shared_ptr<Task>>(shared_from_this());
  auto thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &Task::threadMain, self.get(), 0, nullptr));
  if (!thread) return false;
  self.release();  // the thread owns it now
  taskThreads().add(base::KernelHandle(thread));
  return true;
}

unsigned __stdcall Task::threadMain(void* self) {
  // The task goes with this pointer, on this thread, before the thread ends.
  std::unique_ptr<std::shared_ptr<Task>> task(static_cast<std::shared_ptr<Task>*>(self));
  (*task)->run();
  return 0;
}

bool Task::enter(TaskPhase to) {
  bool allowed = false;
  switch (to) {
    case TaskPhase::Running: break;
    case TaskPhase::Stopping: allowed = phase_ == TaskPhase::Running; break;
    case TaskPhase::Released: allowed = phase_ == TaskPhase::Stopping; break;
    case TaskPhase::Closing:
      allowed = phase_ == TaskPhase::Released || (phase_ == TaskPhase::Running && active_ == 0);
      break;
  }
  if (!allowed) return false;
  phase_ = to;
  if (to == TaskPhase::Stopping) stop_.set();
  wake_.notify_all();
  delivered_.notify_all();
  return true;
}

bool Task::loopMayEnd() const {
  return phase_ == TaskPhase::Released || (phase_ == TaskPhase::Running && active_ == 0);
}

void Task::run() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    launchConnection(-1);
  }
  bool stoppedByCaller = false;
  std::size_t handed = 0;  // messages of the last batch
  for (;;) {
    std::deque<Message> batch;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      deliveredCount_ += handed;
      delivered_.notify_all();
      wake_.wait_for(lock, kQueuePoll, [this] { return !queue_.empty() || loopMayEnd(); });
      if (queue_.empty() && loopMayEnd()) {
        stoppedByCaller = phase_ == TaskPhase::Released;
        enter(TaskPhase::Closing);
        break;
      }
      batch.swap(queue_);
    }
    // No lock is held while a callback runs: it may block or call back into the engine.
    for (const Message& message : batch) deliver(message);
    handed = batch.size();
  }

  // Every connection is joined before the file goes: none may write into a closed mapping.
  joinConnections();
  std::int32_t p2 = stoppedByCaller ? static_cast<std::int32_t>(book_.received()) : 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    target_.reset();
    if (!stoppedByCaller) p2 = endValue_;
  }
  if (param_.eventCallback) param_.eventCallback(kTransferEnd, id_, p2, 0, id_);
  ended_(static_cast<std::uint32_t>(id_));
}

void Task::joinConnections() {
  for (;;) {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      threads.swap(threads_);
    }
    if (threads.empty()) return;
    for (std::thread& thread : threads) thread.join();
  }
}

void Task::deliver(const Message& message) {
  if (message.isText) {
    if (param_.textCallback)
      param_.textCallback(message.p1, message.time.c_str(), message.text.c_str(), message.code,
                          id_);
  } else if (param_.eventCallback) {
    param_.eventCallback(message.code, message.p1, message.p2, message.p3, id_);
  }
}

void Task::requestStop() {
  std::lock_guard<std::mutex> lock(mutex_);
  enter(TaskPhase::Stopping);
}

void Task::waitForConnections(int stopWaitMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait_for(lock, std::chrono::milliseconds(std::max(stopWaitMs, 0)),
                 [this] { return active_ == 0; });
}

ByteSet Task::snapshot() const {
  return book_.snapshot({param_.threadCount, param_.receiveBlock, param_.speedLimit});
}

void Task::requestEnd() {
  std::lock_guard<std::mutex> lock(mutex_);
  enter(TaskPhase::Released);
}

void Task::queueEvent(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (phase_ != TaskPhase::Running) return;
  Message message;
  message.code = code;
  message.p1 = p1;
  message.p2 = p2;
  message.p3 = p3;
  push(std::move(message));
  if (code != kDataReceived) wake_.notify_all();
}

void Task::countSteps(std::int32_t connection, std::int64_t bytes, std::int64_t block) {
  stepBytes_ += bytes;
  std::lock_guard<std::mutex> lock(mutex_);
  if (phase_ != TaskPhase::Running) return;
  for (std::int64_t left = bytes; left > 0; left -= block) {
    Message message;
    message.code = kDataReceived;
    message.p1 = connection;
    message.p2 = static_cast<std::int32_t>(std::min(left, block));
    push(std::move(message));
  }
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
  if (phase_ != TaskPhase::Running) return;
  push(std::move(message));
  wake_.notify_all();
}

void Task::push(Message message) {
  queue_.push_back(std::move(message));
  ++queuedCount_;
}

std::int32_t Task::ask(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3) {
  if (hooks_.beforeSameNameQuestion) hooks_.beforeSameNameQuestion();
  {
    // The question may not overtake what this connection reported before it. A stop breaks
    // the wait off: the caller's thread may wait for this connection.
    std::unique_lock<std::mutex> lock(mutex_);
    const std::uint64_t before = queuedCount_;
    delivered_.wait(lock,
                    [&] { return deliveredCount_ >= before || phase_ != TaskPhase::Running; });
    if (phase_ != TaskPhase::Running) return kNoAnswer;
  }
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

void Task::setTarget(std::unique_ptr<DownloadTarget> target, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  target_ = std::move(target);
  localPath_ = path;
}

std::uint8_t* Task::targetBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return target_ ? target_->bytes() : nullptr;
}

const char* Task::localPath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return localPath_.c_str();
}

bool Task::startConnection(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (phase_ != TaskPhase::Running || !book_.claim(index)) return false;
  launchConnection(index);
  return true;
}

void Task::launchConnection(int index) {
  ++active_;
  std::int32_t number = nextConnection_++;
  std::shared_ptr<Task> self = shared_from_this();
  threads_.emplace_back([self, number, index] { runConnection(self, number, index); });
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
  // A connection that failed gives its range back as it ends, which may be after every
  // other connection looked for a range to take and ended. The last to end then starts a
  // connection for it, once for each connection that ended with nothing to take.
  if (normally) ++idleEnds_;
  if (active_ == 0 && idleEnds_ > 0 && phase_ == TaskPhase::Running) {
    if (std::optional<int> index = book_.claimUnserved()) {
      --idleEnds_;
      launchConnection(*index);
    }
  }
  wake_.notify_all();
  if (active_ == 0) idle_.notify_all();
}

bool waitForTaskThreads(std::int32_t ms) { return taskThreads().waitForAll(ms); }

}  // namespace download
