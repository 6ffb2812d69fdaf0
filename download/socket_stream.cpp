#include "download/socket_stream.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

namespace download {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Until the socket's event is set, the time-out passes or the stop is set. The stop comes
// first in the list, so that it wins over data that arrived at the same moment.
IoResult waitForEvent(WSAEVENT event, std::int64_t timeoutMs, const StopSignal& stop) {
  if (stop.isSet()) return IoResult::Stopped;
  if (timeoutMs <= 0) return IoResult::TimedOut;
  WSAEVENT events[2] = {stop.event(), event};
  DWORD r = WSAWaitForMultipleEvents(2, events, FALSE, waitMs(timeoutMs), FALSE);
  if (r == WSA_WAIT_EVENT_0) return IoResult::Stopped;
  if (r == WSA_WAIT_EVENT_0 + 1) return IoResult::Ok;
  if (r == WSA_WAIT_TIMEOUT) return IoResult::TimedOut;
  return IoResult::Failed;
}

// One overlapped send or receive, started by `start` (WSASend or WSARecv). Where it
// completes at once no wait follows; where it does not, the wait is on the operation itself.
template <typename Start>
IoResult overlapped(Socket& socket, std::int64_t timeoutMs, const StopSignal& stop, DWORD& done,
                    Start start) {
  done = 0;
  WSAOVERLAPPED op{};
  op.hEvent = socket.event();
  if (op.hEvent == WSA_INVALID_EVENT) return IoResult::Failed;
  if (start(&op, &done) == 0) return IoResult::Ok;
  if (WSAGetLastError() != WSA_IO_PENDING) return IoResult::Failed;
  IoResult waited = waitForEvent(op.hEvent, timeoutMs, stop);
  // The operation uses the buffer until it is over: cancel it and wait for its end.
  if (waited != IoResult::Ok) CancelIo(reinterpret_cast<HANDLE>(socket.get()));
  DWORD flags = 0;
  BOOL ok = WSAGetOverlappedResult(socket.get(), &op, &done, TRUE, &flags);
  // Bytes that came before the cancel are in the buffer (a receive writes straight into
  // the file): they count, and the stop or time-out is seen at the next step.
  if (ok && done > 0) return IoResult::Ok;
  if (waited != IoResult::Ok) return waited;
  return ok ? IoResult::Ok : IoResult::Failed;
}

}  // namespace

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
                   const StopSignal& stop) {
  socket.attach(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (socket.get() == INVALID_SOCKET) return IoResult::Failed;
  WSAEVENT event = socket.event();
  if (event == WSA_INVALID_EVENT) return IoResult::Failed;
  int depth = kReceiveDepth;
  setsockopt(socket.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&depth),
             sizeof depth);
  // The connect's end sets the socket's event (and makes the socket non-blocking); the
  // selection is dropped again afterwards, so that only the overlapped operations set it.
  if (WSAEventSelect(socket.get(), event, FD_CONNECT) != 0) return IoResult::Failed;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<u_short>(port));
  to.sin_addr = address;
  IoResult r = IoResult::Ok;
  if (connect(socket.get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    if (WSAGetLastError() != WSAEWOULDBLOCK) return IoResult::Failed;
    r = waitForEvent(event, timeoutMs, stop);
    if (r == IoResult::Ok) {
      WSANETWORKEVENTS happened{};
      if (WSAEnumNetworkEvents(socket.get(), event, &happened) != 0 ||
          (happened.lNetworkEvents & FD_CONNECT) == 0 || happened.iErrorCode[FD_CONNECT_BIT] != 0)
        r = IoResult::Failed;
    }
  }
  WSAEventSelect(socket.get(), nullptr, 0);
  WSAResetEvent(event);
  return r;
}

IoResult sendAll(Socket& socket, const std::string& bytes, std::int64_t timeoutMs,
                 const StopSignal& stop) {
  std::size_t sent = 0;
  auto end = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (sent < bytes.size()) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now()).count();
    WSABUF buffer{static_cast<ULONG>(bytes.size() - sent), const_cast<char*>(bytes.data() + sent)};
    DWORD done = 0;
    IoResult r = overlapped(socket, left, stop, done, [&](WSAOVERLAPPED* op, DWORD* n) {
      return WSASend(socket.get(), &buffer, 1, n, 0, op, nullptr);
    });
    if (r != IoResult::Ok) return r;
    if (done == 0) return IoResult::Failed;
    sent += done;
  }
  return IoResult::Ok;
}

IoResult receiveSome(Socket& socket, std::uint8_t* out, std::size_t size, std::size_t& got,
                     std::int64_t timeoutMs, const StopSignal& stop) {
  got = 0;
  std::vector<std::uint8_t>& staging = socket.staging();
  if (staging.size() < kStagingSize) staging.resize(kStagingSize);
  size = std::min(size, kStagingSize);
  WSABUF buffer{static_cast<ULONG>(size), reinterpret_cast<char*>(staging.data())};
  DWORD done = 0;
  IoResult r = overlapped(socket, timeoutMs, stop, done, [&](WSAOVERLAPPED* op, DWORD* n) {
    DWORD flags = 0;
    return WSARecv(socket.get(), &buffer, 1, n, &flags, op, nullptr);
  });
  if (r != IoResult::Ok) return r;
  std::memcpy(out, staging.data(), done);
  got = done;
  return done > 0 ? IoResult::Ok : IoResult::Closed;
}

}  // namespace download
