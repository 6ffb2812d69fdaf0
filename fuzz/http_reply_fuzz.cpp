// A reply header as a server might send it: scanned, parsed and judged as the first
// reply and as a range reply; its Location and file name taken as the engine takes them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "updater/engine/http_reply.h"
#include "updater/engine/url_parts.h"

using namespace forms::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view received(reinterpret_cast<const char*>(data), size);
  std::size_t headerEnd = 0;
  std::string_view header = received;
  if (scanHeader(received, headerEnd) == HeaderScan::Complete) {
    if (headerEnd > received.size()) __builtin_trap();
    header = received.substr(0, headerEnd);
  }
  static const UrlParts current = *parseUrl("http://127.0.0.1:8080/dir/file.zip");
  const std::optional<ReplyHeader> reply = parseReplyHeader(header);
  judgeFirstReply(reply, current);
  judgeRangeReply(reply, 0, 1000);
  judgeRangeReply(reply, 999, 1000);
  if (reply) {
    if (reply->contentRange) {
      const ContentRange& range = *reply->contentRange;
      judgeRangeReply(reply, static_cast<std::int64_t>(range.first),
                      static_cast<std::int64_t>(range.total.value_or(range.last)));
    }
    if (reply->hasLocation) {
      if (const auto next = resolveLocation(current, reply->location)) {
        if (!parseUrl(*next)) __builtin_trap();  // a resolved address must be usable
      }
    }
    safeFileName(reply->fileName);
  }
  // The same bytes as an address, as a task's address or a redirect gives it.
  const std::string text(received);
  if (const auto url = parseUrl(text)) {
    fileNameFromPath(url->path);
    resolveLocation(*url, text);
  }
  defaultReferer(text);
  safeFileName(text);
  return 0;
}
