#include "download/chunked_body.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace download {
namespace {

struct Decoded {
  std::string data;
  bool done = false;
  bool failed = false;
};

// Decodes `body` as it would arrive in pieces of `piece` bytes.
Decoded decodeInPieces(const std::string& body, std::size_t piece) {
  ChunkedBody chunks;
  Decoded out;
  for (std::size_t at = 0; at < body.size(); at += piece) {
    std::vector<std::uint8_t> bytes(
        body.begin() + static_cast<std::ptrdiff_t>(at),
        body.begin() + static_cast<std::ptrdiff_t>(std::min(body.size(), at + piece)));
    std::size_t n = chunks.decode(bytes.data(), bytes.size());
    out.data.append(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
  }
  out.done = chunks.done();
  out.failed = chunks.failed();
  return out;
}

enum Outcome { Done, Incomplete, Failed };

TEST(ChunkedBody, FramingIsNeverData) {
  const std::string sizeLineAtLimit =
      "3;" + std::string(kChunkLineLimit - 4, 'x') + "\r\nabc\r\n0\r\n\r\n";
  const std::string trailerAtLimit =
      "3\r\nabc\r\n0\r\n" + std::string(kChunkTrailerLimit - 4, 't') + "\r\n\r\n";
  struct Case {
    const char* name;
    std::string body;
    std::string data;
    Outcome outcome;
  } cases[] = {
      {"two chunks", "4\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\n", "Wikipedia", Done},
      {"hex digits of both cases", "a\r\n0123456789\r\nF\r\n0123456789abcde\r\n0\r\n\r\n",
       "01234567890123456789abcde", Done},
      {"extensions and blanks", "3 ;name=\"v\"\r\nabc\r\n0;last\r\n\r\n", "abc", Done},
      {"trailer lines", "3\r\nabc\r\n0\r\nX-Sum: 1\r\nY: 2\r\n\r\n", "abc", Done},
      {"leading zeros", "0000000000000000003\r\nabc\r\n0\r\n\r\n", "abc", Done},
      {"bytes after the end", "3\r\nabc\r\n0\r\n\r\nHTTP/1.1 200", "abc", Done},
      {"cut in a chunk", "5\r\nabc", "abc", Incomplete},
      {"no last chunk yet", "3\r\nabc\r\n", "abc", Incomplete},
      {"size line at its limit", sizeLineAtLimit, "abc", Done},
      {"size line past its limit", "3;" + std::string(kChunkLineLimit - 3, 'x') + "\r\nabc\r\n", "",
       Failed},
      {"trailer at its limit", trailerAtLimit, "abc", Done},
      {"trailer past its limit",
       "3\r\nabc\r\n0\r\n" + std::string(kChunkTrailerLimit - 3, 't') + "\r\n\r\n", "abc", Failed},
      {"sixteen hex digits", "FFFFFFFFFFFFFFFF\r\nab", "ab", Incomplete},
      {"seventeen hex digits", "10000000000000000\r\nab", "", Failed},
      {"no digits", "\r\nabc\r\n", "", Failed},
      {"a sign", "+3\r\nabc\r\n", "", Failed},
      {"'g' is no digit", "3g\r\nabc\r\n", "", Failed},
      {"'G' is no digit", "3G\r\nabc\r\n", "", Failed},
      {"'/' is no digit", "/\r\nabc\r\n", "", Failed},
      {"':' is no digit", ":\r\nabc\r\n", "", Failed},
      {"'@' is no digit", "@\r\nabc\r\n", "", Failed},
      {"'`' is no digit", "`\r\nabc\r\n", "", Failed},
      {"bare LF after the size", "3\nabc\r\n0\r\n\r\n", "", Failed},
      {"bare LF in an extension", "3;x\nabc\r\n", "", Failed},
      {"CR without LF after the size", "3\rabc\r\n", "", Failed},
      {"a chunk longer than its size", "3\r\nabcd\r\n0\r\n\r\n", "abc", Failed},
      {"no CR after the data", "3\r\nabc\n0\r\n\r\n", "abc", Failed},
      {"another byte in the CR's place", "3\r\nabcd\n0\r\n\r\n", "abc", Failed},
      {"no LF after the data", "3\r\nabc\r0\r\n\r\n", "abc", Failed},
      {"bare LF in the trailer", "3\r\nabc\r\n0\r\nX: 1\n\r\n", "abc", Failed},
      {"CR without LF in the trailer", "3\r\nabc\r\n0\r\n\rX", "abc", Failed},
  };
  for (const Case& c : cases) {
    for (std::size_t piece : {c.body.size(), std::size_t{1}, std::size_t{7}}) {
      if (piece == 0) continue;
      Decoded d = decodeInPieces(c.body, piece);
      EXPECT_EQ(d.data, c.data) << c.name << " in pieces of " << piece;
      EXPECT_EQ(d.done, c.outcome == Done) << c.name << " in pieces of " << piece;
      EXPECT_EQ(d.failed, c.outcome == Failed) << c.name << " in pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace download
