#include "download/http_reply.h"

#include <gtest/gtest.h>

#include "download/engine_texts.h"

namespace download {
namespace {

UrlParts here() { return *parseUrl("http://h:81/dir/file.zip"); }

TEST(ScanHeader, FindsTheEndAndKeepsTheLimit) {
  std::size_t end = 0;
  EXPECT_EQ(scanHeader("HTTP/1.1 200 OK\r\nA: b\r\n", end), HeaderScan::NeedMore);
  EXPECT_EQ(scanHeader("HTTP/1.1 200 OK\r\n\r\nbody", end), HeaderScan::Complete);
  EXPECT_EQ(end, 19u);

  // The limit counts the closing empty line: 4097 bytes pass, 4098 do not.
  std::string fits = "HTTP/1.1 200 OK\r\nX: " + std::string(kHeaderLimit - 24, 'a') + "\r\n\r\n";
  ASSERT_EQ(fits.size(), kHeaderLimit);
  EXPECT_EQ(scanHeader(fits + "body", end), HeaderScan::Complete);
  std::string over = "HTTP/1.1 200 OK\r\nX: " + std::string(kHeaderLimit - 23, 'a') + "\r\n\r\n";
  EXPECT_EQ(scanHeader(over, end), HeaderScan::TooLong);
  EXPECT_EQ(scanHeader(std::string(100 * 1024, 'a'), end), HeaderScan::TooLong);
  EXPECT_EQ(scanHeader(std::string(kHeaderLimit - 1, 'a'), end), HeaderScan::NeedMore);
  EXPECT_EQ(scanHeader(std::string(kHeaderLimit, 'a'), end), HeaderScan::TooLong);
}

TEST(ParseReplyHeader, RefusesWhatIsNotAReply) {
  const char* bad[] = {
      "",
      "HTTP/2 200 OK\r\n\r\n",
      "ICY 200 OK\r\n\r\n",
      "HTTP/1.1 2x0 OK\r\n\r\n",
      "HTTP/1.1 20\r\n\r\n",
      "HTTP/1.1 2000 OK\r\n\r\n",
      "HTTP/1.1 099 X\r\n\r\n",
  };
  for (const char* header : bad) EXPECT_FALSE(parseReplyHeader(header)) << header;
  std::string withNul("HTTP/1.1 200 OK\r\nContent-Length: 5\0\r\n\r\n", 39);
  EXPECT_FALSE(parseReplyHeader(withNul));
}

TEST(ParseReplyHeader, ReadsTheFieldsInTheirKnownSpellings) {
  auto reply = parseReplyHeader(
      "HTTP/1.0 302 Found\r\nContent-length: 12\r\nLocation: /next.zip\r\n"
      "Content-disposition: attachment; filename=\"pkg.zip\"\r\n"
      "Content-Range: bytes 5-16/17\r\n\r\n");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 302);
  EXPECT_EQ(reply->contentLength.kind, LengthField::Value);
  EXPECT_EQ(reply->contentLength.value, 12u);
  EXPECT_EQ(reply->location, "/next.zip");
  EXPECT_EQ(reply->fileName, "pkg.zip");
  ASSERT_TRUE(reply->contentRange);
  EXPECT_EQ(reply->contentRange->first, 5u);
  EXPECT_EQ(*reply->contentRange->total, 17u);

  // A spelling the engine does not know is not a length.
  auto unknown = parseReplyHeader("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 12\r\n\r\n");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->contentLength.kind, LengthField::Missing);
}

TEST(ParseReplyHeader, LengthValues) {
  struct Case {
    const char* lines;
    LengthField::Kind kind;
    std::uint64_t value;
  } cases[] = {
      {"Content-Length: 100\r\n", LengthField::Value, 100},
      {"Content-Length:  100  \r\n", LengthField::Value, 100},
      {"Content-Length: -5\r\n", LengthField::Invalid, 0},
      {"Content-Length: 12abc\r\n", LengthField::Invalid, 0},
      {"Content-Length: \r\n", LengthField::Invalid, 0},
      {"Content-Length: 0x10\r\n", LengthField::Invalid, 0},
      {"Content-Length: 99999999999999999999999999\r\n", LengthField::Value, UINT64_MAX},
      {"Content-Length: 18446744073709551615\r\n", LengthField::Value, UINT64_MAX},
      {"Content-Length: 18446744073709551616\r\n", LengthField::Value, UINT64_MAX},
      {"Content-Length: 1:\r\n", LengthField::Invalid, 0},
      {"Content-Length: 7\r\nContent-Length: 7\r\n", LengthField::Value, 7},
      {"Content-Length: 7\r\nContent-Length: 8\r\n", LengthField::Invalid, 0},
      {"Content-Length: 7\r\nContent-length: x\r\n", LengthField::Invalid, 0},
  };
  for (const Case& c : cases) {
    auto reply = parseReplyHeader(std::string("HTTP/1.1 200 OK\r\n") + c.lines + "\r\n");
    ASSERT_TRUE(reply) << c.lines;
    EXPECT_EQ(reply->contentLength.kind, c.kind) << c.lines;
    EXPECT_EQ(reply->contentLength.value, c.value) << c.lines;
  }
}

