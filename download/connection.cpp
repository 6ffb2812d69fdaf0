#include "download/connection.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <thread>
#include <vector>

#include "download/chunked_body.h"
#include "download/engine_texts.h"
#include "download/http_reply.h"
#include "download/http_request.h"
#include "download/same_name.h"
#include "download/socket_stream.h"
#include "download/task.h"
#include "download/url_parts.h"

namespace download {

namespace {

// The largest step that is reported (kDataReceived, takeReceivedBytes).
constexpr std::size_t kStepLimit = 20480;
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
      : task_(task), number_(number), rangeIndex_(rangeIndex) {}

  bool run() {
    task_.queueEvent(kConnectionStarted, number_, 0, 0);
    bool ok = rangeIndex_ < 0 ? runFirst() : runFurther();
    if (rangeIndex_ >= 0 && !ok) {
      if (task_.hooks().beforeRelease) task_.hooks().beforeRelease(rangeIndex_);
      task_.book().release(rangeIndex_);
    }
    return ok;
  }

  std::int64_t positionReached() const {
    if (rangeIndex_ < 0) return 0;
    Range range = task_.book().range(rangeIndex_);
    return range.start + range.received;
  }

 private:
  void text(const std::string& message, std::int32_t level) {
    task_.queueText(number_, message, level);
  }

  std::int64_t real(std::int64_t ms) const { return task_.clock().realMs(ms); }

  // One request: connect (through the proxy where there is one), send the request and read
  // the reply header; the body bytes that came with the header are left in body_.
  Step exchange(const std::string& url, const UrlParts& parts,
                std::optional<std::int64_t> rangeStart, std::string& header) {
    socket_.close();
    body_.clear();
    const TaskParam& param = task_.param();
    if (parts.scheme != Scheme::Http || (param.mode & kModeUpload) != 0) {
      // Only HTTP downloads are spoken; the other schemes fail at connect time.
      text(texts::format(texts::kConnectFailed, parts.host.c_str(), parts.port), kTextError);
      return Step::Definite;
    }
    Peer peer = peerFor(parts);
    in_addr address{};
    Step step = lookUp(peer, address);
    if (step == Step::Ok) step = connect(peer, address, rangeStart.has_value());
    if (step == Step::Ok) step = sendRequest(url, parts, rangeStart, peer.viaProxy);
    if (step == Step::Ok) step = readHeader(header);
    return step;
  }

  struct Peer {
    std::string host;
    int port = 0;
    bool viaProxy = false;
  };

  // The server of the address, or the proxy (port 80 unless it names one).
  Peer peerFor(const UrlParts& parts) const {
    const std::string& proxy = task_.param().proxy;
    if (proxy.empty()) return {parts.host, parts.port, false};
    std::size_t colon = proxy.find(':');
    return {proxy.substr(0, colon),
            colon == std::string::npos ? 80 : std::atoi(proxy.c_str() + colon + 1), true};
  }

  Step lookUp(const Peer& peer, in_addr& address) {
    const char* host = peer.host.c_str();
    if (!isDottedAddress(peer.host)) text(texts::format(texts::kResolving, host), kTextProgress);
    bool found = lookUpHost(peer.host, address);
    if (task_.hooks().afterLookUp) task_.hooks().afterLookUp();
    // A lookup may outlast the stop's wait: what it found then goes nowhere.
    if (task_.stop().isSet()) return Step::Stopped;
    if (found) return Step::Ok;
    text(texts::format(texts::kResolveFailed, host), kTextError);
    return Step::Passing;
  }

  Step connect(const Peer& peer, const in_addr& address, bool forRange) {
    const char* host = peer.host.c_str();
    text(texts::format(texts::kConnecting, host, peer.port), kTextProgress);
    IoResult r =
        connectTo(socket_, address, peer.port, real(task_.param().connectTimeout), task_.stop());
    if (r == IoResult::Stopped) return Step::Stopped;
    if (r != IoResult::Ok) {
      text(texts::format(r == IoResult::TimedOut ? texts::kConnectTimedOut : texts::kConnectFailed,
                         host, peer.port),
           kTextError);
      return Step::Passing;
    }
    text(texts::format(forRange ? texts::kConnectedRange : texts::kConnectedFirst, host, peer.port),
         kTextProgress);
    return Step::Ok;
  }

