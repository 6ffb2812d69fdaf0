#include "forms/net/local_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace forms::testing {
namespace {

struct WinsockUse {
  WinsockUse() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUse() { WSACleanup(); }
};

std::string readHead(SOCKET s) {
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(s, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    head.append(buffer, got);
  }
  return head;
}

}  // namespace

LocalServer::LocalServer(Responder responder) : responder_(std::move(responder)) {
  static WinsockUse winsock;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(s, 8);
  int size = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
  listener_ = s;
  thread_ = std::thread([this] { serve(); });
}

LocalServer::~LocalServer() {
  stop_ = true;
  thread_.join();
  closesocket(static_cast<SOCKET>(listener_));
}

std::string LocalServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

Reply LocalServer::reply(const std::string& status, const std::string& body, bool withLength) {
  std::string bytes = "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n";
  if (withLength) bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  bytes += "Connection: close\r\n\r\n" + body;
  return {bytes, false};
}

void LocalServer::serve() {
  const SOCKET listener = static_cast<SOCKET>(listener_);
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener, &ready);
    timeval wait = {0, 50 * 1000};  // short, so that the destructor is not kept waiting
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    const std::string head = readHead(client);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }
    const Reply answer = responder_(head);
    std::size_t sent = 0;
    while (sent < answer.bytes.size()) {
      const int n = send(client, answer.bytes.data() + sent, static_cast<int>(answer.bytes.size() - sent), 0);
      if (n <= 0) break;
      sent += n;
    }
    if (answer.pauseMs > 0) Sleep(answer.pauseMs);
    if (answer.reset) {
      linger hard = {1, 0};
      setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof(hard));
    } else {
      shutdown(client, SD_SEND);
    }
    closesocket(client);
  }
}

}  // namespace forms::testing
