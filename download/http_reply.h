#pragma once
// Reading and judging a server's reply header. The server is not trusted: every field is
// checked, and anything malformed becomes a definite failure with its text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "download/url_parts.h"

namespace download {

// Largest reply header, its closing empty line included.
constexpr std::size_t kHeaderLimit = 4097;
// The piece of header read in one receive.
constexpr std::size_t kHeaderPiece = 4096;

enum class HeaderScan { NeedMore, Complete, TooLong };

// Looks for the end of the header in what has been received so far; on Complete,
// `headerEnd` is the offset just after the empty line (where the body starts).
HeaderScan scanHeader(std::string_view received, std::size_t& headerEnd);

struct LengthField {
  enum Kind { Missing, Invalid, Value } kind = Missing;
  std::uint64_t value = 0;  // saturates at UINT64_MAX for absurdly long digit strings
};

struct ContentRange {
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  std::optional<std::uint64_t> total;  // nullopt for "*"
};

// How the body is framed: as it is (up to its length or the connection's end), in chunks,
// or in a transfer coding that the engine does not read.
enum class BodyCoding { Identity, Chunked, Unreadable };

struct ReplyHeader {
  int status = 0;
  BodyCoding coding = BodyCoding::Identity;  // from Transfer-Encoding
  LengthField contentLength;
  bool hasLocation = false;
  std::string location;
  bool hasContentRange = false;
  std::optional<ContentRange> contentRange;  // nullopt when present but unreadable
  std::string fileName;                      // from Content-Disposition, as sent
};

// nullopt when the header is not a readable HTTP/1.0 or HTTP/1.1 reply (no status line,
// a bad status code, a NUL byte).
std::optional<ReplyHeader> parseReplyHeader(std::string_view header);

struct Verdict {
  enum Kind { Accept, Redirect, Fail } kind = Fail;
  std::string text;        // the failure's (level 3) text
  std::string location;    // Redirect: the address to go to
  std::int64_t total = 0;  // Accept on the first request: the file's size
  // Accept: where the file's bytes that this body carries end. A server may send less
  // than was asked for; the rest is asked for again from here.
  std::int64_t partEnd = 0;
  bool chunked = false;  // Accept: the body comes in chunks
  // Fail on the first request: p2 of the end message (-1 no size, 0 no usable reply).
  std::int32_t endValue = 0;
};

// The first request's reply (no Range sent). A 200 gives the size by its Content-Length, a
// 206 by its Content-Range, which must then begin at the file's first byte.
Verdict judgeFirstReply(const std::optional<ReplyHeader>& reply, const UrlParts& current);

// A range request's reply: only a 206 whose Content-Range begins at the byte asked for, in
// a file of the known total, is taken; it may end short of the file's end.
Verdict judgeRangeReply(const std::optional<ReplyHeader>& reply, std::int64_t start,
                        std::int64_t total);

}  // namespace download
