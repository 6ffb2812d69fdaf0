#pragma once
// What the loopback test servers share: a listening socket on 127.0.0.1 at a port that
// the system picks, and the socket steps of serving one connection.
#include <winsock2.h>

#include <atomic>
#include <string>

#include "base/socket_handle.h"

namespace test_support {

class LoopbackListener {
 public:
  explicit LoopbackListener(int backlog);

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" + path
  std::string url(const std::string& path) const;
  // A connection that arrived within ms; an empty owner when none did. Short waits, so
  // that a server's stop is seen soon.
  base::SocketHandle accept(long ms);

 private:
  base::SocketHandle socket_;
  int port_ = 0;
};

// True when s can be read (data, or the peer's end) within ms.
bool readable(SOCKET s, long ms);
// The request head up to and with its empty line; what came, when the peer ends or stop is
// set first.
std::string readHead(SOCKET s, const std::atomic<bool>& stop);
// False once the peer has gone.
bool sendAll(SOCKET s, const std::string& bytes);
// Closing s then resets the connection instead of ending it in order.
void resetOnClose(SOCKET s);

}  // namespace test_support
