#pragma once
// Owners of Winsock handles. Apart from base/handles.h, so that only the code that talks
// to sockets sees winsock2.h and its global names (send, select, connect...).
#include <winsock2.h>

#include "base/unique_handle.h"

namespace base {

struct SocketTraits {
  using Handle = SOCKET;
  static SOCKET empty() { return INVALID_SOCKET; }
  static bool valid(SOCKET s) { return s != INVALID_SOCKET; }
  static void close(SOCKET s) { closesocket(s); }
};

struct SocketEventTraits : NullIsInvalid<WSAEVENT> {
  static void close(WSAEVENT e) { WSACloseEvent(e); }
};

using SocketHandle = UniqueHandle<SocketTraits>;
using SocketEvent = UniqueHandle<SocketEventTraits>;

}  // namespace base
