#include "test_support/local_server.h"

namespace test_support {

LocalServer::LocalServer(Responder responder) : responder_(std::move(responder)) {
  thread_ = std::thread([this] { serve(); });
}

LocalServer::~LocalServer() {
  stop_ = true;
  thread_.join();
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
  while (!stop_) {
    // A short wait, so that the destructor is not kept waiting.
    const base::SocketHandle client = listener_.accept(50);
    if (!client) continue;
    const std::string head = readHead(client.get(), stop_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(head.substr(0, head.find("\r\n\r\n")));
    }
    const Reply answer = responder_(head);
    sendAll(client.get(), answer.bytes);
    if (answer.pauseMs > 0) Sleep(answer.pauseMs);
    if (answer.reset)
      resetOnClose(client.get());
    else
      shutdown(client.get(), SD_SEND);
  }
}

}  // namespace test_support