  // Sends the request; the first range request of the connection is then announced.
  Step sendRequest(const std::string& url, const UrlParts& parts,
                   std::optional<std::int64_t> rangeStart, bool viaProxy) {
    std::string request = buildRequest(url, parts, task_.param().referer, rangeStart, viaProxy);
    text(request, kTextRequest);
    IoResult r = sendAll(socket_, request, real(task_.param().sendTimeout), task_.stop());
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
    return Step::Ok;
  }

  // Receives in pieces until the reply header is complete.
  Step readHeader(std::string& header) {
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
      IoResult r = receiveSome(socket_, piece, sizeof piece, got,
                               real(task_.param().receiveTimeout), task_.stop());
      if (r == IoResult::Stopped) return Step::Stopped;
      if (r != IoResult::Ok) return Step::Passing;
      received.append(reinterpret_cast<const char*>(piece), got);
    }
  }

  // Waits before the next attempt; false when no attempt may follow.
  bool mayRetry() {
    if (task_.stop().isSet() || ++retries_ > kRetryLimit) return false;
    socket_.close();
    text(texts::format(texts::kRetryWait, kRetryWaitSeconds), kTextProgress);
    return task_.stop().sleep(real(kRetryWaitSeconds * 1000));
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
    task_.book().set(total, splitRanges(total, task_.param().threadCount));
    task_.book().claim(0);
    serve(0);
    beginBody(verdict);

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

    // The start of the transfer is queued before any further connection can report data.
    task_.queueEvent(kRangeBegun, number_, 0, static_cast<std::int32_t>(own_.length));
    sentRangeMessage_ = true;
    task_.queueEvent(kTransferStart, task_.id(), static_cast<std::int32_t>(total), pathArgument());
    // A connection started here may finish its range and take the next before that one's
    // start comes: the start then finds the range taken and starts nothing.
    const EngineHooks& hooks = task_.hooks();
    for (int i = 1; i < task_.book().count(); ++i) {
      if (hooks.beforeRangeStart) hooks.beforeRangeStart(i);
      task_.startConnection(i);
    }
    return takeBody() && receiveAll();
  }

