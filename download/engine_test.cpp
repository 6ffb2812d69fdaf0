// The engine against a misbehaving HTTP server on 127.0.0.1, checked by the transfer
// messages it sends and the bytes of the file it writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "download/download.h"
#include "download/engine_hooks.h"
#include "download/engine_texts.h"
#include "test_support/fault_server.h"
#include "test_support/memory_store.h"
#include "test_support/pump_until.h"

namespace download {
namespace {

using test_support::FaultServer;
using test_support::MemoryStore;
using test_support::okHead;
using test_support::partialHead;
using test_support::ServerConnection;
using test_support::ServerRequest;

// Every wait a hundred times shorter: a 5 s retry takes 50 ms.
class QuickClock : public WaitClock {
 public:
  std::int64_t realMs(std::int64_t ms) const override {
    return std::max<std::int64_t>(1, ms / 100);
  }
};

struct Event {
  std::int32_t code, p1, p2, p3, taskId;
};

// Collects what the callbacks receive; the callbacks are plain functions, so one
// recorder at a time is reachable through `current`.
class Recorder {
 public:
  Recorder() { current = this; }
  ~Recorder() { current = nullptr; }

  static std::int32_t onEvent(std::int32_t code, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                              std::int32_t taskId) {
    Recorder* self = current;
    if (self->onArrival) self->onArrival({code, p1, p2, p3, taskId});
    std::function<std::int32_t()> answer;
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->events_.push_back({code, p1, p2, p3, taskId});
      if (code == kTransferStart && sizeof(void*) == 4)
        self->pathAtStart_ = reinterpret_cast<const char*>(static_cast<std::intptr_t>(p3));
      answer = self->answer18;
      // Under the lock: once message 4 is in, a waiter may destroy the recorder.
      self->changed_.notify_all();
    }
    return code == kSameNameFile && answer ? answer() : 0;
  }

  static void onText(std::int32_t, const char* time, const char* text, std::int32_t level,
                     std::int32_t) {
    Recorder* self = current;
    {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->texts_.push_back({text, level});
      self->times_.push_back(time);
    }
    self->changed_.notify_all();
  }

  // `condition` may call the recorder's own readers, so it runs without the lock.
  bool waitFor(const std::function<bool()>& condition, int ms = 20000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_for(lock, std::chrono::milliseconds(5));
    }
    return true;
  }
  bool waitForEnd() {
    return waitFor([this] { return count(kTransferEnd) > 0; });
  }

  std::vector<Event> events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  int count(std::int32_t code) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                          [code](const Event& e) { return e.code == code; }));
  }
  std::int64_t dataBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::int64_t sum = 0;
    for (const Event& e : events_)
      if (e.code == kDataReceived) sum += e.p2;
    return sum;
  }
  // How many texts of `level` contain `part`.
  int textCount(const std::string& part, std::int32_t level) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(texts_.begin(), texts_.end(), [&](const auto& t) {
      return t.second == level && t.first.find(part) != std::string::npos;
    }));
  }
  bool hasText(const std::string& part, std::int32_t level) const {
    return textCount(part, level) > 0;
  }
  std::string allTexts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string all;
    for (const auto& t : texts_) all += std::to_string(t.second) + ": " + t.first + "\n";
    return all;
  }
  // The path that message 3 carries; a 64-bit build cannot carry it and reports `expected`.
  std::string pathAtStart(const std::string& expected) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sizeof(void*) == 4 ? pathAtStart_ : expected;
  }
  std::vector<std::string> times() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
  }

  std::function<std::int32_t()> answer18;  // set before the download starts
  // Runs as each message arrives, before it is recorded; set before the download starts.
  std::function<void(const Event&)> onArrival;

 private:
  static Recorder* current;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
  std::vector<std::pair<std::string, std::int32_t>> texts_;
  std::vector<std::string> times_;
  std::string pathAtStart_;
};

Recorder* Recorder::current = nullptr;

std::string fileBytes(std::int64_t size) {
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::uint32_t x = 2463534242u;
  for (char& c : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x);
  }
  return bytes;
}

// Answers a request for `file` as a server that honours Range.
void serveFile(ServerConnection& c, const ServerRequest& r, const std::string& file) {
  auto total = static_cast<std::int64_t>(file.size());
  if (r.rangeStart)
    c.send(partialHead(*r.rangeStart, total) +
           file.substr(static_cast<std::size_t>(*r.rangeStart)));
  else
    c.send(okHead(total) + file);
}

TaskParam paramFor(const std::string& url, const std::string& localFile, int threads) {
  TaskParam param;
  param.url = url;
  param.localFile = localFile;
  param.threadCount = threads;
  param.eventCallback = &Recorder::onEvent;
  param.textCallback = &Recorder::onText;
  return param;
}

// Message 4 exactly once and last; every started connection ended once.
void expectWellFormedEnd(const Recorder& recorder) {
  std::vector<Event> events = recorder.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().code, kTransferEnd);
  EXPECT_EQ(recorder.count(kTransferEnd), 1);
  EXPECT_LE(recorder.count(kTransferStart), 1);
  // Data comes after the transfer's start, whichever connection brings it.
  auto start = std::find_if(events.begin(), events.end(),
                            [](const Event& e) { return e.code == kTransferStart; });
  EXPECT_TRUE(
      std::none_of(events.begin(), start, [](const Event& e) { return e.code == kDataReceived; }));
  EXPECT_EQ(recorder.count(kConnectionStarted),
            recorder.count(kConnectionEnded) + recorder.count(kConnectionFailed));
}

