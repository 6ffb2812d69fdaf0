#include "updater/engine/socket_stream.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>

namespace forms::engine {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Waits are cut into slices so that a stop is noticed within this many milliseconds.
constexpr long kSliceMs = 20;

// Waits until `slice(ms)` (one wait of at most ms milliseconds) gives a result, the
// time-out passes or a stop is asked for; an empty result means the slice passed.
template <typename Slice>
IoResult waitInSlices(std::int64_t timeoutMs, const std::atomic<bool>& stop, Slice slice) {
  auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (stop.load()) return IoResult::Stopped;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now()).count();
    if (left <= 0) return IoResult::TimedOut;
    if (std::optional<IoResult> r = slice(static_cast<long>(std::min<std::int64_t>(left, kSliceMs)))) return *r;
  }
}

// Until a connect has ended or a send can go on.
IoResult waitWritable(SOCKET s, std::int64_t timeoutMs, const std::atomic<bool>& stop) {
  return waitInSlices(timeoutMs, stop, [s](long ms) -> std::optional<IoResult> {
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    if (select(0, nullptr, &ready, &failed, &tv) == SOCKET_ERROR || FD_ISSET(s, &failed)) return IoResult::Failed;
    if (FD_ISSET(s, &ready)) return IoResult::Ok;
    return std::nullopt;
  });
}

IoResult waitForEvent(WSAEVENT event, std::int64_t timeoutMs, const std::atomic<bool>& stop) {
  return waitInSlices(timeoutMs, stop, [event](long ms) -> std::optional<IoResult> {
    DWORD r = WSAWaitForMultipleEvents(1, &event, FALSE, static_cast<DWORD>(ms), FALSE);
    if (r == WSA_WAIT_EVENT_0) return IoResult::Ok;
    if (r != WSA_WAIT_TIMEOUT) return IoResult::Failed;
    return std::nullopt;
  });
}

}  // namespace

void Socket::close() {
  if (s_ != INVALID_SOCKET) closesocket(s_);
  s_ = INVALID_SOCKET;
  if (event_ != WSA_INVALID_EVENT) WSACloseEvent(event_);
  event_ = WSA_INVALID_EVENT;
}

WSAEVENT Socket::event() {
  if (event_ == WSA_INVALID_EVENT) event_ = WSACreateEvent();
  return event_;
}

void startWinsock() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  });
}

bool isDottedAddress(const std::string& host) {
  return !host.empty() && host.find_first_not_of("0123456789.") == std::string::npos;
}

bool lookUpHost(const std::string& host, in_addr& address) {
  if (isDottedAddress(host)) {
    unsigned long value = inet_addr(host.c_str());
    if (value == INADDR_NONE && host != "255.255.255.255") return false;
    address.s_addr = value;
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

IoResult connectTo(Socket& socket, const in_addr& address, int port, std::int64_t timeoutMs,
                   const std::atomic<bool>& stop) {
  socket.attach(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (socket.get() == INVALID_SOCKET) return IoResult::Failed;
  u_long nonBlocking = 1;
  ioctlsocket(socket.get(), FIONBIO, &nonBlocking);
  // A deep receive buffer lets most receives find their data waiting.
  int depth = 4 << 20;
  setsockopt(socket.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&depth), sizeof depth);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port));
  to.sin_addr = address;
  if (connect(socket.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return IoResult::Ok;
  if (WSAGetLastError() != WSAEWOULDBLOCK) return IoResult::Failed;
  IoResult r = waitWritable(socket.get(), timeoutMs, stop);
  if (r != IoResult::Ok) return r;
  int error = 0;
  int length = sizeof error;
  getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
  return error == 0 ? IoResult::Ok : IoResult::Failed;
}

IoResult sendAll(Socket& socket, const std::string& bytes, std::int64_t timeoutMs,
                 const std::atomic<bool>& stop) {
  std::size_t sent = 0;
  auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (sent < bytes.size()) {
    int n = send(socket.get(), bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return IoResult::Failed;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now()).count();
    IoResult r = waitWritable(socket.get(), std::max<std::int64_t>(left, 0), stop);
    if (r != IoResult::Ok) return r;
  }
  return IoResult::Ok;
}

// An overlapped receive: where the data is waiting it completes at once, and where it is
// not, the wait is on the receive itself, so no readiness test precedes each step.
IoResult receiveSome(Socket& socket, std::uint8_t* out, std::size_t size, std::size_t& got,
                     std::int64_t timeoutMs, const std::atomic<bool>& stop) {
  got = 0;
  WSABUF buffer{static_cast<ULONG>(size), reinterpret_cast<char*>(out)};
  WSAOVERLAPPED overlapped{};
  overlapped.hEvent = socket.event();
  if (overlapped.hEvent == WSA_INVALID_EVENT) return IoResult::Failed;
  DWORD received = 0, flags = 0;
  if (WSARecv(socket.get(), &buffer, 1, &received, &flags, &overlapped, nullptr) != 0) {
    if (WSAGetLastError() != WSA_IO_PENDING) return IoResult::Failed;
    IoResult waited = waitForEvent(overlapped.hEvent, timeoutMs, stop);
    // The receive writes into `out` until it is over: cancel it and wait for its end.
    if (waited != IoResult::Ok) CancelIo(reinterpret_cast<HANDLE>(socket.get()));
    BOOL done = WSAGetOverlappedResult(socket.get(), &overlapped, &received, TRUE, &flags);
    if (waited != IoResult::Ok) return waited;
    if (!done) return IoResult::Failed;
  }
  got = received;
  return received > 0 ? IoResult::Ok : IoResult::Closed;
}

}  // namespace forms::engine
