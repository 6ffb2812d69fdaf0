#include "test_support/loopback.h"

namespace test_support {
namespace {

struct WinsockUse {
  WinsockUse() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUse() { WSACleanup(); }
};

}  // namespace

LoopbackListener::LoopbackListener(int backlog) {
  static WinsockUse winsock;
  socket_.attach(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(socket_.get(), reinterpret_cast<sockaddr*>(&at), sizeof at);
  listen(socket_.get(), backlog);
  int length = sizeof at;
  getsockname(socket_.get(), reinterpret_cast<sockaddr*>(&at), &length);
  port_ = ntohs(at.sin_port);
}

std::string LoopbackListener::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

base::SocketHandle LoopbackListener::accept(long ms) {
  if (!readable(socket_.get(), ms)) return {};
  return base::SocketHandle(::accept(socket_.get(), nullptr, nullptr));
}

bool readable(SOCKET s, long ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{ms / 1000, (ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

std::string readHead(SOCKET s, const std::atomic<bool>& stop) {
  std::string head;
  char piece[1024];
  while (head.find("\r\n\r\n") == std::string::npos && !stop) {
    if (!readable(s, 20)) continue;
    const int n = recv(s, piece, sizeof piece, 0);
    if (n <= 0) break;
    head.append(piece, static_cast<std::size_t>(n));
  }
  return head;
}

bool sendAll(SOCKET s, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void resetOnClose(SOCKET s) {
  linger hard{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
}

}  // namespace test_support