constexpr char kLocal[] = "C:\\dl\\pkg.zip";
constexpr std::int32_t kWholeSize = -100;  // stands for the file's size in the table

enum class Filled { All, FirstRangeOnly, Nothing };

struct Scenario {
  const char* name;
  std::int64_t size;
  int threads;
  // The server's behaviour; `file` is what it serves, `self` its own address.
  std::function<void(ServerConnection&, const ServerRequest&, const std::string& file,
                     const std::string& self)>
      serve;
  std::int32_t endValue;
  std::string text;  // a level-3 (or retry, level-0) text that must appear
  Filled filled;
};

std::string headerWith(const std::string& lines) { return "HTTP/1.1 200 OK\r\n" + lines + "\r\n"; }

// `bytes` as a chunked body: chunks of changing sizes, one with an extension, and a trailer.
std::string inChunks(const std::string& bytes) {
  std::string body;
  std::size_t sizes[] = {1, 4095, 17, 30000};
  for (std::size_t at = 0, i = 0; at < bytes.size(); ++i) {
    std::size_t n = std::min(sizes[i % 4], bytes.size() - at);
    char size[24];
    std::snprintf(size, sizeof size, i % 2 ? "%zX" : "%zx", n);
    body += std::string(size) + (i == 2 ? ";part=3" : "") + "\r\n" + bytes.substr(at, n) + "\r\n";
    at += n;
  }
  return body + "0\r\nX-Check: none\r\n\r\n";
}

// A 206 of bytes [first, end) of `file`, with or without a Content-Length.
std::string partReply(const std::string& file, std::size_t first, std::size_t end,
                      bool withLength = true) {
  return "HTTP/1.1 206 Partial Content\r\n" +
         (withLength ? "Content-Length: " + std::to_string(end - first) + "\r\n" : "") +
         "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(end - 1) + "/" +
         std::to_string(file.size()) + "\r\n\r\n" + file.substr(first, end - first);
}

const Scenario kScenarios[] = {
    {"small file over one connection", 10000, 5,
     [](auto& c, auto& r, auto& f, auto&) { serveFile(c, r, f); }, kWholeSize, "", Filled::All},
    {"large file over five ranges", 1000003, 5,
     [](auto& c, auto& r, auto& f, auto&) { serveFile(c, r, f); }, kWholeSize, "", Filled::All},
    {"server ignores Range", 300000, 5,
     [](auto& c, auto&, auto& f, auto&) { c.send(okHead(f.size()) + f); }, kWholeSize,
     texts::kError, Filled::FirstRangeOnly},
    {"no Content-Length", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) { c.send("HTTP/1.1 200 OK\r\n\r\n" + f); }, -1,
     texts::kNoSize, Filled::Nothing},
    {"404", 30000, 5,
     [](auto& c, auto&, auto&, auto&) {
       c.send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
     },
     0, texts::kError, Filled::Nothing},
    {"302 to another path", 100000, 5,
     [](auto& c, auto& r, auto& f, auto& self) {
       if (r.path == "/pkg.zip")
         c.send("HTTP/1.1 302 Found\r\nLocation: " + self + "/real/pkg.zip\r\n\r\n");
       else if (r.path == "/real/pkg.zip")
         serveFile(c, r, f);
     },
     kWholeSize, "重定向到 [", Filled::All},
    {"relative Location", 100000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (r.path == "/pkg.zip")
         c.send("HTTP/1.1 301 Moved\r\nLocation: /real/pkg.zip\r\n\r\n");
       else
         serveFile(c, r, f);
     },
     kWholeSize, "", Filled::All},
    {"302 on a range request", 100000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (r.rangeStart)
         c.send("HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n");
       else
         serveFile(c, r, f);
     },
     kWholeSize, texts::format(texts::kUnsupportedStatus, 302), Filled::FirstRangeOnly},
    {"connection dropped mid-range", 500000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (r.rangeStart && *r.rangeStart == 200000 && r.earlierAlike == 0) {
         c.send(partialHead(200000, f.size()) + f.substr(200000, 30000));
         c.reset();
         return;
       }
       serveFile(c, r, f);
     },
     kWholeSize, "等待5秒后重试", Filled::All},
    {"206 whose Content-Range starts elsewhere", 100000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (r.rangeStart)
         c.send(partialHead(0, f.size()) + f);  // always from the beginning
       else
         serveFile(c, r, f);
     },
     kWholeSize, texts::kError, Filled::FirstRangeOnly},
    {"two different Content-Lengths", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) {
       c.send(headerWith("Content-Length: 30000\r\nContent-Length: 20\r\n") + f);
     },
     -1, texts::kNoSize, Filled::Nothing},
    {"negative Content-Length", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) { c.send(headerWith("Content-Length: -30000\r\n") + f); },
     -1, texts::kNoSize, Filled::Nothing},
    {"non-numeric Content-Length", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) { c.send(headerWith("Content-Length: 3e4\r\n") + f); }, -1,
     texts::kNoSize, Filled::Nothing},
    {"absurdly large Content-Length", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) {
       c.send(headerWith("Content-Length: 99999999999999999999999\r\n") + f);
     },
     0, texts::kFileError, Filled::Nothing},
    {"Content-Length beyond 32 bits", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) {
       c.send(headerWith("Content-Length: 3000000000\r\n") + f);
     },
     0, texts::kFileError, Filled::Nothing},
    {"100 KB header", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) {
       c.send(
           headerWith("X-Pad: " + std::string(100 * 1024, 'p') + "\r\nContent-Length: 30000\r\n") +
           f);
     },
     0, texts::kHeaderTooLong, Filled::Nothing},
    {"NUL byte in the header", 30000, 5,
     [](auto& c, auto&, auto& f, auto&) {
       c.send(headerWith(std::string("Content-Length: 30000\r\nX: a\0b\r\n", 31)) + f);
     },
     0, texts::kError, Filled::Nothing},
    {"range replies in chunks", 300000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (!r.rangeStart) return serveFile(c, r, f);
       auto start = static_cast<std::size_t>(*r.rangeStart);
       c.send(
           "HTTP/1.1 206 Partial Content\r\nTransfer-Encoding: chunked\r\nContent-Range: bytes " +
           std::to_string(start) + "-" + std::to_string(f.size() - 1) + "/" +
           std::to_string(f.size()) + "\r\n\r\n" + inChunks(f.substr(start)));
     },
     kWholeSize, "", Filled::All},
    {"range replies in a coding not read", 300000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (!r.rangeStart) return serveFile(c, r, f);
       auto start = static_cast<std::size_t>(*r.rangeStart);
       c.send(
           "HTTP/1.1 206 Partial Content\r\nTransfer-Encoding: gzip, chunked\r\nContent-Range: "
           "bytes " +
           std::to_string(start) + "-" + std::to_string(f.size() - 1) + "/" +
           std::to_string(f.size()) + "\r\n\r\n" + inChunks(f.substr(start)));
     },
     kWholeSize, texts::kError, Filled::FirstRangeOnly},
    {"a part of the file to the plain request", 300000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (r.rangeStart)
         serveFile(c, r, f);
       else
         c.send(partReply(f, 0, 20000));
     },
     kWholeSize, "", Filled::All},
    {"range replies capped at 25000 bytes", 300000, 5,
     [](auto& c, auto& r, auto& f, auto&) {
       if (!r.rangeStart) return serveFile(c, r, f);
       auto start = static_cast<std::size_t>(*r.rangeStart);
       c.send(partReply(f, start, std::min(f.size(), start + 25000), start / 25000 % 2 == 0));
     },
     kWholeSize, "", Filled::All},
    {"302 without Location", 30000, 5,
     [](auto& c, auto&, auto&, auto&) { c.send("HTTP/1.1 302 Found\r\n\r\n"); }, 0,
     texts::kNoLocation, Filled::Nothing},
    {"302 pointing to itself", 30000, 5,
     [](auto& c, auto&, auto&, auto& self) {
       c.send("HTTP/1.1 302 Found\r\nLocation: " + self + "/pkg.zip\r\n\r\n");
     },
     0, texts::kBadLocation, Filled::Nothing},
};

