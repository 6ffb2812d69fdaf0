#pragma once
// A small HTTP server on 127.0.0.1 for tests: it answers each connection with the bytes
// that its responder gives for the request, one connection at a time, on its own thread.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "test_support/loopback.h"

namespace test_support {

struct Reply {
  std::string bytes;   // status line, headers and body, sent as they are
  bool reset = false;  // end the connection with a reset instead of a close
  int pauseMs = 0;     // wait this long after sending, before the connection ends
};

class LocalServer {
 public:
  using Responder = std::function<Reply(const std::string& request)>;

  explicit LocalServer(Responder responder);
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  int port() const { return listener_.port(); }
  // "http://127.0.0.1:PORT" + path
  std::string url(const std::string& path) const { return listener_.url(path); }
  // The request heads received so far (up to the blank line), oldest first.
  std::vector<std::string> requests() const;

  // A reply with the given status line ("200 OK"), optional Content-Length, and body.
  static Reply reply(const std::string& status, const std::string& body, bool withLength = true);

 private:
  void serve();

  Responder responder_;
  LoopbackListener listener_{8};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace test_support
