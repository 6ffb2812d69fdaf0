#include "forms/units/html_viewer/browser_host.h"

#include <windows.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "forms/units/html_viewer/wide_text.h"
#include "test_support/local_server.h"
#include "test_support/pump_until.h"

namespace forms {
namespace {

using test_support::LocalServer;

using test_support::pumpUntil;

class BrowserHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }

  void SetUp() override {
    parent = CreateWindowExA(0, "STATIC", "page", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             400, 300, nullptr, nullptr, nullptr, nullptr);
    BrowserHost::Callbacks callbacks;
    callbacks.newWindow = [this] {
      ++newWindowAsked;
      return allowNewWindow;
    };
    callbacks.observe = [this](DISPID id, const DISPPARAMS&) { events.push_back(id); };
    const RECT where = {-5, -5, 395, 295};
    host = BrowserHost::create(parent, where, callbacks);
    ASSERT_TRUE(host);
  }
  void TearDown() override {
    host.reset();
    DestroyWindow(parent);
  }

  bool saw(DISPID id) const {
    for (DISPID e : events) {
      if (e == id) return true;
    }
    return false;
  }

  // Calls the sink as the control would, with the event's own parameters (last first).
  void fire(DISPID id, std::vector<VARIANT> arguments) {
    DISPPARAMS params = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    host->eventSink()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              nullptr, nullptr);
  }

  HWND parent = nullptr;
  std::unique_ptr<BrowserHost> host;
  std::vector<DISPID> events;
  int newWindowAsked = 0;
  bool allowNewWindow = false;
};

VARIANT byRefBool(VARIANT_BOOL* b) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL | VT_BYREF;
  v.pboolVal = b;
  return v;
}

VARIANT byRefDispatch(IDispatch** d) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH | VT_BYREF;
  v.ppdispVal = d;
  return v;
}

VARIANT string(BSTR s) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = s;
  return v;
}

VARIANT number(LONG n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

TEST_F(BrowserHostTest, IsActiveInPlaceInsideItsContainer) {
  EXPECT_EQ(GetParent(host->window()), parent);
  RECT r;
  GetWindowRect(host->window(), &r);
  EXPECT_EQ(r.left, -5);
  EXPECT_EQ(r.right - r.left, 400);
  // The control made its own window inside the container.
  EXPECT_NE(GetWindow(host->window(), GW_CHILD), nullptr);
  HWND inPlace = nullptr;
  base::ComPtr<IOleWindow> window;
  ASSERT_HRESULT_SUCCEEDED(host->browser()->QueryInterface(IID_IOleWindow, window.putVoid()));
  EXPECT_HRESULT_SUCCEEDED(window->GetWindow(&inPlace));
  EXPECT_EQ(GetParent(inPlace), host->window());
}

TEST_F(BrowserHostTest, NavigatingAsksBeforeAndReachesTheServer) {
  LocalServer server([](const std::string&) {
    return LocalServer::reply("200 OK",
                              "<html><head><title>t</title></head><body>hi</body></html>");
  });
  ASSERT_TRUE(host->navigate(server.url("/xiazai2.asp?a=1")));
  EXPECT_TRUE(saw(DISPID_BEFORENAVIGATE2)) << "BeforeNavigate2 comes before Navigate returns";
  ASSERT_TRUE(pumpUntil([&] { return !server.requests().empty(); }))
      << "no request reached the server";
  const std::string head = server.requests()[0];
  EXPECT_EQ(head.substr(0, head.find(' ', 4)), "GET /xiazai2.asp?a=1");
  EXPECT_TRUE(pumpUntil([&] { return saw(DISPID_STATUSTEXTCHANGE); }));
}

TEST_F(BrowserHostTest, KeepsTheLatestStatusTextAndTitle) {
  EXPECT_EQ(host->statusText(), "");
  Bstr link(Text("http://127.0.0.1/\xCD\xBC\xC6\xAC"));  // GBK "图片"
  fire(DISPID_STATUSTEXTCHANGE, {string(link.get())});
  EXPECT_EQ(host->statusText(), "http://127.0.0.1/\xCD\xBC\xC6\xAC");
  Bstr empty(Text(""));
  fire(DISPID_STATUSTEXTCHANGE, {string(empty.get())});
  EXPECT_EQ(host->statusText(), "");
  Bstr title(Text("\xB1\xEA\xCC\xE2"));  // GBK "标题"
  fire(DISPID_TITLECHANGE, {string(title.get())});
  EXPECT_EQ(host->title(), "\xB1\xEA\xCC\xE2");
}

TEST_F(BrowserHostTest, NewWindowRequestsAskTheHandlerOnce) {
  struct Case {
    const char* name;
    bool allow;
    bool both;  // NewWindow2 followed by NewWindow3, as a control sends them
    bool cancelled;
    int asked;
  };
  const Case cases[] = {
      {"cancelled NewWindow2", false, false, true, 1},
      {"allowed NewWindow2 then NewWindow3", true, true, false, 1},
      {"NewWindow3 alone, cancelled", false, false, true, 1},
  };
  Bstr url(Text("http://127.0.0.1/new"));
  for (const Case& c : cases) {
    allowNewWindow = c.allow;
    newWindowAsked = 0;
    IDispatch* window = nullptr;
    VARIANT_BOOL cancel2 = VARIANT_FALSE, cancel3 = VARIANT_FALSE;
    const bool third = std::string(c.name).find("alone") != std::string::npos;
    if (!third) fire(DISPID_NEWWINDOW2, {byRefBool(&cancel2), byRefDispatch(&window)});
    if (c.both || third) {
      fire(DISPID_NEWWINDOW3, {string(url.get()), string(url.get()), number(0x6),
                               byRefBool(&cancel3), byRefDispatch(&window)});
    }
    EXPECT_EQ(newWindowAsked, c.asked) << c.name;
    EXPECT_EQ((third ? cancel3 : cancel2) == VARIANT_TRUE, c.cancelled) << c.name;
    EXPECT_EQ(cancel3 == VARIANT_TRUE, third && c.cancelled) << c.name;
  }
}

TEST_F(BrowserHostTest, GoesWithItsParentWindow) {
  DestroyWindow(parent);
  parent = nullptr;
  EXPECT_EQ(host->window(), nullptr);
  EXPECT_EQ(host->browser(), nullptr);
  EXPECT_FALSE(host->navigate("http://127.0.0.1/"));
}

}  // namespace
}  // namespace forms