class ServerBehaviour : public ::testing::TestWithParam<Scenario> {};

// A download into memory on the quick clock, with its recorder. A task still running when
// the run goes (its test failed before message 4) is stopped and waited for first, or it
// would call into what goes here.
struct EngineRun {
  Recorder recorder;
  MemoryStore store;
  QuickClock clock;
  Download download;
  bool start(const TaskParam& param) {
    return startDownloadWith(download, param, EngineHooks{&clock, &store});
  }
  ~EngineRun() {
    if (getDownloadTaskId(download) == -1) return;
    releaseDownload(download);
    recorder.waitForEnd();
  }
};

TEST_P(ServerBehaviour, MessagesAndFileBytes) {
  const Scenario& s = GetParam();
  std::string file = fileBytes(s.size);
  std::string self;
  // The server answers once the task's id was read: a task that fails at once may
  // otherwise have ended and detached before a held-up test thread asks for it.
  std::promise<void> idRead;
  std::shared_future<void> answer = idRead.get_future().share();
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) {
    answer.wait_for(std::chrono::seconds(30));
    s.serve(c, r, file, self);
  });
  self = server.url("");
  EngineRun run;
  Recorder& recorder = run.recorder;
  MemoryStore& store = run.store;
  Download& download = run.download;
  ASSERT_TRUE(run.start(paramFor(server.url("/pkg.zip"), kLocal, s.threads)));
  std::int32_t taskId = getDownloadTaskId(download);
  idRead.set_value();
  EXPECT_NE(taskId, -1);
  ASSERT_TRUE(recorder.waitForEnd()) << recorder.allTexts();
  expectWellFormedEnd(recorder);

  std::int32_t endValue = s.endValue == kWholeSize ? static_cast<std::int32_t>(s.size) : s.endValue;
  std::vector<Event> events = recorder.events();
  EXPECT_EQ(events.back().p1, taskId);
  EXPECT_EQ(events.back().p2, endValue);
  for (const Event& e : events) EXPECT_EQ(e.taskId, taskId);
  if (!s.text.empty()) {
    EXPECT_TRUE(recorder.hasText(s.text, kTextError) || recorder.hasText(s.text, kTextProgress))
        << recorder.allTexts();
  }

  std::optional<std::string> written = store.file(kLocal);
  switch (s.filled) {
    case Filled::All:
      ASSERT_TRUE(written);
      EXPECT_TRUE(*written == file) << "file differs";
      EXPECT_EQ(recorder.dataBytes(), s.size);
      // Only a broken connection waits to try again.
      EXPECT_EQ(recorder.hasText("等待5秒后重试", kTextProgress), s.text == "等待5秒后重试")
          << recorder.allTexts();
      EXPECT_EQ(recorder.count(kTransferStart), 1);
      EXPECT_EQ(recorder.pathAtStart(kLocal), kLocal);
      EXPECT_EQ(recorder.count(kConnectionFailed), 0);
      break;
    case Filled::FirstRangeOnly: {
      ASSERT_TRUE(written);
      std::size_t first = static_cast<std::size_t>(s.size / s.threads);
      EXPECT_TRUE(written->compare(0, first, file, 0, first) == 0);
      EXPECT_EQ(written->find_first_not_of('\0', first), std::string::npos)
          << "bytes of a refused reply were written";
      // Every try of a further range fails: the first connection's own ones after its first
      // range, and those of connections the task starts for ranges given back.
      EXPECT_EQ(recorder.count(kConnectionFailed),
                recorder.count(kConnectionStarted) - 1 + recorder.count(kRangeTakenOver));
      break;
    }
    case Filled::Nothing:
      EXPECT_FALSE(written);
      EXPECT_EQ(recorder.count(kTransferStart), 0);
      EXPECT_EQ(recorder.count(kConnectionStarted), 1);
      EXPECT_EQ(recorder.count(kConnectionFailed), 1);
      break;
  }
  // The task detaches itself right after message 4 has been handled (the handler still
  // finds its task), so wait for that instead of reading once.
  EXPECT_TRUE(recorder.waitFor([&] { return getDownloadTaskId(download) == -1; }));
}

