#include "download/http_reply.h"

#include <algorithm>
#include <limits>

#include "download/engine_texts.h"

namespace download {

namespace {

// The spellings of the header names that the engine recognises; others are ignored.
constexpr const char* kLengthNames[] = {"Content-Length: ", "Content-length: ", "content-length: "};
constexpr const char* kLocationNames[] = {"Location: ", "location: "};
constexpr const char* kDispositionNames[] = {
    "Content-Disposition: ", "Content-disposition: ", "content-disposition: "};
constexpr const char* kRangeNames[] = {"Content-Range: ", "Content-range: ", "content-range: "};
constexpr const char* kCodingNames[] = {
    "Transfer-Encoding: ", "Transfer-encoding: ", "transfer-encoding: "};

template <std::size_t N>
std::optional<std::string_view> fieldValue(std::string_view line, const char* const (&names)[N]) {
  for (const char* name : names) {
    std::string_view prefix(name);
    if (line.substr(0, prefix.size()) == prefix) {
      std::string_view value = line.substr(prefix.size());
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
      while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
      return value;
    }
  }
  return std::nullopt;
}

// Decimal digits only; saturates instead of overflowing.
std::optional<std::uint64_t> readDigits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    unsigned digit = static_cast<unsigned>(c - '0');
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return value;
}

LengthField readLength(std::string_view value) {
  std::optional<std::uint64_t> digits = readDigits(value);
  if (!digits) return {LengthField::Invalid, 0};
  return {LengthField::Value, *digits};
}

// "bytes FIRST-LAST/TOTAL" or "bytes FIRST-LAST/*".
std::optional<ContentRange> readContentRange(std::string_view value) {
  constexpr std::string_view kUnit = "bytes ";
  if (value.substr(0, kUnit.size()) != kUnit) return std::nullopt;
  value.remove_prefix(kUnit.size());
  std::size_t dash = value.find('-');
  std::size_t slash = value.find('/');
  // A slash before the dash would also fail FIRST's digits; it is refused here so that the
  // length of LAST below cannot wrap.
  if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash)
    return std::nullopt;
  std::optional<std::uint64_t> first = readDigits(value.substr(0, dash));
  std::optional<std::uint64_t> last = readDigits(value.substr(dash + 1, slash - dash - 1));
  if (!first || !last || *last < *first) return std::nullopt;
  ContentRange range{*first, *last, std::nullopt};
  std::string_view total = value.substr(slash + 1);
  if (total != "*") {
    std::optional<std::uint64_t> size = readDigits(total);
    if (!size || *size <= *last) return std::nullopt;
    range.total = size;
  }
  return range;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

// The transfer codings of every Transfer-Encoding field, in order. Only "chunked", as the
// last coding, is read ("identity" changes nothing); anything else leaves the body unreadable.
class Codings {
 public:
  void add(std::string_view value) {
    for (;;) {
      std::size_t comma = value.find(',');
      std::string_view token = value.substr(0, comma);
      while (!token.empty() && (token.front() == ' ' || token.front() == '\t'))
        token.remove_prefix(1);
      while (!token.empty() && (token.back() == ' ' || token.back() == '\t'))
        token.remove_suffix(1);
      if (chunked_) unreadable_ = true;  // nothing may follow the chunks
      if (equalsIgnoringCase(token, "chunked"))
        chunked_ = true;
      else if (!equalsIgnoringCase(token, "identity"))
        unreadable_ = true;
      if (comma == std::string_view::npos) return;
      value.remove_prefix(comma + 1);
    }
  }
  BodyCoding coding() const {
    if (unreadable_) return BodyCoding::Unreadable;
    return chunked_ ? BodyCoding::Chunked : BodyCoding::Identity;
  }

 private:
  bool chunked_ = false;
  bool unreadable_ = false;
};

std::string readFileName(std::string_view value) {
  std::size_t at = value.find("filename=");
  if (at == std::string_view::npos) return "";
  value.remove_prefix(at + 9);
  if (!value.empty() && value.front() == '"') {
    value.remove_prefix(1);
    return std::string(value.substr(0, value.find('"')));
  }
  return std::string(value.substr(0, value.find(';')));
}

Verdict fail(std::string text, std::int32_t endValue = 0) {
  Verdict verdict;
  verdict.kind = Verdict::Fail;
  verdict.text = std::move(text);
  verdict.endValue = endValue;
  return verdict;
}

// 400, 403, 404 and the statuses that are never taken.
Verdict failStatus(int status) {
  if (status == 400 || status == 403 || status == 404) return fail(texts::kError);
  return fail(texts::format(texts::kUnsupportedStatus, status));
}

// The largest size taken from a reply: a longer one is held there (and refused later as
// too large for a file).
constexpr std::uint64_t kLargestTotal =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

Verdict accept(std::int64_t total, std::uint64_t partEnd, const ReplyHeader& reply) {
  Verdict verdict;
  verdict.kind = Verdict::Accept;
  verdict.total = total;
  verdict.partEnd = static_cast<std::int64_t>(std::min(partEnd, kLargestTotal));
  verdict.chunked = reply.coding == BodyCoding::Chunked;
  return verdict;
}

// A 206's Content-Length, where it counts, is the length of its Content-Range. In chunks
// the body's length is the chunks' (a Content-Length beside them is not read).
bool lengthAgrees(const ReplyHeader& reply) {
  if (reply.coding == BodyCoding::Chunked) return true;
  const LengthField& length = reply.contentLength;
  switch (length.kind) {
    case LengthField::Missing: return true;
    case LengthField::Invalid: return false;
    case LengthField::Value: break;
  }
  return length.value == reply.contentRange->last - reply.contentRange->first + 1;
}

// A 206 to the plain first request: its Content-Range gives the size, and it must carry
// the file from its first byte, which is where the first connection writes.
Verdict judgeFirstPart(const ReplyHeader& reply) {
  const std::optional<ContentRange>& range = reply.contentRange;
  if (!range || !range->total) return fail(texts::kNoSize, -1);
  if (range->first != 0 || !lengthAgrees(reply)) return fail(texts::kError);
  return accept(static_cast<std::int64_t>(std::min(*range->total, kLargestTotal)), range->last + 1,
                reply);
}

}  // namespace

