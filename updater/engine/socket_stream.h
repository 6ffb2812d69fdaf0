#pragma once
// One connection's socket, with every wait bounded by a time-out and broken off by a stop:
// each wait is one wait on the socket's event and the stop's event together.
#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "updater/engine/stop_signal.h"

namespace forms::engine {

class Socket {
 public:
  Socket() = default;
  ~Socket() { close(); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET get() const { return s_; }
  void attach(SOCKET s) {
    close();
    s_ = s;
  }
  void close();
  // The event that the socket's overlapped operations and its connect signal, made on first use.
  WSAEVENT event();

 private:
  SOCKET s_ = INVALID_SOCKET;
  WSAEVENT event_ = WSA_INVALID_EVENT;
};

// How much a socket holds before the peer has to wait: a deep buffer lets most receives find
// their data waiting, and it is the most that one receive can return.
constexpr int kReceiveDepth = 4 << 20;

enum class IoResult { Ok, TimedOut, Failed, Closed, Stopped };

// Winsock is started once for the process, before the first lookup.
void startWinsock();

// An IPv4 address for a dotted address or a host name; false when the lookup fails.
bool isDottedAddress(const std::string& host);
bool lookUpHost(const std::string& host, in_addr& address);

IoResult connectTo(Socket& socket, const in_addr& address, int port, std::int64_t timeoutMs,
                   const StopSignal& stop);
IoResult sendAll(Socket& socket, const std::string& bytes, std::int64_t timeoutMs,
                 const StopSignal& stop);
// Up to `size` bytes into `out`; Closed when the peer ended the connection.
IoResult receiveSome(Socket& socket, std::uint8_t* out, std::size_t size, std::size_t& got,
                     std::int64_t timeoutMs, const StopSignal& stop);

}  // namespace forms::engine