INSTANTIATE_TEST_SUITE_P(Engine, ServerBehaviour, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

TEST(EngineRequests, ExactTextsAndRanges) {
  std::string file = fileBytes(100003);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  EngineRun run;
  Recorder& recorder = run.recorder;
  ASSERT_TRUE(run.start(paramFor(server.url("/d/pkg.zip?v=1"), kLocal, 5)));
  ASSERT_TRUE(recorder.waitForEnd());
  std::vector<ServerRequest> requests = server.requests();
  ASSERT_EQ(requests.size(), 5u);
  std::string host = "127.0.0.1:" + std::to_string(server.port());
  std::string common = "Host: " + host + "\r\nAccept: */*\r\nReferer: http://" + host +
                       "/d\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";
  EXPECT_EQ(requests[0].head,
            "GET /d/pkg.zip?v=1 HTTP/1.1\r\n" + common +
                "Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n");
  std::vector<std::int64_t> starts;
  for (std::size_t i = 1; i < requests.size(); ++i) {
    starts.push_back(*requests[i].rangeStart);
    EXPECT_EQ(requests[i].head, "GET /d/pkg.zip?v=1 HTTP/1.1\r\n" + common +
                                    "Range: bytes=" + std::to_string(*requests[i].rangeStart) +
                                    "-\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n"
                                    "Connection: close\r\n\r\n");
  }
  std::sort(starts.begin(), starts.end());
  EXPECT_EQ(starts, (std::vector<std::int64_t>{20000, 40000, 60000, 80000}));

  // Message 6 per range with its start and end; the last range holds the remainder.
  std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
  for (const Event& e : recorder.events())
    if (e.code == kRangeBegun) ranges.emplace_back(e.p2, e.p3);
  std::sort(ranges.begin(), ranges.end());
  EXPECT_EQ(ranges,
            (std::vector<std::pair<std::int32_t, std::int32_t>>{
                {0, 20000}, {20000, 40000}, {40000, 60000}, {60000, 80000}, {80000, 100003}}));
  EXPECT_TRUE(recorder.hasText(requests[0].head, kTextRequest));
  EXPECT_TRUE(recorder.hasText("HTTP/1.1 206", kTextReplyHeader));
  EXPECT_TRUE(recorder.hasText("连接 [127.0.0.1:" + std::to_string(server.port()) + "]成功",
                               kTextProgress));
  EXPECT_TRUE(
      recorder.hasText("连接[127.0.0.1:" + std::to_string(server.port()) + "]成功", kTextProgress));
  ASSERT_FALSE(recorder.times().empty());
  EXPECT_NE(recorder.times()[0].find("年"), std::string::npos);
}

TEST(EngineRequests, ThroughAProxyTheWholeAddressAndOnlyTheProxyHeaders) {
  std::string file = fileBytes(100003);
  FaultServer proxy([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  EngineRun run;
  Recorder& recorder = run.recorder;
  MemoryStore& store = run.store;
  // The address's host does not exist: only the proxy is ever looked up and connected.
  const std::string url = "http://files.invalid:8080/d/pkg.zip";
  TaskParam param = paramFor(url, kLocal, 5);
  param.proxy = "127.0.0.1:" + std::to_string(proxy.port());
  ASSERT_TRUE(run.start(param));
  ASSERT_TRUE(recorder.waitForEnd()) << recorder.allTexts();
  expectWellFormedEnd(recorder);
  EXPECT_EQ(recorder.events().back().p2, 100003);
  EXPECT_EQ(store.file(kLocal), file);
  std::vector<ServerRequest> requests = proxy.requests();
  ASSERT_EQ(requests.size(), 5u);
  const std::string head = "GET " + url +
                           " HTTP/1.1\r\nHost: files.invalid:8080\r\n"
                           "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";
  EXPECT_EQ(requests[0].head, head + "Proxy-Connection: Keep-Alive\r\n\r\n");
  for (std::size_t i = 1; i < requests.size(); ++i) {
    ASSERT_TRUE(requests[i].rangeStart);
    EXPECT_EQ(requests[i].head, head + "Range: bytes=" + std::to_string(*requests[i].rangeStart) +
                                    "-\r\nProxy-Connection: Keep-Alive\r\n\r\n");
  }
  EXPECT_TRUE(
      recorder.hasText("连接 [127.0.0.1:" + std::to_string(proxy.port()) + "]成功", kTextProgress));
}

TEST(EngineStart, RefusesAddressesAndBusyObjects) {
  Recorder recorder;
  Download download;
  for (const char* url : {"update", "http://host", "https://h/x", "gopher://h/x", ""}) {
    EXPECT_FALSE(startDownload(download, paramFor(url, kLocal, 5))) << url;
    EXPECT_EQ(download.task, 0u);
    EXPECT_EQ(getDownloadTaskId(download), -1);
  }
  ByteSet state{1, 2, 3};
  EXPECT_FALSE(stopDownload(download, state, 2));
  EXPECT_EQ(state, (ByteSet{1, 2, 3}));
  EXPECT_FALSE(getDownloadState(download, state));
  EXPECT_EQ(takeReceivedBytes(download), 0);
  releaseDownload(download);

  // A running object refuses a second start.
  FaultServer server([](ServerConnection& c, const ServerRequest&) { c.holdSilent(); });
  MemoryStore store;
  QuickClock clock;
  ASSERT_TRUE(startDownloadWith(download, paramFor(server.url("/x"), kLocal, 1), {&clock, &store}));
  std::uint32_t running = download.task;
  EXPECT_FALSE(
      startDownloadWith(download, paramFor(server.url("/x"), kLocal, 1), {&clock, &store}));
  EXPECT_EQ(download.task, running);
  releaseDownload(download);
  EXPECT_EQ(getDownloadTaskId(download), -1);
  ASSERT_TRUE(recorder.waitForEnd());

  // The schemes the engine accepts but does not speak fail at connect time.
  Recorder other;
  Download ftp;
  ASSERT_TRUE(
      startDownloadWith(ftp, paramFor("ftp://127.0.0.1/pkg.zip", kLocal, 1), {&clock, &store}));
  ASSERT_TRUE(other.waitForEnd());
  EXPECT_TRUE(other.hasText("连接 [127.0.0.1:21]失败", kTextError));
  EXPECT_EQ(other.events().back().p2, 0);
}

TEST(EngineStop, StateDetachAndLateEnd) {
  const std::int64_t size = 500000;
  std::string file = fileBytes(size);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) {
    std::int64_t start = r.rangeStart.value_or(0);
    std::string head = r.rangeStart ? partialHead(start, size) : okHead(size);
    c.send(head);
    c.trickle(file.substr(static_cast<std::size_t>(start)), 2000, 10);
  });
  EngineRun run;
  Recorder& recorder = run.recorder;
  MemoryStore& store = run.store;
  Download& download = run.download;
  ASSERT_TRUE(run.start(paramFor(server.url("/pkg.zip"), kLocal, 5)));
  ASSERT_TRUE(recorder.waitFor([&] { return recorder.count(kDataReceived) >= 30; }));

  ByteSet state;
  ASSERT_TRUE(getDownloadState(download, state));
  EXPECT_EQ(readStateValue(download, state, kStateTotalSize, 0), size);
  EXPECT_GT(takeReceivedBytes(download), 0);

  ASSERT_TRUE(stopDownload(download, state, 2));
  EXPECT_EQ(getDownloadTaskId(download), -1);
  EXPECT_FALSE(getDownloadState(download, state) && false);
  EXPECT_EQ(readStateValue(download, state, kStateTotalSize, 0), size);
  EXPECT_EQ(readStateValue(download, state, kStateRangeCount, 0), 5);
  EXPECT_EQ(readStateValue(download, state, kStateRangeStart, 5), 400000);
  EXPECT_EQ(readStateValue(download, state, kStateRangeLength, 5), 100000);
  EXPECT_EQ(readStateValue(download, state, kStateRangeStart, 0), -1);
  EXPECT_EQ(readStateValue(download, state, kStateRangeStart, 6), -1);
  std::int32_t received = readStateValue(download, state, kStateReceived, 0);
  EXPECT_GT(received, 0);
  EXPECT_LT(received, size);

  ASSERT_TRUE(recorder.waitForEnd());
  std::vector<Event> events = recorder.events();
  EXPECT_EQ(events.back().code, kTransferEnd);
  EXPECT_EQ(events.back().p2, received);
  EXPECT_EQ(recorder.count(kTransferEnd), 1);

  // What was received is in place, the rest still zero.
  std::string written = *store.file(kLocal);
  for (int i = 1; i <= 5; ++i) {
    auto start = static_cast<std::size_t>(readStateValue(download, state, kStateRangeStart, i));
    auto got = static_cast<std::size_t>(readStateValue(download, state, kStateRangeReceived, i));
    EXPECT_EQ(written.compare(start, got, file, start, got), 0) << i;
    EXPECT_EQ(written[start + got], '\0') << i;
  }
}

// The first connection's thread held up between two starts, as a busy machine holds it:
// the connection of range 2 finishes and takes range 3 over before range 3's start comes.
// That start starts nothing: every range is asked for once and the download is whole.
TEST(EngineRanges, AStartThatComesAfterItsRangeWasTakenOverStartsNothing) {
  const std::int64_t size = 1000003;
  std::string file = fileBytes(size);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  EngineRun run;
  Recorder& recorder = run.recorder;
  EngineHooks hooks{&run.clock, &run.store};
  bool tookOver = false;
  hooks.beforeRangeStart = [&](int index) {
    if (index == 2)
      tookOver = recorder.waitFor([&] { return recorder.count(kRangeTakenOver) > 0; });
  };
  std::int32_t receivedAtEnd = -1;
  std::vector<std::int32_t> rangesAtEnd;
  recorder.onArrival = [&](const Event& e) {
    if (e.code != kTransferEnd) return;
    ByteSet state;
    if (!getDownloadState(run.download, state)) return;
    receivedAtEnd = readStateValue(run.download, state, kStateReceived, 0);
    for (int i = 1; i <= readStateValue(run.download, state, kStateRangeCount, 0); ++i)
      rangesAtEnd.push_back(readStateValue(run.download, state, kStateRangeReceived, i));
  };
  ASSERT_TRUE(startDownloadWith(run.download, paramFor(server.url("/pkg.zip"), kLocal, 5), hooks));
  ASSERT_TRUE(recorder.waitForEnd()) << recorder.allTexts();
  EXPECT_TRUE(tookOver);
  expectWellFormedEnd(recorder);
  EXPECT_EQ(recorder.count(kConnectionFailed), 0);
  EXPECT_EQ(recorder.dataBytes(), size);
  EXPECT_EQ(receivedAtEnd, size);
  EXPECT_EQ(rangesAtEnd, (std::vector<std::int32_t>{200000, 200000, 200000, 200000, 200003}));
  std::vector<std::int64_t> asked;
  for (const ServerRequest& r : server.requests()) asked.push_back(r.rangeStart.value_or(0));
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (std::vector<std::int64_t>{0, 200000, 400000, 600000, 800000}));
  std::optional<std::string> written = run.store.file(kLocal);
  ASSERT_TRUE(written);
  EXPECT_TRUE(*written == file) << "file differs";
}

