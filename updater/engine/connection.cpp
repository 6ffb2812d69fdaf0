#include "updater/engine/connection.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>

#include "updater/engine/engine_texts.h"
#include "updater/engine/http_reply.h"
#include "updater/engine/http_request.h"
#include "updater/engine/same_name.h"
#include "updater/engine/socket_stream.h"
#include "updater/engine/task.h"

namespace forms::engine {

namespace {

constexpr std::size_t kBufferSize = 20480;
constexpr int kRetryLimit = 999;
constexpr int kRetryWaitSeconds = 5;
// Redirects followed in one task before the address counts as unusable (a loop).
constexpr int kRedirectLimit = 10;
// Sizes the 32-bit messages and the mapping can carry.
constexpr std::int64_t kLargestFile = std::numeric_limits<std::int32_t>::max();

enum class Step { Ok, Passing, Definite, Stopped };

class Connection {
 public:
  Connection(Task& task, std::int32_t number, int rangeIndex)
      : task_(task), number_(number), rangeIndex_(rangeIndex), buffer_(kBufferSize) {}

  bool run() {
    task_.queueEvent(kConnectionStarted, number_, 0, 0);
    bool ok = rangeIndex_ < 0 ? runFirst() : runFurther();
    if (rangeIndex_ >= 0 && !ok) task_.release(rangeIndex_);
    return ok;
  }

  std::int64_t positionReached() const {
    if (rangeIndex_ < 0) return 0;
    Range range = task_.range(rangeIndex_);
    return range.start + range.received;
  }

 private:
  void text(const std::string& message, std::int32_t level) {
    task_.queueText(number_, message, level);
  }

  std::int64_t real(std::int64_t ms) const { return task_.clock().realMs(ms); }

  // Connect, send the request and read the reply header; the body bytes that came with
  // the header are left in body_.
  Step exchange(const std::string& url, const UrlParts& parts, std::optional<std::int64_t> rangeStart,
                std::string& header) {
    const TaskParam& param = task_.param();
    socket_.close();
    body_.clear();
    if (parts.scheme != Scheme::Http || (param.mode & kModeUpload) != 0) {
      // Only HTTP downloads are spoken; the other schemes fail at connect time.
      text(texts::format(texts::kConnectFailed, parts.host.c_str(), parts.port), kTextError);
      return Step::Definite;
    }
    std::string host = parts.host;
    int port = parts.port;
    bool viaProxy = !param.proxy.empty();
    if (viaProxy) {
      std::size_t colon = param.proxy.find(':');
      host = param.proxy.substr(0, colon);
      port = colon == std::string::npos ? 80 : std::atoi(param.proxy.c_str() + colon + 1);
    }
    in_addr address{};
    if (!isDottedAddress(host)) text(texts::format(texts::kResolving, host.c_str()), kTextProgress);
    if (!lookUpHost(host, address)) {
      text(texts::format(texts::kResolveFailed, host.c_str()), kTextError);
      return Step::Passing;
    }
    text(texts::format(texts::kConnecting, host.c_str(), port), kTextProgress);
    IoResult r = connectTo(socket_, address, port, real(param.connectTimeout), task_.stopFlag());
    if (r == IoResult::Stopped) return Step::Stopped;
    if (r == IoResult::TimedOut) {
      text(texts::format(texts::kConnectTimedOut, host.c_str(), port), kTextError);
      return Step::Passing;
    }
    if (r != IoResult::Ok) {
      text(texts::format(texts::kConnectFailed, host.c_str(), port), kTextError);
      return Step::Passing;
    }
    text(texts::format(rangeStart ? texts::kConnectedRange : texts::kConnectedFirst, host.c_str(), port),
         kTextProgress);

    std::string request = buildRequest(url, parts, param.referer, rangeStart, viaProxy);
    text(request, kTextRequest);
    r = sendAll(socket_, request, real(param.sendTimeout), task_.stopFlag());
    if (r == IoResult::Stopped) return Step::Stopped;
    if (r != IoResult::Ok) {
      text(texts::kSendFailed, kTextError);
      return Step::Passing;
    }
    if (rangeStart && !sentRangeMessage_) {
      sentRangeMessage_ = true;
      task_.queueEvent(kRangeBegun, number_, static_cast<std::int32_t>(*rangeStart),
                       static_cast<std::int32_t>(own_.start + own_.length));
    }

    std::string received;
    std::uint8_t piece[kHeaderPiece];
    for (;;) {
      std::size_t headerEnd = 0;
      HeaderScan scan = scanHeader(received, headerEnd);
      if (scan == HeaderScan::TooLong) {
        text(texts::kHeaderTooLong, kTextError);
        return Step::Definite;
      }
      if (scan == HeaderScan::Complete) {
        header = received.substr(0, headerEnd);
        body_.assign(received.begin() + static_cast<std::ptrdiff_t>(headerEnd), received.end());
        text(header, kTextReplyHeader);
        return Step::Ok;
      }
      std::size_t got = 0;
      r = receiveSome(socket_, piece, sizeof piece, got, real(param.receiveTimeout), task_.stopFlag());
      if (r == IoResult::Stopped) return Step::Stopped;
      if (r != IoResult::Ok) return Step::Passing;
      received.append(reinterpret_cast<const char*>(piece), got);
    }
  }