TEST(JudgeFirstReply, StatusTable) {
  struct Case {
    const char* header;
    Verdict::Kind kind;
    std::string text;
    std::int32_t endValue;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n", Verdict::Accept, "", 0},
      // A 206 gives its size by its Content-Range alone.
      {"HTTP/1.1 206 Partial\r\nContent-Length: 9\r\n\r\n", Verdict::Fail, texts::kNoSize, -1},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-8/*\r\n\r\n", Verdict::Fail, texts::kNoSize, -1},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 1-8/9\r\n\r\n", Verdict::Fail, texts::kError, 0},
      {"HTTP/1.1 206 P\r\nContent-Length: 9\r\nContent-Range: bytes 0-9/20\r\n\r\n", Verdict::Fail,
       texts::kError, 0},
      {"HTTP/1.1 206 P\r\nContent-Length: x\r\nContent-Range: bytes 0-8/20\r\n\r\n", Verdict::Fail,
       texts::kError, 0},
      {"HTTP/1.1 206 P\r\nContent-Length: 9\r\nContent-Range: bytes 0-8/20\r\n\r\n",
       Verdict::Accept, "", 0},
      // Only chunks are read of the transfer codings.
      {"HTTP/1.1 200 OK\r\nContent-Length: 9\r\nTransfer-Encoding: gzip\r\n\r\n", Verdict::Fail,
       texts::kError, 0},
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", Verdict::Fail, texts::kNoSize, -1},
      {"HTTP/1.1 200 OK\r\n\r\n", Verdict::Fail, texts::kNoSize, -1},
      {"HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", Verdict::Fail, texts::kNoSize, -1},
      {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n", Verdict::Fail, texts::kError, 0},
      {"HTTP/1.1 403 Forbidden\r\n\r\n", Verdict::Fail, texts::kError, 0},
      {"HTTP/1.1 400 Bad\r\n\r\n", Verdict::Fail, texts::kError, 0},
      {"HTTP/1.1 500 Oops\r\n\r\n", Verdict::Fail, texts::format(texts::kUnsupportedStatus, 500),
       0},
      {"HTTP/1.1 307 Moved\r\nLocation: /x\r\n\r\n", Verdict::Fail,
       texts::format(texts::kUnsupportedStatus, 307), 0},
      {"HTTP/1.1 302 Found\r\n\r\n", Verdict::Fail, texts::kNoLocation, 0},
      {"HTTP/1.1 302 Found\r\nLocation: \r\n\r\n", Verdict::Fail, texts::kNoLocation, 0},
      {"HTTP/1.1 301 Moved\r\nLocation: ftp://h/x\r\n\r\n", Verdict::Fail, texts::kBadLocation, 0},
      {"HTTP/1.1 302 Found\r\nLocation: http://\r\n\r\n", Verdict::Fail, texts::kBadLocation, 0},
      {"HTTP/1.1 302 Found\r\nLocation: //other/x\r\n\r\n", Verdict::Fail, texts::kBadLocation, 0},
      {"HTTP/1.1 302 Found\r\nLocation: relative.zip\r\n\r\n", Verdict::Fail, texts::kBadLocation,
       0},
  };
  for (const Case& c : cases) {
    Verdict verdict = judgeFirstReply(parseReplyHeader(c.header), here());
    EXPECT_EQ(verdict.kind, c.kind) << c.header;
    EXPECT_EQ(verdict.text, c.text) << c.header;
    EXPECT_EQ(verdict.endValue, c.endValue) << c.header;
  }
  EXPECT_EQ(judgeFirstReply(std::nullopt, here()).text, texts::kError);
}

TEST(ParseReplyHeader, ContentRanges) {
  struct Case {
    const char* lines;
    bool valid;
    std::uint64_t first, last;
    std::optional<std::uint64_t> total;
  } cases[] = {
      {"Content-Range: bytes 5-16/17\r\n", true, 5, 16, 17},
      {"Content-Range: bytes 5-5/6\r\n", true, 5, 5, 6},
      {"Content-Range: bytes 5-16/*\r\n", true, 5, 16, std::nullopt},
      {"Content-Range: bytes 5-16/16\r\n", false, 0, 0, std::nullopt},
      {"Content-Range: bytes 5-4/17\r\n", false, 0, 0, std::nullopt},
      {"Content-Range: items 5-16/17\r\n", false, 0, 0, std::nullopt},
      {"Content-Range: bytes -16/17\r\n", false, 0, 0, std::nullopt},
      {"Content-Range: bytes 5-16\r\n", false, 0, 0, std::nullopt},
      {"Content-Range: bytes 5/17-16\r\n", false, 0, 0, std::nullopt},
      // Two ranges, even two equal ones, leave the range unknown.
      {"Content-Range: bytes 5-16/17\r\nContent-Range: bytes 5-16/17\r\n", false, 0, 0,
       std::nullopt},
  };
  for (const Case& c : cases) {
    auto reply = parseReplyHeader(std::string("HTTP/1.1 206 P\r\n") + c.lines + "\r\n");
    ASSERT_TRUE(reply) << c.lines;
    EXPECT_TRUE(reply->hasContentRange) << c.lines;
    ASSERT_EQ(reply->contentRange.has_value(), c.valid) << c.lines;
    if (!c.valid) continue;
    EXPECT_EQ(reply->contentRange->first, c.first) << c.lines;
    EXPECT_EQ(reply->contentRange->last, c.last) << c.lines;
    EXPECT_EQ(reply->contentRange->total, c.total) << c.lines;
  }
}

TEST(JudgeFirstReply, TheTotalIsTheLengthHeldToTheLargestFileSize) {
  struct Case {
    const char* length;
    std::int64_t total;
  } cases[] = {
      {"0", 0},
      {"9223372036854775807", INT64_MAX},
      {"9223372036854775808", INT64_MAX},
      {"99999999999999999999", INT64_MAX},
  };
  for (const Case& c : cases) {
    Verdict verdict =
        judgeFirstReply(parseReplyHeader(std::string("HTTP/1.1 200 OK\r\nContent-Length: ") +
                                         c.length + "\r\n\r\n"),
                        here());
    EXPECT_EQ(verdict.kind, Verdict::Accept) << c.length;
    EXPECT_EQ(verdict.total, c.total) << c.length;
  }
}

// The size, where the body's bytes end and how they come.
TEST(JudgeFirstReply, SizeAndPartOfWhatIsAccepted) {
  struct Case {
    const char* header;
    std::int64_t total, partEnd;
    bool chunked;
  } cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n", 5000, 5000, false},
      {"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nTransfer-Encoding: chunked\r\n\r\n", 5000, 5000,
       true},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-1023/5000\r\n\r\n", 5000, 1024, false},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-4999/5000\r\nTransfer-Encoding: chunked\r\n"
       "Content-Length: 7\r\n\r\n",
       5000, 5000, true},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-0/1\r\n\r\n", 1, 1, false},
      // Sizes past the largest file are held there, as a Content-Length is.
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-18446744073709551614/18446744073709551615\r\n\r\n",
       INT64_MAX, INT64_MAX, false},
  };
  for (const Case& c : cases) {
    Verdict verdict = judgeFirstReply(parseReplyHeader(c.header), here());
    ASSERT_EQ(verdict.kind, Verdict::Accept) << c.header;
    EXPECT_EQ(verdict.total, c.total) << c.header;
    EXPECT_EQ(verdict.partEnd, c.partEnd) << c.header;
    EXPECT_EQ(verdict.chunked, c.chunked) << c.header;
  }
}

TEST(ParseReplyHeader, TransferCodings) {
  struct Case {
    const char* lines;
    BodyCoding coding;
  } cases[] = {
      {"", BodyCoding::Identity},
      {"Transfer-Encoding: chunked\r\n", BodyCoding::Chunked},
      {"transfer-encoding: Chunked\r\n", BodyCoding::Chunked},
      {"Transfer-encoding:  CHUNKED \r\n", BodyCoding::Chunked},
      {"Transfer-Encoding: identity\r\n", BodyCoding::Identity},
      {"Transfer-Encoding: identity, chunked\r\n", BodyCoding::Chunked},
      {"Transfer-Encoding: IDENTITY, CHUNKED\r\n", BodyCoding::Chunked},
      {"Transfer-Encoding: identity\r\nTransfer-Encoding: chunked\r\n", BodyCoding::Chunked},
      {"Transfer-Encoding: gzip, chunked\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunked, gzip\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunked, identity\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunked,\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: \r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunkedx\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: chunke\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: identityx\r\n", BodyCoding::Unreadable},
      {"Transfer-Encoding: deflate\r\n", BodyCoding::Unreadable},
      // A spelling the engine does not know is no field of its own.
      {"TRANSFER-ENCODING: gzip\r\n", BodyCoding::Identity},
  };
  for (const Case& c : cases) {
    auto reply = parseReplyHeader(std::string("HTTP/1.1 200 OK\r\n") + c.lines + "\r\n");
    ASSERT_TRUE(reply) << c.lines;
    EXPECT_EQ(reply->coding, c.coding) << c.lines;
  }
}

TEST(JudgeFirstReply, RedirectTargets) {
  struct Case {
    const char* location;
    const char* target;
  } cases[] = {
      {"http://other:8080/a/b.zip", "http://other:8080/a/b.zip"},
      {"HTTP://Other/b.zip?x=1", "HTTP://Other/b.zip?x=1"},
      {"/moved/file.zip", "http://h:81/moved/file.zip"},
  };
  for (const Case& c : cases) {
    Verdict verdict = judgeFirstReply(
        parseReplyHeader(std::string("HTTP/1.1 302 Found\r\nLocation: ") + c.location + "\r\n\r\n"),
        here());
    EXPECT_EQ(verdict.kind, Verdict::Redirect) << c.location;
    EXPECT_EQ(verdict.location, c.target);
  }
  std::string absurd = "http://h/" + std::string(5000, 'a');
  EXPECT_EQ(judgeFirstReply(
                parseReplyHeader("HTTP/1.1 302 Found\r\nLocation: " + absurd + "\r\n\r\n"), here())
                .text,
            texts::kBadLocation);
}

TEST(JudgeRangeReply, OnlyTheBytesAskedFor) {
  // Asked for bytes 4000- of a 10000-byte file.
  struct Case {
    const char* header;
    bool accepted;
    std::string text;
  } cases[] = {
      {"HTTP/1.1 206 P\r\nContent-Length: 6000\r\nContent-Range: bytes 4000-9999/10000\r\n\r\n",
       true, ""},
      {"HTTP/1.1 206 P\r\nContent-Length: 6000\r\n\r\n", false, texts::kError},  // says no range
      {"HTTP/1.1 206 P\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: 10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: 6000\r\nContent-Range: bytes 0-5999/10000\r\n\r\n", false,
       texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-9999/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 0-9999/10000\r\nContent-Range: bytes "
       "4000-9999/10000\r\n\r\n",
       false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: 6000\r\nContent-Range: bytes 4000-9999/20000\r\n\r\n",
       false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-9999/*\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: lines 4000-9999/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: 6000\r\nContent-Range: bytes 4000-8999/10000\r\n\r\n",
       false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: 4999\r\nContent-Range: bytes 4000-8999/10000\r\n\r\n",
       false, texts::kError},
      // A server that caps its replies: a shorter range that agrees with itself is taken.
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-8999/10000\r\n\r\n", true, ""},
      {"HTTP/1.1 206 P\r\nContent-Length: 5000\r\nContent-Range: bytes 4000-8999/10000\r\n\r\n",
       true, ""},
      {"HTTP/1.1 206 P\r\nContent-Length: 1\r\nContent-Range: bytes 4000-4000/10000\r\n\r\n", true,
       ""},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-9999/10000\r\nTransfer-Encoding: "
       "chunked\r\n\r\n",
       true, ""},
      // Beside chunks a Content-Length is not the body's length.
      {"HTTP/1.1 206 P\r\nContent-Length: 12\r\nContent-Range: bytes 4000-9999/10000\r\n"
       "Transfer-Encoding: chunked\r\n\r\n",
       true, ""},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-9999/10000\r\nTransfer-Encoding: gzip\r\n\r\n",
       false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4001-9999/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 3999-9999/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-10000/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-3999/10000\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 206 P\r\nContent-Length: abc\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", false,
       texts::format(texts::kUnsupportedStatus, 302)},
      {"HTTP/1.1 404 Not Found\r\n\r\n", false, texts::kError},
      {"HTTP/1.1 416 Range\r\n\r\n", false, texts::format(texts::kUnsupportedStatus, 416)},
  };
  for (const Case& c : cases) {
    Verdict verdict = judgeRangeReply(parseReplyHeader(c.header), 4000, 10000);
    EXPECT_EQ(verdict.kind == Verdict::Accept, c.accepted) << c.header;
    EXPECT_EQ(verdict.text, c.text) << c.header;
    if (verdict.kind != Verdict::Accept) continue;
    // What is taken ends where its Content-Range ends, and comes as the header says.
    auto range = parseReplyHeader(c.header)->contentRange;
    EXPECT_EQ(verdict.partEnd, static_cast<std::int64_t>(range->last + 1)) << c.header;
    EXPECT_EQ(verdict.chunked, std::string(c.header).find("chunked") != std::string::npos)
        << c.header;
  }
}

}  // namespace
}  // namespace download