// A connection whose range is refused for good gives it back only after it was held up, when
// every other connection has looked for a range to take and ended. The range is taken up
// all the same, and the download is whole.
TEST(EngineRanges, ARangeGivenBackAfterTheOthersEndedIsTakenUp) {
  const std::int64_t size = 1000003;
  std::string file = fileBytes(size);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) {
    if (r.rangeStart && *r.rangeStart == 400000 && r.earlierAlike == 0)
      c.send("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n");
    else
      serveFile(c, r, file);
  });
  EngineRun run;
  Recorder& recorder = run.recorder;
  EngineHooks hooks{&run.clock, &run.store};
  bool othersEnded = false;
  hooks.beforeRelease = [&](int index) {
    if (index == 2)
      othersEnded = recorder.waitFor([&] { return recorder.count(kConnectionEnded) == 4; });
  };
  ASSERT_TRUE(startDownloadWith(run.download, paramFor(server.url("/pkg.zip"), kLocal, 5), hooks));
  ASSERT_TRUE(recorder.waitForEnd()) << recorder.allTexts();
  EXPECT_TRUE(othersEnded);
  expectWellFormedEnd(recorder);
  EXPECT_TRUE(recorder.hasText(texts::format(texts::kUnsupportedStatus, 503), kTextError));
  EXPECT_EQ(recorder.count(kConnectionFailed), 1);
  EXPECT_EQ(recorder.count(kConnectionStarted), 6);
  EXPECT_EQ(recorder.dataBytes(), size);
  std::optional<std::string> written = run.store.file(kLocal);
  ASSERT_TRUE(written);
  EXPECT_TRUE(*written == file) << "file differs";
}