  // Waits before the next attempt; false when no attempt may follow.
  bool mayRetry() {
    if (task_.stopping() || ++retries_ > kRetryLimit) return false;
    socket_.close();
    text(texts::format(texts::kRetryWait, kRetryWaitSeconds), kTextProgress);
    return sleepUnlessStopped(real(kRetryWaitSeconds * 1000), task_.stopFlag());
  }

  bool runFirst() {
    std::string url = task_.url();
    UrlParts parts = *parseUrl(url);
    int redirects = 0;
    Verdict verdict;
    std::optional<ReplyHeader> reply;
    for (;;) {
      std::string header;
      Step step = exchange(url, parts, std::nullopt, header);
      if (step == Step::Passing && mayRetry()) continue;
      if (step != Step::Ok) return false;
      reply = parseReplyHeader(header);
      verdict = judgeFirstReply(reply, parts);
      if (verdict.kind == Verdict::Fail) {
        text(verdict.text, kTextError);
        task_.setEndValue(verdict.endValue);
        return false;
      }
      if (verdict.kind == Verdict::Accept) break;
      text(texts::format(texts::kRedirecting, verdict.location.c_str()), kTextError);
      if (++redirects > kRedirectLimit) {
        text(texts::kBadLocation, kTextError);
        return false;
      }
      url = verdict.location;
      parts = *parseUrl(url);
      task_.setUrl(url);
    }

    std::int64_t total = verdict.total;
    task_.setEndValue(total <= kLargestFile ? static_cast<std::int32_t>(total) : 0);
    task_.setTable(total, splitRanges(total, task_.param().threadCount));
    task_.markServed(0);
    serve(0);

    std::optional<std::string> path = localPath(*reply, parts);
    if (!path) return false;
    if (total > kLargestFile) {
      text(texts::kFileError, kTextError);
      return false;
    }
    std::unique_ptr<DownloadTarget> target = task_.store().create(*path, total);
    if (!target) {
      text(texts::kFileError, kTextError);
      return false;
    }
    task_.setTarget(std::move(target), *path);

    int count = static_cast<int>(splitRanges(total, task_.param().threadCount).size());
    for (int i = 1; i < count; ++i) task_.startConnection(i);
    task_.queueEvent(kRangeBegun, number_, 0, static_cast<std::int32_t>(own_.length));
    sentRangeMessage_ = true;
    task_.queueEvent(kTransferStart, task_.id(), static_cast<std::int32_t>(total), pathArgument());
    takeBody();
    return receiveAll();
  }

  // p3 of message 3: the path text itself, which lives while the task runs. Only a 32-bit
  // build can pass it in a 32-bit argument; the 64-bit test build passes 0.
  std::int32_t pathArgument() const {
    if constexpr (sizeof(void*) == sizeof(std::int32_t))
      return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(task_.localPath().c_str()));
    return 0;
  }

  // The local path, after the same-name question; nullopt when the download is given up.
  std::optional<std::string> localPath(const ReplyHeader& reply, const UrlParts& parts) {
    std::string path = task_.param().localFile;
    if (!path.empty() && path.back() == '\\') {
      std::string name = safeFileName(reply.fileName);
      if (name.empty()) name = fileNameFromPath(parts.path);
      if (name.empty()) {
        text(texts::kFileError, kTextError);
        return std::nullopt;
      }
      path += name;
    }
    TargetStore& store = task_.store();
    std::optional<std::int64_t> existing = store.existingSize(path);
    if (!existing) return path;
    std::int32_t answer = task_.ask(kSameNameFile, static_cast<std::int32_t>(*existing),
                                    static_cast<std::int32_t>(task_.total()), 0);
    switch (answer) {
      case kRenameAutomatically:
        for (int attempt = 1; attempt <= kRenameAttempts; ++attempt) {
          std::string candidate = renamedPath(path, attempt);
          if (!store.existingSize(candidate)) {
            text(texts::format(texts::kRenamedAutomatically, candidate.c_str()), kTextProgress);
            return candidate;
          }
        }
        text(texts::kTooManyRenames, kTextError);
        return std::nullopt;
      case kGiveUp:
        text(texts::kUserGaveUp, kTextProgress);
        return std::nullopt;
      case kKeepPath:
        text(texts::format(texts::kUserRenamed, path.c_str()), kTextProgress);
        return path;
      default:
        return std::nullopt;
    }
  }