HeaderScan scanHeader(std::string_view received, std::size_t& headerEnd) {
  std::size_t at = received.substr(0, kHeaderLimit + 3).find("\r\n\r\n");
  if (at != std::string_view::npos) {
    headerEnd = at + 4;
    return headerEnd > kHeaderLimit ? HeaderScan::TooLong : HeaderScan::Complete;
  }
  return received.size() >= kHeaderLimit ? HeaderScan::TooLong : HeaderScan::NeedMore;
}

std::optional<ReplyHeader> parseReplyHeader(std::string_view header) {
  if (header.find('\0') != std::string_view::npos) return std::nullopt;
  if (header.substr(0, 9) != "HTTP/1.1 " && header.substr(0, 9) != "HTTP/1.0 ") return std::nullopt;
  std::string_view code = header.substr(9, 3);
  std::optional<std::uint64_t> status = readDigits(code);
  // A code cut short by the header's end has fewer than three digits, so it is below 100.
  if (!status || *status < 100) return std::nullopt;
  if (header.size() > 12 && header[12] != ' ' && header[12] != '\r') return std::nullopt;

  ReplyHeader reply;
  reply.status = static_cast<int>(*status);
  Codings codings;
  std::size_t lineStart = header.find("\r\n");
  while (lineStart != std::string_view::npos) {
    lineStart += 2;
    std::size_t lineEnd = header.find("\r\n", lineStart);
    std::string_view line =
        header.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos
                                                                   : lineEnd - lineStart);
    lineStart = lineEnd;
    if (auto value = fieldValue(line, kLengthNames)) {
      LengthField length = readLength(*value);
      // A second, different length makes the size unknowable (and the body's end too).
      if (reply.contentLength.kind != LengthField::Missing &&
          (length.kind != reply.contentLength.kind || length.value != reply.contentLength.value))
        length = {LengthField::Invalid, 0};
      reply.contentLength = length;
    } else if (auto value = fieldValue(line, kLocationNames)) {
      reply.hasLocation = true;
      reply.location = std::string(*value);
    } else if (auto value = fieldValue(line, kDispositionNames)) {
      reply.fileName = readFileName(*value);
    } else if (auto value = fieldValue(line, kRangeNames)) {
      reply.contentRange = reply.hasContentRange ? std::nullopt : readContentRange(*value);
      reply.hasContentRange = true;
    } else if (auto value = fieldValue(line, kCodingNames)) {
      codings.add(*value);
    }
  }
  reply.coding = codings.coding();
  return reply;
}

Verdict judgeFirstReply(const std::optional<ReplyHeader>& reply, const UrlParts& current) {
  if (!reply) return fail(texts::kError);
  int status = reply->status;
  if (status == 200 || status == 206) {
    if (reply->coding == BodyCoding::Unreadable) return fail(texts::kError);
    if (status == 206) return judgeFirstPart(*reply);
    if (reply->contentLength.kind != LengthField::Value) return fail(texts::kNoSize, -1);
    const std::uint64_t size = std::min(reply->contentLength.value, kLargestTotal);
    return accept(static_cast<std::int64_t>(size), size, *reply);
  }
  if (status == 301 || status == 302) {
    if (!reply->hasLocation || reply->location.empty()) return fail(texts::kNoLocation);
    std::optional<std::string> target = resolveLocation(current, reply->location);
    if (!target) return fail(texts::kBadLocation);
    Verdict verdict;
    verdict.kind = Verdict::Redirect;
    verdict.location = *target;
    return verdict;
  }
  return failStatus(status);
}

Verdict judgeRangeReply(const std::optional<ReplyHeader>& reply, std::int64_t start,
                        std::int64_t total) {
  if (!reply) return fail(texts::kError);
  if (reply->status == 200) return fail(texts::kError);  // the range was ignored
  if (reply->status != 206) return failStatus(reply->status);
  if (reply->coding == BodyCoding::Unreadable) return fail(texts::kError);
  // A 206 that says nothing of its range may carry any bytes (a package that changed on the
  // server, a proxy's own answer): only a Content-Range from the byte asked for is taken.
  // It may end short of the file's end (a server that caps its replies).
  const std::optional<ContentRange>& range = reply->contentRange;
  if (!range || range->first != static_cast<std::uint64_t>(start) || !range->total ||
      *range->total != static_cast<std::uint64_t>(total) || !lengthAgrees(*reply))
    return fail(texts::kError);
  return accept(total, range->last + 1, *reply);
}

}  // namespace download