// The same-name question comes on the first connection's thread, while what that connection
// queued before may still wait for a task thread held up in a callback: the question waits
// for it, so that the caller sees the messages in their order. A stop breaks the wait off.
TEST(EngineOrder, TheSameNameQuestionComesAfterWhatWasQueuedBeforeIt) {
  std::string file = fileBytes(50000);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  for (bool stopWhileAsking : {false, true}) {
    EngineRun run;
    run.store.put(kLocal, "old");
    EngineHooks hooks{&run.clock, &run.store};
    std::promise<void> asking;
    std::shared_future<void> asked = asking.get_future().share();
    hooks.beforeSameNameQuestion = [&] { asking.set_value(); };
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    run.recorder.onArrival = [&](const Event& e) {
      if (e.code != kConnectionStarted || e.p1 != 1) return;
      asked.wait_for(std::chrono::seconds(20));
      if (stopWhileAsking) released.wait_for(std::chrono::seconds(20));
    };
    run.recorder.answer18 = [] { return kGiveUp; };
    ASSERT_TRUE(
        startDownloadWith(run.download, paramFor(server.url("/pkg.zip"), kLocal, 1), hooks));
    if (stopWhileAsking) {
      ASSERT_EQ(asked.wait_for(std::chrono::seconds(20)), std::future_status::ready);
      releaseDownload(run.download);
      release.set_value();
    }
    ASSERT_TRUE(run.recorder.waitForEnd()) << run.recorder.allTexts();
    std::vector<Event> events = run.recorder.events();
    auto at = [&](std::int32_t code) {
      return std::find_if(events.begin(), events.end(),
                          [&](const Event& e) { return e.code == code; }) -
             events.begin();
    };
    if (stopWhileAsking) {
      EXPECT_EQ(run.recorder.count(kSameNameFile), 0) << "asked after the stop";
    } else {
      expectWellFormedEnd(run.recorder);
      ASSERT_EQ(run.recorder.count(kSameNameFile), 1);
      EXPECT_LT(at(kConnectionStarted), at(kSameNameFile));
    }
  }
}

