// The engine's operations. A Download holds only a task's id; the running tasks are kept
// here, so that a task which ends by itself needs no pointer back into its caller's object.
#include "download/download.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "download/engine_hooks.h"
#include "download/socket_stream.h"
#include "download/task.h"
#include "download/url_parts.h"

namespace download {

namespace {

class Registry {
 public:
  std::shared_ptr<Task> find(std::uint32_t id) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = tasks_.find(id);
    return it == tasks_.end() ? nullptr : it->second;
  }

  // The id for a new task: never 0 (idle) or -1 (what an idle object reports).
  std::uint32_t nextId() {
    std::lock_guard<std::mutex> lock(mutex_);
    do {
      ++last_;
    } while (last_ == 0 || last_ == 0xFFFFFFFFu || tasks_.count(last_) != 0);
    return last_;
  }

  void add(std::uint32_t id, std::shared_ptr<Task> task) {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_[id] = std::move(task);
  }

  void remove(std::uint32_t id) {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.erase(id);
  }

 private:
  std::mutex mutex_;
  std::map<std::uint32_t, std::shared_ptr<Task>> tasks_;
  std::uint32_t last_ = 0;
};

Registry& registry() {
  static Registry* instance = new Registry;  // outlives task threads still ending at exit
  return *instance;
}

std::shared_ptr<Task> running(const Download& download) {
  return download.task == 0 ? nullptr : registry().find(download.task);
}

// Stops the task and detaches it; the snapshot is taken after the connections' wait.
ByteSet stopTask(Download& download, Task& task) {
  task.requestStop();
  task.waitForConnections(task.param().stopWait);
  ByteSet state = task.snapshot();
  registry().remove(static_cast<std::uint32_t>(task.id()));
  download.task = 0;
  task.requestEnd();
  return state;
}

}  // namespace

bool startDownloadWith(Download& download, const TaskParam& param, const EngineHooks& hooks) {
  if (running(download)) return false;
  std::optional<UrlParts> parts = parseUrl(param.url);
  if (!parts) return false;
  startWinsock();
  TaskParam copy = param;
  copy.mode |= kModeDownload;
  // Texts that end up in request headers must not carry line breaks.
  for (Text* text : {&copy.referer, &copy.proxy})
    text->erase(std::remove_if(text->begin(), text->end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                text->end());
  std::uint32_t id = registry().nextId();
  auto task = std::make_shared<Task>(static_cast<std::int32_t>(id), copy, hooks,
                                     [](std::uint32_t ended) { registry().remove(ended); });
  registry().add(id, task);
  if (!task->launch()) {
    registry().remove(id);
    return false;
  }
  download.task = id;
  return true;
}

bool startDownload(Download& download, const TaskParam& param) {
  return startDownloadWith(download, param, EngineHooks{});
}

bool stopDownload(Download& download, ByteSet& state, std::int32_t) {
  std::shared_ptr<Task> task = running(download);
  if (!task) return false;
  state = stopTask(download, *task);
  return true;
}

void releaseDownload(Download& download) {
  if (std::shared_ptr<Task> task = running(download)) stopTask(download, *task);
}

std::int32_t takeReceivedBytes(const Download& download) {
  std::shared_ptr<Task> task = running(download);
  return task ? task->takeReceived() : 0;
}

bool getDownloadState(const Download& download, ByteSet& state) {
  std::shared_ptr<Task> task = running(download);
  if (!task) return false;
  state = task->snapshot();
  return true;
}

std::int32_t getDownloadTaskId(const Download& download) {
  std::shared_ptr<Task> task = running(download);
  return task ? task->id() : -1;
}

bool waitForTasksToEnd(std::int32_t ms) { return waitForTaskThreads(ms); }

std::int32_t readStateValue(const Download&, const ByteSet& state, std::int32_t code,
                            std::int32_t range) {
  return stateValue(state, code, range);
}

}  // namespace download