  bool runFurther() {
    serve(rangeIndex_);
    if (!requestRange()) return false;
    takeBody();
    return receiveAll();
  }

  // A range request from the current position, retried while that may help.
  bool requestRange() {
    std::string url = task_.url();
    UrlParts parts = *parseUrl(url);
    for (;;) {
      std::int64_t start = own_.start + own_.received;
      std::string header;
      Step step = exchange(url, parts, start, header);
      if (step == Step::Passing && mayRetry()) continue;
      if (step != Step::Ok) return false;
      Verdict verdict = judgeRangeReply(parseReplyHeader(header), start, task_.total());
      if (verdict.kind != Verdict::Accept) {
        text(verdict.text, kTextError);
        return false;
      }
      return true;
    }
  }

  // The body bytes that came with the header are the first bytes of the buffer.
  void takeBody() {
    std::size_t take = std::min<std::size_t>(body_.size(), static_cast<std::size_t>(remaining()));
    if (take == 0) return;
    std::memcpy(buffer_.data(), body_.data(), take);
    buffered_ = take;
    step(take);
    if (remaining() == 0) flush();
  }

  std::int64_t remaining() const {
    return own_.length - own_.received - static_cast<std::int64_t>(buffered_);
  }

  // Only the connection that serves a range adds to it, so its own copy stays exact.
  void serve(int index) {
    rangeIndex_ = index;
    own_ = task_.range(index);
  }

  void step(std::size_t bytes) {
    task_.countStep(static_cast<std::int64_t>(bytes));
    task_.queueEvent(kDataReceived, number_, static_cast<std::int32_t>(bytes), 0);
  }

  void flush() {
    if (buffered_ == 0) return;
    std::memcpy(task_.targetBytes() + own_.start + own_.received, buffer_.data(), buffered_);
    own_.received += static_cast<std::int64_t>(buffered_);
    task_.addReceived(rangeIndex_, static_cast<std::int64_t>(buffered_));
    buffered_ = 0;
  }

  // Receives the current range, then every range that nobody serves.
  bool receiveAll() {
    for (;;) {
      if (!receiveRange()) return false;
      std::optional<int> next = task_.claimUnserved();
      if (!next) return true;
      serve(*next);
      task_.queueEvent(kRangeTakenOver, number_, static_cast<std::int32_t>(own_.start + own_.received),
                       static_cast<std::int32_t>(own_.start + own_.length));
      if (!requestRange()) return false;
      takeBody();
    }
  }

  bool receiveRange() {
    const TaskParam& param = task_.param();
    std::size_t block = static_cast<std::size_t>(
        std::clamp<std::int32_t>(param.receiveBlock, 1, static_cast<std::int32_t>(kBufferSize)));
    while (remaining() > 0) {
      if (task_.stopping()) {
        flush();
        return false;
      }
      std::size_t want = std::min({block, kBufferSize - buffered_, static_cast<std::size_t>(remaining())});
      if (param.speedLimit > 0 && !throttle(want)) {
        flush();
        return false;
      }
      std::size_t got = 0;
      IoResult r = receiveSome(socket_, buffer_.data() + buffered_, want, got,
                               real(param.receiveTimeout), task_.stopFlag());
      if (r == IoResult::Ok) {
        buffered_ += got;
        step(got);
        if (buffered_ == kBufferSize || remaining() == 0) flush();
        continue;
      }
      flush();
      if (r == IoResult::Stopped || !mayRetry() || !requestRange()) return false;
      takeBody();
    }
    flush();
    socket_.close();
    return true;
  }

  // The connection's share of the task's speed limit, at most one step a second.
  bool throttle(std::size_t& want) {
    int active = std::max(1, task_.activeConnections());
    want = std::min<std::size_t>(want, static_cast<std::size_t>(std::max(1, task_.param().speedLimit / active)));
    auto now = std::chrono::steady_clock::now();
    if (lastStep_.time_since_epoch().count() != 0) {
      auto wait = lastStep_ + std::chrono::milliseconds(real(1000)) - now;
      auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
      if (ms > 0 && !sleepUnlessStopped(ms, task_.stopFlag())) return false;
    }
    lastStep_ = std::chrono::steady_clock::now();
    return true;
  }

  Task& task_;
  const std::int32_t number_;
  int rangeIndex_;
  Range own_;
  Socket socket_;
  std::vector<std::uint8_t> buffer_;
  std::size_t buffered_ = 0;
  std::string body_;
  int retries_ = 0;
  bool sentRangeMessage_ = false;
  std::chrono::steady_clock::time_point lastStep_{};
};

}  // namespace

void runConnection(std::shared_ptr<Task> task, std::int32_t number, int rangeIndex) {
  Connection connection(*task, number, rangeIndex);
  bool ok = connection.run();
  task->connectionEnded(number, ok, connection.positionReached());
}

}  // namespace forms::engine