// At the end of a process a stopped task's thread still delivers its last messages, and its
// callbacks may send to the ending thread's windows. The wait answers them and returns
// only once the thread has ended, or when its time is up.
TEST(EngineEnd, TheWaitOutlastsTheTaskThreadsAndAnswersTheirSentMessages) {
  const std::int64_t size = 500000;
  std::string file = fileBytes(size);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) {
    std::int64_t start = r.rangeStart.value_or(0);
    c.send(r.rangeStart ? partialHead(start, size) : okHead(size));
    c.trickle(file.substr(static_cast<std::size_t>(start)), 2000, 10);
  });
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  for (bool endInTime : {true, false}) {
    EngineRun run;
    std::atomic<bool> ended{false};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    run.recorder.onArrival = [&](const Event& e) {
      if (e.code != kTransferEnd) return;
      SendMessageW(window, WM_NULL, 0, 0);
      if (endInTime)
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
      else
        released.wait_for(std::chrono::seconds(20));
      ended = true;
    };
    ASSERT_TRUE(run.start(paramFor(server.url("/pkg.zip"), kLocal, 5)));
    ASSERT_TRUE(run.recorder.waitFor([&] { return run.recorder.count(kDataReceived) >= 10; }));
    releaseDownload(run.download);
    if (endInTime) {
      EXPECT_TRUE(waitForTasksToEnd(20000));
      EXPECT_TRUE(ended) << "the wait returned before the task thread ended";
    } else {
      EXPECT_FALSE(waitForTasksToEnd(300));
      release.set_value();
      EXPECT_TRUE(waitForTasksToEnd(20000));
    }
    // Whatever the wait did, the thread is let end before its recorder goes.
    EXPECT_TRUE(test_support::pumpUntil([&] { return ended.load(); }, 20000));
  }
  DestroyWindow(window);
}

// A name lookup is not interrupted by a stop. One that returns after the stop's wait ran
// out connects nowhere: the task is left alone, and it still ends with message 4.
TEST(EngineStop, ALookupThatReturnsAfterTheStopConnectsNowhere) {
  test_support::LoopbackListener server{8};
  EngineRun run;
  EngineHooks hooks{&run.clock, &run.store};
  std::promise<void> lookingUp;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  hooks.afterLookUp = [&] {
    lookingUp.set_value();
    released.wait_for(std::chrono::seconds(20));
  };
  TaskParam param = paramFor(server.url("/pkg.zip"), kLocal, 5);
  param.stopWait = 50;
  ASSERT_TRUE(startDownloadWith(run.download, param, hooks));
  ASSERT_EQ(lookingUp.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
  ByteSet state;
  ASSERT_TRUE(stopDownload(run.download, state, 2));
  release.set_value();
  ASSERT_TRUE(run.recorder.waitForEnd());
  EXPECT_FALSE(server.accept(300)) << "a connection was made after the stop";
}

TEST(EngineRetry, SilentServerTimesOutAndRetries) {
  FaultServer server([](ServerConnection& c, const ServerRequest&) { c.holdSilent(); });
  EngineRun run;
  Recorder& recorder = run.recorder;
  MemoryStore& store = run.store;
  Download& download = run.download;
  TaskParam param = paramFor(server.url("/pkg.zip"), kLocal, 5);
  param.receiveTimeout = 10000;  // 100 ms on the quick clock
  ASSERT_TRUE(run.start(param));
  ASSERT_TRUE(recorder.waitFor(
      [&] { return recorder.textCount("等待5秒后重试", kTextProgress) >= 3; }, 5000));
  EXPECT_GE(server.requests().size(), 3u);
  releaseDownload(download);
  ASSERT_TRUE(recorder.waitForEnd());
  EXPECT_EQ(recorder.events().back().p2, 0);
  EXPECT_FALSE(store.file(kLocal));
}

TEST(EngineSpeedLimit, StepsStayWithinTheShare) {
  std::string file = fileBytes(50000);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  EngineRun run;
  Recorder& recorder = run.recorder;
  MemoryStore& store = run.store;
  TaskParam param = paramFor(server.url("/pkg.zip"), kLocal, 1);
  param.speedLimit = 8000;
  ASSERT_TRUE(run.start(param));
  ASSERT_TRUE(recorder.waitForEnd());
  EXPECT_EQ(store.file(kLocal), file);
  // The bytes that came with the header are one step of their own; every later one is
  // at most the limit.
  std::vector<Event> steps;
  for (const Event& e : recorder.events())
    if (e.code == kDataReceived) steps.push_back(e);
  ASSERT_GE(steps.size(), 50000u / 8000);
  for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_LE(steps[i].p2, 8000);
}

// However much one receive brings, it is reported in steps of at most the block; only the
// bytes that came with a reply header may form a larger step.
TEST(EngineSteps, ReceivesReportedInBlocks) {
  std::string file = fileBytes(1000003);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) { serveFile(c, r, file); });
  for (std::int32_t block : {20480, 3000}) {
    EngineRun run;
    TaskParam param = paramFor(server.url("/pkg.zip"), kLocal, 2);
    param.receiveBlock = block;
    ASSERT_TRUE(run.start(param));
    ASSERT_TRUE(run.recorder.waitForEnd());
    EXPECT_EQ(run.store.file(kLocal), file);
    EXPECT_EQ(run.recorder.dataBytes(), static_cast<std::int64_t>(file.size()));
    int larger = 0;
    for (const Event& e : run.recorder.events())
      if (e.code == kDataReceived && e.p2 > block) ++larger;
    EXPECT_LE(larger, run.recorder.count(kConnectionStarted) + run.recorder.count(kRangeTakenOver))
        << block;
  }
}

struct SameNameCase {
  const char* name;
  std::int32_t answer;
  bool moveOldFile;       // the callback moves the old file away before answering
  int takenNames;         // renamed names that exist already
  const char* writtenAt;  // where the download lands, "" = nowhere
  std::string text;
};

