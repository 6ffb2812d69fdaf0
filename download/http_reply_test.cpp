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
      {"HTTP/1.1 206 Partial\r\nContent-Length: 9\r\n\r\n", Verdict::Accept, "", 0},
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
      {"HTTP/1.1 206 P\r\nContent-Range: bytes 4000-8999/10000\r\n\r\n", true, ""},
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
  }
}

}  // namespace
}  // namespace download