  // p3 of kTransferStart: the path text itself, which lives while the task runs. Only a 32-bit
  // build can pass it in a 32-bit argument; the 64-bit test build passes 0.
  std::int32_t pathArgument() const {
    if constexpr (sizeof(void*) == sizeof(std::int32_t))
      return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(task_.localPath()));
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
                                    static_cast<std::int32_t>(task_.book().total()), 0);
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
      case kGiveUp: text(texts::kUserGaveUp, kTextProgress); return std::nullopt;
      case kKeepPath:
        text(texts::format(texts::kUserRenamed, path.c_str()), kTextProgress);
        return path;
      default: return std::nullopt;
    }
  }

  bool runFurther() {
    serve(rangeIndex_);
    return requestRange() && takeBody() && receiveAll();
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
      Verdict verdict = judgeRangeReply(parseReplyHeader(header), start, task_.book().total());
      if (verdict.kind != Verdict::Accept) {
        text(verdict.text, kTextError);
        return false;
      }
      beginBody(verdict);
      return true;
    }
  }

  // How the accepted reply's body is read, and where the bytes it carries end.
  void beginBody(const Verdict& verdict) {
    partEnd_ = verdict.partEnd;
    chunks_.reset();
    if (verdict.chunked) chunks_.emplace();
  }

  // The body bytes that came with the header are the range's first bytes: one step.
  bool takeBody() {
    std::size_t size = body_.size();
    if (chunks_) {
      size = chunks_->decode(reinterpret_cast<std::uint8_t*>(body_.data()), size);
      if (chunks_->failed()) return badChunks();
    }
    std::size_t take = std::min<std::size_t>(size, static_cast<std::size_t>(room()));
    if (take == 0) return true;
    std::memcpy(position(), body_.data(), take);
    arrived(take, take);
    return true;
  }

  bool badChunks() {
    text(texts::kError, kTextError);
    return false;
  }

  std::int64_t remaining() const { return own_.length - own_.received; }
  // What the current reply may still bring for the range: never past the range's end, and
  // never past the last byte that the reply said it carries.
  std::int64_t room() const {
    return std::min(remaining(), partEnd_ - (own_.start + own_.received));
  }

  // Only the connection that serves a range adds to it, so its own copy stays exact.
  void serve(int index) {
    rangeIndex_ = index;
    own_ = task_.book().range(index);
  }

  // Where the connection's next byte goes: data is received straight into the mapping,
  // never past the end of the range the connection serves.
  std::uint8_t* position() {
    if (!target_) target_ = task_.targetBytes();
    return target_ + own_.start + own_.received;
  }

  // `bytes` new bytes at the position: reported as steps of at most `block` bytes, each
  // counted and each with its kDataReceived, and added to the range.
  void arrived(std::size_t bytes, std::size_t block) {
    task_.countSteps(number_, static_cast<std::int64_t>(bytes), static_cast<std::int64_t>(block));
    own_.received += static_cast<std::int64_t>(bytes);
    task_.book().addReceived(rangeIndex_, static_cast<std::int64_t>(bytes));
  }

  // Receives the current range, then every range that nobody serves.
  bool receiveAll() {
    for (;;) {
      if (!receiveRange()) return false;
      std::optional<int> next = task_.book().claimUnserved();
      if (!next) return true;
      serve(*next);
      task_.queueEvent(kRangeTakenOver, number_,
                       static_cast<std::int32_t>(own_.start + own_.received),
                       static_cast<std::int32_t>(own_.start + own_.length));
      if (!requestRange() || !takeBody()) return false;
    }
  }

  bool receiveRange() {
    const TaskParam& param = task_.param();
    std::size_t block = static_cast<std::size_t>(
        std::clamp<std::int32_t>(param.receiveBlock, 1, static_cast<std::int32_t>(kStepLimit)));
    while (remaining() > 0) {
      if (task_.stop().isSet()) return false;
      // A reply that carried all it said it would, short of the range's end: the rest is
      // asked for at once, as no failure.
      if (room() == 0) {
        if (!requestRange() || !takeBody()) return false;
        continue;
      }
      // Without a limit one receive takes all that has arrived, up to what the socket's
      // receive returns at most.
      std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(room(), kReceiveDepth));
      if (param.speedLimit > 0) {
        want = std::min(want, block);
        if (!throttle(want)) return false;
      }
      std::size_t got = 0;
      IoResult r = chunks_ ? receiveChunks(want, got) : receiveInPlace(want, got);
      if (r == IoResult::Ok) {
        if (got > 0) arrived(got, block);
        continue;
      }
      if (chunks_ && chunks_->failed()) return badChunks();
      if (r == IoResult::Stopped || !mayRetry() || !requestRange() || !takeBody()) return false;
    }
    socket_.close();
    return true;
  }

  IoResult receiveInPlace(std::size_t want, std::size_t& got) {
    return receiveSome(socket_, position(), want, got, real(task_.param().receiveTimeout),
                       task_.stop());
  }

  // Chunks come through the connection's buffer: only their data reaches the file, and
  // never more of it than the range and the reply have room for.
  IoResult receiveChunks(std::size_t want, std::size_t& got) {
    got = 0;
    // A body that ended before the bytes its Content-Range named ran dry like a closed one.
    if (chunks_->done()) return IoResult::Closed;
    buffer_.resize(kStepLimit);
    std::size_t received = 0;
    IoResult r = receiveSome(socket_, buffer_.data(), std::min(want, buffer_.size()), received,
                             real(task_.param().receiveTimeout), task_.stop());
    if (r != IoResult::Ok) return r;
    std::size_t data = chunks_->decode(buffer_.data(), received);
    if (chunks_->failed()) return IoResult::Failed;
    got = std::min<std::size_t>(data, static_cast<std::size_t>(room()));
    if (got > 0) std::memcpy(position(), buffer_.data(), got);
    return IoResult::Ok;
  }

  // The connection's share of the task's speed limit, at most one step a second.
  bool throttle(std::size_t& want) {
    int active = std::max(1, task_.activeConnections());
    want = std::min<std::size_t>(
        want, static_cast<std::size_t>(std::max(1, task_.param().speedLimit / active)));
    auto now = std::chrono::steady_clock::now();
    if (lastStep_.time_since_epoch().count() != 0) {
      auto wait = lastStep_ + std::chrono::milliseconds(real(1000)) - now;
      auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(wait).count();
      if (ms > 0 && !task_.stop().sleep(ms)) return false;
    }
    lastStep_ = std::chrono::steady_clock::now();
    return true;
  }

  Task& task_;
  const std::int32_t number_;
  int rangeIndex_;
  Range own_;
  Socket socket_;
  std::uint8_t* target_ = nullptr;  // the mapping, which outlives every connection
  std::string body_;
  std::int64_t partEnd_ = 0;           // the file position where the current reply's bytes end
  std::optional<ChunkedBody> chunks_;  // while the current reply comes in chunks
  std::vector<std::uint8_t> buffer_;   // chunks as received, before their framing is taken off
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

}  // namespace download