const SameNameCase kSameNameCases[] = {
    {"rename", 0, false, 0, "C:\\dl\\pkg(1).zip",
     texts::format(texts::kRenamedAutomatically, "C:\\dl\\pkg(1).zip")},
    {"rename past taken names", 0, false, 2, "C:\\dl\\pkg(3).zip",
     texts::format(texts::kRenamedAutomatically, "C:\\dl\\pkg(3).zip")},
    {"rename exhausted", 0, false, 99, "", texts::kTooManyRenames},
    {"give up", 1, false, 0, "", texts::kUserGaveUp},
    {"same path, moved away", 2, true, 0, kLocal, texts::format(texts::kUserRenamed, kLocal)},
    {"same path, still there", 2, false, 0, "", texts::kFileError},
    {"other answer", 7, false, 0, "", ""},
};

class SameNameFile : public ::testing::TestWithParam<SameNameCase> {};

TEST_P(SameNameFile, AnswerDecides) {
  const SameNameCase& c = GetParam();
  std::string file = fileBytes(50000);
  FaultServer server(
      [&](ServerConnection& conn, const ServerRequest& r) { serveFile(conn, r, file); });
  Recorder recorder;
  MemoryStore store;
  store.put(kLocal, "old");
  for (int i = 1; i <= c.takenNames; ++i)
    store.put("C:\\dl\\pkg(" + std::to_string(i) + ").zip", "x");
  DWORD engineThread = 0;
  recorder.answer18 = [&] {
    engineThread = GetCurrentThreadId();
    if (c.moveOldFile) store.remove(kLocal);
    return c.answer;
  };
  QuickClock clock;
  Download download;
  ASSERT_TRUE(
      startDownloadWith(download, paramFor(server.url("/pkg.zip"), kLocal, 5), {&clock, &store}));
  ASSERT_TRUE(recorder.waitForEnd());
  expectWellFormedEnd(recorder);
  EXPECT_NE(engineThread, 0u);
  ASSERT_EQ(recorder.count(kSameNameFile), 1);
  for (const Event& e : recorder.events())
    if (e.code == kSameNameFile) {
      EXPECT_EQ(e.p1, 3);
      EXPECT_EQ(e.p2, 50000);
    }
  if (!c.text.empty()) {
    EXPECT_TRUE(recorder.hasText(c.text, kTextProgress) || recorder.hasText(c.text, kTextError))
        << recorder.allTexts();
  }
  if (*c.writtenAt) {
    EXPECT_EQ(store.file(c.writtenAt), file);
    EXPECT_EQ(recorder.pathAtStart(c.writtenAt), c.writtenAt);
  } else {
    EXPECT_EQ(recorder.count(kTransferStart), 0);
    EXPECT_EQ(recorder.count(kConnectionFailed), 1);
  }
  if (!c.moveOldFile) {
    EXPECT_EQ(store.file(kLocal), "old");
  }
}

INSTANTIATE_TEST_SUITE_P(Engine, SameNameFile, ::testing::ValuesIn(kSameNameCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

// The real target: a new file created at its full size and written through a mapping.
class MappedFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "engine_test_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& name : created_) DeleteFileA((folder_ + name).c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string read(const std::string& name) {
    std::ifstream in(folder_ + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::string folder_;
  std::vector<std::string> created_{"pkg.zip", "pkg(1).zip", "named.bin"};
};

TEST_F(MappedFileTest, LargeFileByteIdenticalAndFolderTargets) {
  std::string file = fileBytes(2000003);
  FaultServer server([&](ServerConnection& c, const ServerRequest& r) {
    if (r.path == "/named") {
      if (r.rangeStart)
        c.send(partialHead(*r.rangeStart, file.size()) + file.substr(*r.rangeStart));
      else
        c.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(file.size()) +
               "\r\nContent-Disposition: attachment; filename=\"..\\named.bin\"\r\n\r\n" + file);
      return;
    }
    serveFile(c, r, file);
  });
  QuickClock clock;
  EngineHooks hooks{&clock, &fileStore()};
  {
    Recorder recorder;
    Download download;
    ASSERT_TRUE(startDownloadWith(download,
                                  paramFor(server.url("/pkg.zip"), folder_ + "pkg.zip", 5), hooks));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(recorder.count(kConnectionEnded), 5);
    EXPECT_TRUE(read("pkg.zip") == file);
  }
  {
    // The folder form takes its name from Content-Disposition, kept inside the folder.
    Recorder recorder;
    Download download;
    ASSERT_TRUE(startDownloadWith(download, paramFor(server.url("/named"), folder_, 5), hooks));
    ASSERT_TRUE(recorder.waitForEnd());
    EXPECT_EQ(recorder.pathAtStart(folder_ + "named.bin"), folder_ + "named.bin");
    EXPECT_TRUE(read("named.bin") == file);
  }
  {
    // With no callback the same name is renamed; the folder form falls back to the path.
    Recorder recorder;
    Download download;
    TaskParam param = paramFor(server.url("/pkg.zip"), folder_, 1);
    param.eventCallback = nullptr;
    ASSERT_TRUE(startDownloadWith(download, param, hooks));
    ASSERT_TRUE(recorder.waitFor([&] { return recorder.hasText("pkg(1).zip", kTextProgress); }));
    EXPECT_TRUE(recorder.waitFor([&] { return getDownloadTaskId(download) == -1; }));
    releaseDownload(download);  // never leave a task calling into a recorder that is gone
    EXPECT_TRUE(read("pkg(1).zip") == file);
    EXPECT_TRUE(read("pkg.zip") == file);
  }
}

}  // namespace
}  // namespace download
