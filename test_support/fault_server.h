#pragma once
// An HTTP server on 127.0.0.1 for the engine's tests that misbehaves on purpose: each
// connection runs on its own thread and is answered by the test's behaviour.
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "test_support/loopback.h"

namespace test_support {

struct ServerRequest {
  std::string head;  // up to and with the empty line
  std::string path;
  std::optional<std::int64_t> rangeStart;  // from "Range: bytes=N-"
  // Requests for the same path and range that this server received before: a retry sees
  // 1 or more, so a fault of the first try belongs to the server of one test run.
  int earlierAlike = 0;
};

class ServerConnection {
 public:
  ServerConnection(SOCKET s, const std::atomic<bool>& stopping) : s_(s), stopping_(stopping) {}
  // False once the peer has gone.
  bool send(const std::string& bytes);
  // Sends `bytes` in pieces with a pause after each, while the server runs.
  bool trickle(const std::string& bytes, std::size_t piece, int pauseMs);
  // Keeps the connection open and silent until the peer leaves or the server stops.
  void holdSilent();
  // Ends with a reset instead of an orderly close.
  void reset();
  bool wasReset() const { return reset_; }

 private:
  SOCKET s_;
  bool reset_ = false;
  const std::atomic<bool>& stopping_;
};

class FaultServer {
 public:
  using Behaviour = std::function<void(ServerConnection&, const ServerRequest&)>;

  explicit FaultServer(Behaviour behaviour);
  ~FaultServer();
  FaultServer(const FaultServer&) = delete;
  FaultServer& operator=(const FaultServer&) = delete;

  int port() const { return listener_.port(); }
  std::string url(const std::string& path) const { return listener_.url(path); }
  std::vector<ServerRequest> requests() const;

 private:
  void acceptLoop();
  void serve(base::SocketHandle s);

  Behaviour behaviour_;
  LoopbackListener listener_{64};
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<ServerRequest> requests_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

// The usual replies.
std::string okHead(std::int64_t length);
std::string partialHead(std::int64_t start, std::int64_t total);

}  // namespace test_support
