// A reply header as a server might send it: scanned, parsed and judged as the first
// reply and as a range reply; its Location and file name taken as the engine takes them;
// the bytes after it read as a chunked body, whole and in two pieces.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "forms/values/gbk.h"
#include "forms/files/entry_name.h"
#include "download/chunked_body.h"
#include "download/http_reply.h"
#include "download/url_parts.h"

using namespace download;

namespace {

struct Chunks {
  std::string data;
  bool done, failed;
};

// Decoding in pieces gives the data and the end that decoding at once gives.
Chunks decodeChunks(std::string_view body, std::size_t split) {
  ChunkedBody chunks;
  Chunks out;
  for (std::string_view piece : {body.substr(0, split), body.substr(split)}) {
    std::string bytes(piece);
    std::size_t n = chunks.decode(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    if (n > bytes.size()) __builtin_trap();
    out.data.append(bytes, 0, n);
  }
  out.done = chunks.done();
  out.failed = chunks.failed();
  return out;
}

void checkChunks(std::string_view body) {
  const Chunks whole = decodeChunks(body, body.size());
  const Chunks split = decodeChunks(body, body.size() / 2);
  if (whole.data != split.data || whole.done != split.done || whole.failed != split.failed)
    __builtin_trap();
  if (whole.data.size() > body.size()) __builtin_trap();
}

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
  if (first.kind == Verdict::Accept &&
      (first.total < 0 || first.partEnd < 0 || first.partEnd > first.total))
    __builtin_trap();
  if (first.kind == Verdict::Redirect && !parseUrl(first.location)) __builtin_trap();
  // The engine asks for ranges inside the size it was given: 0 <= start < total.
  // What a range reply carries ends past the byte asked for and inside the file.
  for (std::int64_t start : {0, 999}) {
    const Verdict range = judgeRangeReply(reply, start, 1000);
    if (range.kind == Verdict::Accept && (range.partEnd <= start || range.partEnd > 1000))
      __builtin_trap();
  }
  if (header.size() < received.size()) checkChunks(received.substr(header.size()));
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
