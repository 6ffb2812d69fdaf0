#include "test_support/fault_server.h"

namespace test_support {

namespace {

std::optional<std::int64_t> rangeOf(const std::string& head) {
  std::size_t at = head.find("\r\nRange: bytes=");
  if (at == std::string::npos) return std::nullopt;
  return std::stoll(head.substr(at + 15));
}

}  // namespace

bool ServerConnection::send(const std::string& bytes) { return sendAll(s_, bytes); }

bool ServerConnection::trickle(const std::string& bytes, std::size_t piece, int pauseMs) {
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    if (stopping_ || !send(bytes.substr(at, piece))) return false;
    Sleep(pauseMs);
  }
  return true;
}

void ServerConnection::holdSilent() {
  char sink[256];
  while (!stopping_) {
    if (readable(s_, 20) && recv(s_, sink, sizeof sink, 0) <= 0) return;
  }
}

void ServerConnection::reset() {
  resetOnClose(s_);
  reset_ = true;
}

FaultServer::FaultServer(Behaviour behaviour) : behaviour_(std::move(behaviour)) {
  acceptor_ = std::thread([this] { acceptLoop(); });
}

FaultServer::~FaultServer() {
  stopping_ = true;
  acceptor_.join();
  for (std::thread& thread : threads_) thread.join();
}

std::vector<ServerRequest> FaultServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void FaultServer::acceptLoop() {
  while (!stopping_) {
    base::SocketHandle s = listener_.accept(20);
    if (s) threads_.emplace_back(&FaultServer::serve, this, std::move(s));
  }
}

void FaultServer::serve(base::SocketHandle s) {
  // A client that stops reading must not hold a server thread (and so the server's
  // destructor) in send for ever.
  DWORD sendLimitMs = 15000;
  setsockopt(s.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendLimitMs),
             sizeof sendLimitMs);
  const std::string head = readHead(s.get(), stopping_);
  if (head.find("\r\n\r\n") == std::string::npos) return;
  ServerRequest request;
  request.head = head;
  std::size_t space = head.find(' ');
  request.path = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
  request.rangeStart = rangeOf(head);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const ServerRequest& earlier : requests_)
      if (earlier.path == request.path && earlier.rangeStart == request.rangeStart)
        ++request.earlierAlike;
    requests_.push_back(request);
  }
  ServerConnection connection(s.get(), stopping_);
  behaviour_(connection, request);
  if (!connection.wasReset()) shutdown(s.get(), SD_SEND);
}

std::string okHead(std::int64_t length) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
}

std::string partialHead(std::int64_t start, std::int64_t total) {
  return "HTTP/1.1 206 Partial Content\r\nContent-Length: " + std::to_string(total - start) +
         "\r\nContent-Range: bytes " + std::to_string(start) + "-" + std::to_string(total - 1) +
         "/" + std::to_string(total) + "\r\n\r\n";
}

}  // namespace test_support
