#include "forms/net/http_read.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support/local_server.h"

namespace forms {
namespace {

using test_support::LocalServer;
using test_support::Reply;

std::string asString(const ByteSet& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A body long enough to need several pieces of either size.
std::string longBody() {
  std::string body;
  for (int i = 0; body.size() < 250000; ++i) body += "line " + std::to_string(i) + "\n";
  return body;
}

struct BodyCase {
  const char* name;
  Reply reply;
  std::string expected;
};

TEST(HttpReadFile, ReturnsTheBodyWhateverTheStatusAndLength) {
  const std::string big = longBody();
  const std::string withZero("before\0after", 12);
  const BodyCase cases[] = {
      {"with length", LocalServer::reply("200 OK", "hello"), "hello"},
      {"long with length", LocalServer::reply("200 OK", big), big},
      {"long without length", LocalServer::reply("200 OK", big, false), big},
      {"error status keeps its body", LocalServer::reply("404 Not Found", "<b>gone</b>"),
       "<b>gone</b>"},
      {"server error", LocalServer::reply("500 Internal Server Error", "oops", false), "oops"},
      {"zero byte inside", LocalServer::reply("200 OK", withZero), withZero},
      {"empty body", LocalServer::reply("200 OK", ""), ""},
  };
  for (const BodyCase& c : cases) {
    LocalServer server([&](const std::string&) { return c.reply; });
    EXPECT_EQ(asString(httpReadFile(server.url("/gx/banben.html"))), c.expected) << c.name;
  }
}

TEST(HttpReadFile, KeepsWhatArrivedBeforeTheConnectionDropped) {
  // Closed early: fewer bytes than the announced length, then the end of the stream.
  const std::string part(3000, 'x');
  Reply cut = LocalServer::reply("200 OK", part);
  cut.bytes.replace(cut.bytes.find("3000"), 4, "90000");
  {
    LocalServer server([&](const std::string&) { return cut; });
    EXPECT_EQ(asString(httpReadFile(server.url("/a"))), part);
  }
  // Reset in the middle of the third 10240-byte piece: the two whole pieces before the
  // failed read are kept.
  const std::string body = longBody().substr(0, 25000);
  Reply reset = LocalServer::reply("200 OK", body, false);
  reset.pauseMs = 300;
  reset.reset = true;
  LocalServer server([&](const std::string&) { return reset; });
  const std::string got = asString(httpReadFile(server.url("/b")));
  EXPECT_GE(got.size(), 20480u);
  EXPECT_EQ(got, body.substr(0, got.size()));
}

TEST(HttpReadFile, SendsAPlainUncachedGetAndDropsTheFragment) {
  int served = 0;
  LocalServer server([&](const std::string&) {
    return LocalServer::reply("200 OK", "body " + std::to_string(++served));
  });
  // The same address twice: the second read must reach the server, not a cache.
  EXPECT_EQ(asString(httpReadFile(server.url("/gx/gg.xml?x=1#r-pruanjian"))), "body 1");
  EXPECT_EQ(asString(httpReadFile(server.url("/gx/gg.xml?x=1#r-pruanjian"))), "body 2");

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string& head = requests[1];
  EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET /gx/gg.xml?x=1 HTTP/1.0");
  EXPECT_NE(head.find("\r\nAccept: */*"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"),
            std::string::npos)
      << head;
  EXPECT_NE(head.find("\r\nPragma: no-cache"), std::string::npos) << head;
  EXPECT_EQ(head.find('#'), std::string::npos) << head;
}

TEST(HttpReadFile, GivesNothingWhenThereIsNothingToRead) {
  // A port that nobody listens on: open a server, note its port, close it again.
  std::string closedUrl;
  {
    LocalServer server([](const std::string&) { return Reply{}; });
    closedUrl = server.url("/x");
  }
  for (const std::string& url : {std::string(), std::string("#only-a-fragment"),
                                 std::string("not a url"), std::string("http://"), closedUrl}) {
    EXPECT_TRUE(httpReadFile(url).empty()) << url;
  }
}

}  // namespace
}  // namespace forms
