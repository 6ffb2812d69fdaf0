#include "download/url_parts.h"

#include <gtest/gtest.h>

#include "download/http_request.h"

namespace download {
namespace {

TEST(ParseUrl, SchemesHostsAndPorts) {
  struct Case {
    const char* url;
    Scheme scheme;
    const char* hostText;
    const char* host;
    int port;
    const char* path;
  } cases[] = {
      {"http://example.org/a/b.zip", Scheme::Http, "example.org", "example.org", 80, "/a/b.zip"},
      {"HTTP://Example.org:8080/A?x=1&y=/z", Scheme::Http, "Example.org:8080", "Example.org", 8080,
       "/A?x=1&y=/z"},
      {"ftp://h/f", Scheme::Ftp, "h", "h", 21, "/f"},
      {"mms://h/f", Scheme::Mms, "h", "h", 1755, "/f"},
      {"mmsT://h/f", Scheme::Mms, "h", "h", 1755, "/f"},
      {"rtsp://10.0.0.1:9/", Scheme::Rtsp, "10.0.0.1:9", "10.0.0.1", 9, "/"},
      {"http://h:65535/", Scheme::Http, "h:65535", "h", 65535, "/"},
      {"http://h:1/", Scheme::Http, "h:1", "h", 1, "/"},
      {"http://h:00080/", Scheme::Http, "h:00080", "h", 80, "/"},
      {"http://h/\xB1\xED.zip", Scheme::Http, "h", "h", 80, "/\xB1\xED.zip"},  // GBK bytes
  };
  for (const Case& c : cases) {
    auto parts = parseUrl(c.url);
    ASSERT_TRUE(parts) << c.url;
    EXPECT_EQ(parts->scheme, c.scheme) << c.url;
    EXPECT_EQ(parts->hostText, c.hostText) << c.url;
    EXPECT_EQ(parts->host, c.host) << c.url;
    EXPECT_EQ(parts->port, c.port) << c.url;
    EXPECT_EQ(parts->path, c.path) << c.url;
  }
}

TEST(ParseUrl, Refusals) {
  const char* refused[] = {
      "",
      "update",
      "http://host",
      "http:///path",
      "https://h/x",
      "gopher://h/x",
      "http://h:/x",
      "http://h:0/x",
      "http://h:65536/x",
      "http://h:8a/x",
      "http://:80/x",
      "http://h:4294967377/x",
      "http://h:000080/x",
      "http://h:8:/x",
      "http://a b/x",
      "http://h/a\r\nX: y",
      "http://h/a\tb",
      "http://h/a\x1F",
      "http://h/a\x7F",
  };
  for (const char* url : refused) EXPECT_FALSE(parseUrl(url)) << url;
  EXPECT_FALSE(parseUrl("http://h/" + std::string(3000, 'a')));
  // The longest address taken is 2048 bytes.
  EXPECT_TRUE(parseUrl("http://h/" + std::string(2048 - 9, 'a')));
  EXPECT_FALSE(parseUrl("http://h/" + std::string(2049 - 9, 'a')));
}

TEST(FileNames, TakenOnlyWhenTheyStayInTheFolder) {
  struct Case {
    const char* name;
    const char* safe;
  } cases[] = {
      {"pkg.zip", "pkg.zip"},
      {"../../evil.exe", "evil.exe"},
      {"C:\\Windows\\x.dll", "x.dll"},
      {"..", ""},
      {".", ""},
      {"a/", ""},
      {"a:b", ""},
      {"a|b", ""},
      {"a<b", ""},
      {"a>b", ""},
      {"a\"b", ""},
      {"a?b", ""},
      {"a*b", ""},
      {"a\x1F.zip", ""},
      {"a b.zip", "a b.zip"},
      {"\xB1\x7C.zip", "\xB1\x7C.zip"},     // the trail byte is not '|'
      {"d\\\xB1\x5C.zip", "\xB1\x5C.zip"},  // nor '\\'
      // 0x81..0xFE lead a pair; 0x80 and 0xFF stand alone.
      {"\x80|", ""},
      {"\x81|", "\x81|"},
      {"\xFE|", "\xFE|"},
      {"\xFF|", ""},
      {"CON", ""},
      {"dir/nul.zip", ""},
      {"...", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(safeFileName(c.name), c.safe) << c.name;
  // The longest name taken is 200 bytes.
  EXPECT_EQ(safeFileName(std::string(196, 'a') + ".zip"), std::string(196, 'a') + ".zip");
  EXPECT_EQ(safeFileName(std::string(197, 'a') + ".zip"), "");
  EXPECT_EQ(fileNameFromPath("/dir/file.zip?v=2"), "file.zip");
  EXPECT_EQ(fileNameFromPath("/dir/file.zip#top"), "file.zip");
  EXPECT_EQ(fileNameFromPath("/dir/"), "");
}

TEST(BuildRequest, DirectAndRangeRequests) {
  std::string url = "http://h:81/dir/file.zip";
  UrlParts parts = *parseUrl(url);
  EXPECT_EQ(buildRequest(url, parts, "", std::nullopt, false),
            "GET /dir/file.zip HTTP/1.1\r\nHost: h:81\r\nAccept: */*\r\n"
            "Referer: http://h:81/dir\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(buildRequest(url, parts, "http://ref/", 4096, false),
            "GET /dir/file.zip HTTP/1.1\r\nHost: h:81\r\nAccept: */*\r\n"
            "Referer: http://ref/\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Range: bytes=4096-\r\n"
            "Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(buildRequest(url, parts, "", std::nullopt, true),
            "GET http://h:81/dir/file.zip HTTP/1.1\r\nHost: h:81\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Proxy-Connection: Keep-Alive\r\n\r\n");
}

}  // namespace
}  // namespace download
