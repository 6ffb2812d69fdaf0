// A reply header as a server might send it: scanned, parsed and judged as the first
// reply and as a range reply; its Location and file name taken as the engine takes them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/values/gbk.h"
#include "forms/files/entry_name.h"
#include "download/http_reply.h"
#include "download/url_parts.h"

using namespace download;

namespace {

// A name taken for a folder target must stay a plain file in that folder.
void checkFileName(const std::string& name) {
  const std::string safe = safeFileName(name);
  if (safe.empty()) return;
  if (!forms::isSafeEntryName(safe)) __builtin_trap();
  // A separator may only appear as the second byte of a double-byte character.
  for (std::size_t at = 0; at < safe.size(); at += forms::gbkCharLength(safe, at))
    if (safe[at] == '/' || safe[at] == '\\') __builtin_trap();
}

}  // namespace

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
  const Verdict first = judgeFirstReply(reply, current);
  if (first.kind == Verdict::Accept && first.total < 0) __builtin_trap();
  if (first.kind == Verdict::Redirect && !parseUrl(first.location)) __builtin_trap();
  // The engine asks for ranges inside the size it was given: 0 <= start < total.
  judgeRangeReply(reply, 0, 1000);
  judgeRangeReply(reply, 999, 1000);
  if (reply) {
    if (reply->hasLocation) {
      if (const auto next = resolveLocation(current, reply->location)) {
        if (!parseUrl(*next)) __builtin_trap();  // a resolved address must be usable
      }
    }
    checkFileName(reply->fileName);
  }
  // The same bytes as an address, as a task's address or a redirect gives it.
  const std::string text(received);
  if (const auto url = parseUrl(text)) {
    fileNameFromPath(url->path);
    resolveLocation(*url, text);
  }
  defaultReferer(text);
  checkFileName(text);
  return 0;
}
