#include "updater/engine/fault_server.h"

#include <chrono>

namespace forms::engine::testing {

namespace {

bool readable(SOCKET s, long ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &tv) > 0;
}

std::optional<std::int64_t> rangeOf(const std::string& head) {
  std::size_t at = head.find("\r\nRange: bytes=");
  if (at == std::string::npos) return std::nullopt;
  return std::stoll(head.substr(at + 15));
}

}  // namespace

bool ServerConnection::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    int n = ::send(s_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

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
  linger hard{1, 0};
  setsockopt(s_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
  reset_ = true;
}

FaultServer::FaultServer(Behaviour behaviour) : behaviour_(std::move(behaviour)) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
  listen(listener_, 64);
  int length = sizeof at;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length);
  port_ = ntohs(at.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

FaultServer::~FaultServer() {
  stopping_ = true;
  acceptor_.join();
  closesocket(listener_);
  for (std::thread& thread : threads_) thread.join();
}

std::string FaultServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<ServerRequest> FaultServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void FaultServer::acceptLoop() {
  while (!stopping_) {
    if (!readable(listener_, 20)) continue;
    SOCKET s = accept(listener_, nullptr, nullptr);
    if (s == INVALID_SOCKET) continue;
    threads_.emplace_back([this, s] { serve(s); });
  }
}

void FaultServer::serve(SOCKET s) {
  // A client that stops reading must not hold a server thread (and so the server's
  // destructor) in send for ever.
  DWORD sendLimitMs = 15000;
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendLimitMs),
             sizeof sendLimitMs);
  std::string head;
  char piece[1024];
  while (head.find("\r\n\r\n") == std::string::npos && !stopping_) {
    if (!readable(s, 20)) continue;
    int n = recv(s, piece, sizeof piece, 0);
    if (n <= 0) break;
    head.append(piece, static_cast<std::size_t>(n));
  }
  bool wasReset = false;
  if (head.find("\r\n\r\n") != std::string::npos) {
    ServerRequest request;
    request.head = head;
    std::size_t space = head.find(' ');
    request.path = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
    request.rangeStart = rangeOf(head);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(request);
    }
    ServerConnection connection(s, stopping_);
    behaviour_(connection, request);
    wasReset = connection.wasReset();
  }
  if (!wasReset) shutdown(s, SD_SEND);
  closesocket(s);
}

std::string okHead(std::int64_t length) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
}

std::string partialHead(std::int64_t start, std::int64_t total) {
  return "HTTP/1.1 206 Partial Content\r\nContent-Length: " + std::to_string(total - start) +
         "\r\nContent-Range: bytes " + std::to_string(start) + "-" + std::to_string(total - 1) +
         "/" + std::to_string(total) + "\r\n\r\n";
}

}  // namespace forms::engine::testing
