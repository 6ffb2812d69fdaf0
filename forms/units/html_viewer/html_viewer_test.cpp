#include "forms/units/html_viewer/html_viewer.h"

#include "forms/units/html_viewer/html_viewer_unit.h"

#include <windows.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/units/html_viewer/wide_text.h"
#include "test_support/fake_unit_site.h"
#include "test_support/local_server.h"
#include "test_support/pump_until.h"

namespace forms {
namespace {

using test_support::LocalServer;

using test_support::pumpUntil;

bool served(const LocalServer& server, const std::string& path) {
  for (const std::string& head : server.requests()) {
    if (head.rfind("GET " + path + " ", 0) == 0) return true;
  }
  return false;
}

class HtmlViewerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  void SetUp() override {
    frame = CreateWindowExA(0, "STATIC", "frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 72,
                            784, 348, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    viewer.reset();
    DestroyWindow(frame);
  }
  void make(const HtmlViewerBlock& block, std::function<HandlerResult()> handler) {
    const RECT where = {-5, -5, 806, 352};
    viewer = std::make_unique<HtmlViewer>(frame, where, block, std::move(handler));
    ASSERT_TRUE(viewer->created());
  }
  void fire(DISPID id, std::vector<VARIANT> arguments) {
    DISPPARAMS params = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    viewer->host()->eventSink()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                        nullptr, nullptr, nullptr);
  }
  VARIANT_BOOL newWindow() {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* window = nullptr;
    VARIANT c, w;
    VariantInit(&c);
    VariantInit(&w);
    c.vt = VT_BOOL | VT_BYREF;
    c.pboolVal = &cancel;
    w.vt = VT_DISPATCH | VT_BYREF;
    w.ppdispVal = &window;
    fire(DISPID_NEWWINDOW2, {c, w});
    return cancel;
  }
  void statusText(const Text& text) {
    Bstr s(text);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = s.get();
    fire(DISPID_STATUSTEXTCHANGE, {v});
  }

  HWND frame = nullptr;
  std::unique_ptr<HtmlViewer> viewer;
};

TEST_F(HtmlViewerTest, OpensItsStoredAddressAndAWrittenOneAtOnce) {
  LocalServer server(
      [](const std::string&) { return LocalServer::reply("200 OK", "<html>x</html>"); });
  HtmlViewerBlock block;
  block.address = server.url("/xiazai2.asp");
  make(block, nullptr);
  EXPECT_TRUE(pumpUntil([&] { return served(server, "/xiazai2.asp"); }));
  EXPECT_EQ(std::get<Text>(*viewer->property(html_viewer::kAddress)), server.url("/xiazai2.asp"));

  ASSERT_TRUE(viewer->setProperty(html_viewer::kAddress, Value(server.url("/gx/gg2.html"))));
  EXPECT_EQ(std::get<Text>(*viewer->property(html_viewer::kAddress)), server.url("/gx/gg2.html"));
  EXPECT_TRUE(pumpUntil([&] { return served(server, "/gx/gg2.html"); }));
}

TEST_F(HtmlViewerTest, ANewWindowOpensInPlaceAtTheLastStatusText) {
  LocalServer server(
      [](const std::string&) { return LocalServer::reply("200 OK", "<html>x</html>"); });
  // The navigator's handler: navigate to the status text, cancel the window.
  int asked = 0;
  make({}, [&]() -> HandlerResult {
    ++asked;
    const Value status = *viewer->property(html_viewer::kStatusText);
    viewer->setProperty(html_viewer::kAddress, status);
    return Value(false);
  });
  EXPECT_EQ(std::get<Text>(*viewer->property(html_viewer::kStatusText)), "");
  statusText(server.url("/link"));
  EXPECT_EQ(newWindow(), VARIANT_TRUE);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(pumpUntil([&] { return served(server, "/link"); }));
}

TEST_F(HtmlViewerTest, OnlyAReturnedFalseCancelsTheNewWindow) {
  struct Case {
    const char* name;
    HandlerResult result;
    VARIANT_BOOL cancel;
  };
  const Case cases[] = {
      {"no value", std::nullopt, VARIANT_FALSE},
      {"true", Value(true), VARIANT_FALSE},
      {"zero", Value(std::int32_t{0}), VARIANT_FALSE},
      {"false", Value(false), VARIANT_TRUE},
  };
  for (const Case& c : cases) {
    make({}, [&] { return c.result; });
    EXPECT_EQ(newWindow(), c.cancel) << c.name;
  }
  make({}, nullptr);
  EXPECT_EQ(newWindow(), VARIANT_FALSE) << "no handler bound";
}

TEST_F(HtmlViewerTest, PropertiesTakeAndClampTheirValues) {
  make({}, nullptr);
  struct Case {
    int index;
    Value written;
    Value read;
  };
  const Case cases[] = {
      {html_viewer::kFontSize, Value(std::int32_t{9}), Value(std::int32_t{4})},
      {html_viewer::kFontSize, Value(std::int32_t{-1}), Value(std::int32_t{0})},
      {html_viewer::kFontSize, Value(3.7), Value(std::int32_t{3})},
      {html_viewer::kOffline, Value(true), Value(true)},
      {html_viewer::kSilent, Value(std::int32_t{1}), Value(true)},
      {html_viewer::kSilent, Value(std::int32_t{0}), Value(false)},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(viewer->setProperty(c.index, c.written)) << c.index;
    EXPECT_EQ(*viewer->property(c.index), c.read) << c.index;
  }
  VARIANT_BOOL silent = VARIANT_TRUE;
  viewer->host()->browser()->get_Silent(&silent);
  EXPECT_EQ(silent, VARIANT_FALSE);
  for (int readOnly :
       std::initializer_list<int>{html_viewer::kStatusText, html_viewer::kCaption, 14}) {
    EXPECT_FALSE(viewer->setProperty(readOnly, Value(Text("x")))) << readOnly;
  }
  EXPECT_FALSE(viewer->property(7));
  EXPECT_EQ(std::get<Text>(*viewer->property(html_viewer::kCaption)), "");
}

TEST_F(HtmlViewerTest, TheUnitTypeDecodesItsBlockAndStartsHidden) {
  test_support::FakeUnitSite site;
  UnitPlan plan;
  plan.parent = frame;
  plan.rect = {-5, -5, 806, 352};
  plan.block = {2, 0, 0, 0};  // version 2: newer than the type knows
  EXPECT_FALSE(makeHtmlViewerUnit(plan, site));
  plan.block = {1, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  auto unit = makeHtmlViewerUnit(plan, site);
  ASSERT_TRUE(unit);
  EXPECT_FALSE(IsWindowVisible(unit->window()));
  EXPECT_EQ(*unit->property(html_viewer::kFontSize), Value(std::int32_t{3}));
  EXPECT_EQ(*unit->property(html_viewer::kSilent), Value(true));
  EXPECT_TRUE(unit->setProperty(html_viewer::kFontSize, Value(std::int32_t{1})));
  EXPECT_EQ(*unit->property(html_viewer::kFontSize), Value(std::int32_t{1}));
}

}  // namespace
}  // namespace forms
