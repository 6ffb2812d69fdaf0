#include "forms/net/http_read.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "base/unique_handle.h"

namespace forms {
namespace {

struct InternetTraits : base::NullIsInvalid<HINTERNET> {
  static void close(HINTERNET h) { InternetCloseHandle(h); }
};
using InternetHandle = base::UniqueHandle<InternetTraits>;

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kLargestPiece = 102400;
constexpr DWORD kPieceWithoutLength = 10240;

// One session for the program's whole life, opened on first use; a failed open is
// tried again on the next read.
HINTERNET session() {
  static InternetHandle handle;
  if (!handle)
    handle.attach(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  return handle.get();
}

DWORD pieceSize(HINTERNET request) {
  DWORD length = 0;
  DWORD size = sizeof(length);
  if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size,
                     nullptr) &&
      static_cast<LONG>(length) > 0) {
    return std::min<DWORD>(length + 1, kLargestPiece);
  }
  return kPieceWithoutLength;
}

}  // namespace

ByteSet httpReadFile(const Text& url) {
  const Text address = url.substr(0, url.find('#'));
  if (address.empty()) return {};

  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  char path[INTERNET_MAX_URL_LENGTH + 1] = {};
  char extra[INTERNET_MAX_URL_LENGTH + 1] = {};
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof(host);
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof(path);
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = sizeof(extra);
  if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts)) return {};
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return {};
  if (host[0] == '\0') return {};
  Text object = Text(path) + extra;
  if (object.empty()) object = "/";

  HINTERNET internet = session();
  if (!internet) return {};
  InternetHandle connection(
      InternetConnectA(internet, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};

  // Never read from nor write to the local cache: every read must reach the server.
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  const char* accept[] = {"*/*", nullptr};
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", object.c_str(), "HTTP/1.0",
                                          nullptr, accept, flags, 0));
  if (!request) return {};
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return {};

  const DWORD piece = pieceSize(request.get());
  ByteSet body;
  for (;;) {
    const std::size_t used = body.size();
    body.resize(used + piece);
    DWORD got = 0;
    const BOOL ok = InternetReadFile(request.get(), body.data() + used, piece, &got);
    body.resize(used + (ok ? got : 0));
    if (!ok || got == 0) break;
  }
  return body;
}

}  // namespace forms
