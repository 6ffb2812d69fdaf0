#pragma once
// One connection's socket, with every wait bounded by a time-out and broken off by a stop:
// each wait is one wait on the socket's event and the stop's event together.
#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/socket_handle.h"
#include "download/stop_signal.h"

namespace download {

class Socket {
 public:
  SOCKET get() const { return s_.get(); }
  void attach(SOCKET s) {
    close();
    s_.attach(s);
  }
  void close() {
    s_.close();
    event_.close();
  }
  // The event that the socket's overlapped operations and its connect signal, made on first use.
  WSAEVENT event() {
    if (!event_) event_.attach(WSACreateEvent());
    return event_.get();
  }
  // Where receives land before they are copied to the caller (see receiveSome); kept over
  // close(), so a connection's further requests reuse it.
  std::vector<std::uint8_t>& staging() { return staging_; }

 private:
  std::vector<std::uint8_t> staging_;
  // The event before the socket, so that the socket goes first, as in close().
  base::SocketEvent event_;
  base::SocketHandle s_;
};

// How much a socket holds before the peer has to wait: a deep buffer lets most receives find
// a full staging buffer's worth waiting.
constexpr int kReceiveDepth = 4 << 20;

// Receives go into the socket's own buffer and are copied to their destination from there.
// Under Wine, a receive writes its buffer from the kernel, and a page of a file mapping
// that the kernel writes can cost several times what the same page costs written by the
// program (on one machine under 64-bit Wine, 256 MiB took 410-475 ms read straight into a
// mapped view whose pages were already touched, 72-78 ms read into a 1 MiB buffer and
// copied). Wine also reads and writes one byte of every page of a receive's buffer first,
// which makes each new page of a mapping fault twice; a buffer that stays mapped makes
// both cheap. 1 MiB was fastest there (256 KiB and 64 KiB less so, 2 MiB no better).
constexpr std::size_t kStagingSize = 1 << 20;

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
// Up to `size` bytes into `out`; Closed when the peer ended the connection. One receive
// returns at most kStagingSize bytes.
IoResult receiveSome(Socket& socket, std::uint8_t* out, std::size_t size, std::size_t& got,
                     std::int64_t timeoutMs, const StopSignal& stop);

}  // namespace download
