// The runtime's contracts under Wine, on a small window loaded once for all tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "base/gdi.h"
#include "base/window_class.h"
#include "forms/unit_base/bag_unit.h"
#include "forms/runtime/runtime.h"
#include "forms/units/test_support/gallery_window.h"
#include "forms/runtime/test_support/printed_unit.h"
#include "test_support/pump_until.h"
#include "test_support/test_segment.h"
#include "forms/runtime/window_thread.h"
#include "forms/units/button_edit/standard_units.h"
#include "forms/units/unit_table.h"
#include "forms/units/window/picture_outline.h"

using namespace forms;
using namespace forms::testing;
using namespace test_support;

namespace {

constexpr WindowId kWin = 0x52000001;
constexpr UnitRef kOwn{kWin, 0x06000002};
constexpr UnitRef kLabel{kWin, 0x16000003};
constexpr UnitRef kTimer{kWin, 0x16000004};
constexpr UnitRef kButton{kWin, 0x16000005};
constexpr UnitRef kEdit{kWin, 0x16000006};
constexpr UnitRef kShape{kWin, 0x16000007};
constexpr UnitRef kAnimated{kWin, 0x16000008};
constexpr UnitRef kBroken{kWin, 0x16000009};
constexpr UnitRef kOverAnimated{kWin, 0x1600000A};
constexpr UnitRef kLog{kWin, 0x1600000B};
constexpr WindowId kUnloaded = 0x52000010;
constexpr UnitRef kUnloadedLabel{kUnloaded, 0x16000012};
constexpr WindowId kSecond = 0x52000030;
constexpr UnitRef kSecondOwn{kSecond, 0x06000031};
// A hidden window whose two labels name each other as their source: a chain that loops.
constexpr WindowId kLooping = 0x520000E0;
constexpr UnitRef kLoopingBound{kLooping, 0x160000E2};
constexpr UnitRef kLoopingUnbound{kLooping, 0x160000E3};

struct Seen {
  int ticks = 0;
  int clicks = 0;
  std::vector<std::int32_t> downArgs;
  HandlerResult downResult;  // what the button's event -1 handler gives back
  HandlerResult charResult;  // what the edit box's event -11 handler gives back
  Event lastFeedback;
  int feedbacks = 0;
  int nestedTicks = 0;
  bool nestOnTick = false;
  int depth = 0;
  int mayClose = 0;
  HandlerResult mayCloseResult;
};
Seen seen;

HandlerResult onTick(const Event&) {
  ++seen.ticks;
  if (seen.depth > 0) ++seen.nestedTicks;
  if (seen.nestOnTick) {
    seen.nestOnTick = false;
    ++seen.depth;
    waitPumping(250);
    --seen.depth;
  }
  return std::nullopt;
}
HandlerResult onClicked(const Event&) {
  ++seen.clicks;
  return std::nullopt;
}
HandlerResult onButtonDown(const Event& e) {
  seen.downArgs = e.args;
  return seen.downResult;
}
HandlerResult onChar(const Event&) { return seen.charResult; }
HandlerResult onFeedback(const Event& e) {
  seen.lastFeedback = e;
  ++seen.feedbacks;
  return Value(std::int32_t{e.args.empty() ? 0 : e.args[0] + 100});
}

HandlerResult onMayClose(const Event&) {
  ++seen.mayClose;
  return seen.mayCloseResult;
}

const HandlerEntry kHandlers[] = {
    {"onMayClose", onMayClose},     {"onTick", onTick}, {"onClicked", onClicked},
    {"onButtonDown", onButtonDown}, {"onChar", onChar}, {"onFeedback", onFeedback},
};

// A fixture of the picture decoders: 12 x 6, red 100 ms, green 200 ms, blue 300 ms with a
// transparent left half, played three times.
ByteSet animatedGif() {
  std::string here = __FILE__;
  here = here.substr(0, here.rfind('/') + 1);
  std::ifstream in((here[0] == '/' ? "Z:" : "") + here + "../picture/test_data/anim.gif",
                   std::ios::binary);
  return ByteSet(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ByteSet testSegment() {
  using T = UnitKind;
  tpl::UnitRecord own = unitRecord(T::Window, kOwn.unit, 600, 300, 320, 200);
  setNumber(own, "border", 0);
  setNumber(own, "startPosition", 0);
  tpl::UnitRecord label = unitRecord(T::Label, kLabel.unit, 10, 10, 100, 20);
  bind(label, 0, "onFeedback");
  tpl::UnitRecord timer = unitRecord(T::Timer, kTimer.unit, 0, 0, 0, 0, 0);
  bind(timer, 0, "onTick");
  tpl::UnitRecord button = unitRecord(T::PicBtn, kButton.unit, 10, 40, 40, 20);
  setBytes(button, "normalPicture", bmpFile(40, 20, [](int, int) { return 0x808080u; }));
  bind(button, 0, "onClicked");
  bind(button, -1, "onButtonDown");
  bind(button, -1, "onClicked");  // the first binding of an event wins
  tpl::UnitRecord edit = unitRecord(T::EditBox, kEdit.unit, 10, 70, 150, 22);
  bind(edit, -11, "onChar");
  tpl::UnitRecord shape = unitRecord(T::ShapeBox, kShape.unit, 200, 10, 50, 50);
  tpl::UnitRecord animated = unitRecord(T::PicBox, kAnimated.unit, 200, 100, 12, 6);
  setBytes(animated, "picture", animatedGif());
  setNumber(animated, "bgColour", 0x00FFFF);
  tpl::UnitRecord broken = unitRecord(T::PicBox, kBroken.unit, 200, 120, 12, 6);
  setBytes(broken, "picture", ByteSet{'G', 'I', 'F', '8', '9', 'a', 12, 0, 6, 0, 0xF7});
  setNumber(broken, "bgColour", 0x00FFFF);

  // A log as the updater keeps one: multi-line, max length 0 ("none").
  tpl::UnitRecord log = unitRecord(T::EditBox, kLog.unit, 10, 100, 180, 80);
  setNumber(log, "multiline", 1);
  setNumber(log, "scrollBars", 2);

  // In front of the animated picture, a sibling of it.
  tpl::UnitRecord overAnimated = unitRecord(T::TransLabel, kOverAnimated.unit, 196, 98, 20, 10);
  setText(overAnimated, "caption", "");

  tpl::UnitRecord other = unitRecord(T::Window, 0x06000011, 50, 60, 100, 80);
  tpl::UnitRecord otherLabel = unitRecord(T::Label, kUnloadedLabel.unit, 1, 2, 30, 40);
  // A second window without a taskbar button whose Esc asks its may-close handler.
  tpl::UnitRecord second = unitRecord(T::Window, kSecondOwn.unit, 100, 100, 120, 90);
  setNumber(second, "showInTaskbar", 0);
  setNumber(second, "border", 2);
  setText(second, "title", "第二个窗口");
  bind(second, 1, "onMayClose");
  tpl::UnitRecord secondLabel = unitRecord(T::Label, 0x16000032, 1, 1, 20, 20);
  tpl::UnitRecord looping = unitRecord(T::Window, 0x060000E1, 0, 0, 50, 50, 0);
  tpl::UnitRecord loopingBound = unitRecord(T::Label, kLoopingBound.unit, 0, 0, 10, 10);
  loopingBound.sourceUnitId = kLoopingUnbound.unit;
  bind(loopingBound, 0, "onFeedback");
  tpl::UnitRecord loopingUnbound = unitRecord(T::Label, kLoopingUnbound.unit, 0, 20, 10, 10);
  loopingUnbound.sourceUnitId = kLoopingBound.unit;
  std::vector<tpl::WindowRecord> windows{
      windowRecord(kWin, own,
                   {label, timer, button, edit, log, shape, overAnimated, animated, broken}),
      windowRecord(kUnloaded, other, {otherLabel}), galleryWindow(),
      windowRecord(kSecond, second, {secondLabel}),
      windowRecord(kLooping, looping, {loopingBound, loopingUnbound})};
  for (int i = 0; i < static_cast<int>(galleryShapes().size()); ++i)
    windows.push_back(galleryShapeWindow(i));
  return segmentOf(windows);
}

class RuntimeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    startRuntime(unitTable(), kHandlers, testSegment());
    ASSERT_TRUE(loadWindow(kWin));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

HWND windowOf(UnitRef unit, UnitKind kind) {
  return reinterpret_cast<HWND>(getUnitWindowHandle(unit, kind));
}
std::int32_t number(UnitRef unit, int index) {
  return std::get<std::int32_t>(getUnitProperty(unit, index));
}
Text text(UnitRef unit, int index) { return std::get<Text>(getUnitProperty(unit, index)); }

}  // namespace

TEST(TimerInterval, PeriodsFollowTheWrittenInterval) {
  seen.ticks = 0;
  setUnitProperty(kTimer, 8, Value(std::int32_t{60}));
  waitPumping(400);
  setUnitProperty(kTimer, 8, Value(std::int32_t{0}));
  EXPECT_GE(seen.ticks, 4);
  EXPECT_LE(seen.ticks, 7);
  const int stopped = seen.ticks;
  waitPumping(150);
  EXPECT_EQ(seen.ticks, stopped);
}

TEST(TimerInterval, SameValueKeepsTheRunningPeriod) {
  seen.ticks = 0;
  setUnitProperty(kTimer, 8, Value(std::int32_t{300}));
  waitPumping(180);
  setUnitProperty(kTimer, 8, Value(std::int32_t{300}));
  waitPumping(200);  // the tick at 300 ms still comes; a restart would put it at 480
  EXPECT_EQ(seen.ticks, 1);
  setUnitProperty(kTimer, 8, Value(std::int32_t{0}));
}

TEST(TimerInterval, NewValueRestartsOnePeriodAfterTheWrite) {
  seen.ticks = 0;
  setUnitProperty(kTimer, 8, Value(std::int32_t{300}));
  waitPumping(200);
  setUnitProperty(kTimer, 8, Value(std::int32_t{250}));
  waitPumping(150);  // the old period would have ticked at 300
  EXPECT_EQ(seen.ticks, 0);
  waitPumping(200);
  EXPECT_EQ(seen.ticks, 1);
  setUnitProperty(kTimer, 8, Value(std::int32_t{0}));
}

TEST(TimerInterval, NegativeCountsAsZero) {
  setUnitProperty(kTimer, 8, Value(std::int32_t{50}));
  setUnitProperty(kTimer, 8, Value(std::int32_t{-20}));
  EXPECT_EQ(number(kTimer, 8), 0);
  seen.ticks = 0;
  waitPumping(150);
  EXPECT_EQ(seen.ticks, 0);
}

TEST(HandlerResults, LeftButtonHandlerFalseKeepsThePressFromTheUnit) {
  struct Case {
    HandlerResult result;
    int clicks;
  };
  const Case cases[] = {
      {std::nullopt, 1}, {Value(true), 1}, {Value(false), 0}, {Value(std::int32_t{0}), 1}};
  HWND button = windowOf(kButton, UnitKind::PicBtn);
  ASSERT_NE(button, nullptr);
  for (const Case& c : cases) {
    seen.clicks = 0;
    seen.downResult = c.result;
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    processEvents();
    EXPECT_EQ(seen.clicks, c.clicks);
    EXPECT_EQ(seen.downArgs, (std::vector<std::int32_t>{5, 6, 0}));
  }
}

TEST(HandlerResults, CharacterHandlerReplacesOrDropsTheCharacter) {
  struct Case {
    HandlerResult result;
    const char* content;
  };
  const Case cases[] = {{std::nullopt, "a"},
                        {Value(std::int32_t{'Z'}), "Z"},
                        {Value(std::int32_t{0}), ""},
                        {Value(true), "a"},
                        {Value(false), ""}};
  HWND edit = windowOf(kEdit, UnitKind::EditBox);
  ASSERT_NE(edit, nullptr);
  for (const Case& c : cases) {
    setUnitProperty(kEdit, 8, "");
    seen.charResult = c.result;
    PostMessageW(edit, WM_CHAR, 'a', 1);
    processEvents();
    EXPECT_EQ(text(kEdit, 8), c.content) << "case " << &c - cases;
  }
  seen.charResult.reset();
}

TEST(Clones, EventsRunTheHandlersOfTheFirstUnitOfTheChain) {
  UnitRef first, second;
  ASSERT_TRUE(copyWindowUnit(kLabel, UnitKind::Label, first));
  ASSERT_TRUE(copyWindowUnit(first, UnitKind::Label, second));
  EXPECT_NE(first.unit, second.unit);
  EXPECT_GT(first.unit & 0xFFFFFFu, 0xE3u);  // above every serial of the segment
  EXPECT_EQ(text(second, 8), text(kLabel, 8));
  EXPECT_FALSE(std::get<bool>(getUnitProperty(second, 5)));  // not shown until asked

  EXPECT_EQ(raiseFeedbackEvent(second, 5, 6), 105);
  EXPECT_EQ(seen.lastFeedback.source, second);
  EXPECT_EQ(seen.lastFeedback.args, (std::vector<std::int32_t>{5, 6}));
}

TEST(Clones, AChainThatLoopsHasNoFirstUnitSoEachUnitKeepsItsOwnBindings) {
  ASSERT_TRUE(loadWindow(kLooping));
  EXPECT_EQ(raiseFeedbackEvent(kLoopingBound, 5, 0), 105);
  EXPECT_EQ(seen.lastFeedback.source, kLoopingBound);
  EXPECT_EQ(raiseFeedbackEvent(kLoopingUnbound, 5, 0), 0);
}

TEST(Clones, RefusedCopiesLeaveTheTargetAlone) {
  const UnitRef untouched{1, 2};
  struct Case {
    UnitRef source;
    UnitKind kind;
  };
  const Case cases[] = {{kLabel, UnitKind::Button},
                        {kOwn, UnitKind::Window},
                        {kUnloadedLabel, UnitKind::Label},
                        {{kWin, 0x16FFFFFF}, UnitKind::Label}};
  for (const Case& c : cases) {
    UnitRef target = untouched;
    EXPECT_FALSE(copyWindowUnit(c.source, c.kind, target));
    EXPECT_EQ(target, untouched);
  }
}

TEST(Feedback, PostedFeedbackRunsLaterOnTheWindowThread) {
  seen.feedbacks = 0;
  EXPECT_EQ(raiseFeedbackEvent(kLabel, 1, 2, false), 0);
  EXPECT_EQ(seen.feedbacks, 0);
  processEvents();
  EXPECT_EQ(seen.feedbacks, 1);
}

TEST(Feedback, HandlerOnTheWindowThreadAnswersACallerOnAnotherThread) {
  std::int32_t answer = 0;
  DWORD handlerThread = 0;
  std::thread caller([&] { answer = raiseFeedbackEvent(kLabel, 7); });
  waitPumping(200);
  caller.join();
  handlerThread = GetCurrentThreadId();
  EXPECT_EQ(answer, 107);
  EXPECT_EQ(GetWindowThreadProcessId(windowOf(kLabel, UnitKind::Label), nullptr), handlerThread);
}

TEST(WindowThread, PostsFromAnotherThreadRunLaterInTheirOrderOnTheWindowThread) {
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread poster([&] {
    for (int i = 1; i <= 5; ++i) {
      EXPECT_TRUE(postToWindowThread([&, i] {
        order.push_back(i);
        threads.push_back(GetCurrentThreadId());
      }));
    }
  });
  poster.join();
  EXPECT_TRUE(order.empty());
  processEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5}));
  for (DWORD t : threads) EXPECT_EQ(t, GetCurrentThreadId());
}

TEST(WindowThread, PacedWorkRunsAtOnceThenOnceAtTheEndOfTheInterval) {
  int runs = 0;
  PacedWork paced([&] { ++runs; }, 300);
  std::thread([&] {
    for (int i = 0; i < 20; ++i) paced.request();
  }).join();
  processEvents();
  EXPECT_EQ(runs, 1);
  waitPumping(500);
  EXPECT_EQ(runs, 2);
  waitPumping(400);
  EXPECT_EQ(runs, 2);  // no request, no run
  {
    PacedWork gone([&] { ++runs; }, 300);
    std::thread([&] { gone.request(); }).join();
  }
  processEvents();
  EXPECT_EQ(runs, 2);  // a request for a work that is gone is dropped
}

TEST(Properties, PositionsAndSizesAreClamped) {
  struct Case {
    int index;
    std::int32_t written, read;
  };
  const Case cases[] = {{0, 40000, 32627}, {0, -40000, -32627}, {1, 32627, 32627}, {1, -5, -5},
                        {2, -1, 0},        {2, 99999, 32627},   {3, 17, 17}};
  for (UnitRef unit : {kUnloadedLabel, kShape}) {
    for (const Case& c : cases) {
      setUnitProperty(unit, c.index, Value(c.written));
      EXPECT_EQ(number(unit, c.index), c.read)
          << "index " << c.index << " of " << std::hex << unit.unit;
    }
  }
}

TEST(Properties, UnloadedWindowAnswersFromItsStoredRecord) {
  EXPECT_EQ(std::get<Text>(getUnitProperty(kUnloadedLabel, 4)), "");
  setUnitProperty(kUnloadedLabel, 4, "记号");
  EXPECT_EQ(std::get<Text>(getUnitProperty(kUnloadedLabel, 4)), "记号");
  EXPECT_TRUE(std::get<bool>(getUnitProperty(kUnloadedLabel, 5)));
}

TEST(Properties, VisibleReadsFalseWhileTheWindowIsHidden) {
  EXPECT_TRUE(std::get<bool>(getUnitProperty(kLabel, 5)));
  setUnitProperty(kOwn, 5, Value(false));
  EXPECT_FALSE(std::get<bool>(getUnitProperty(kOwn, 5)));
  EXPECT_FALSE(std::get<bool>(getUnitProperty(kLabel, 5)));
  setUnitProperty(kOwn, 5, Value(std::int32_t{1}));
  EXPECT_TRUE(std::get<bool>(getUnitProperty(kLabel, 5)));
}

TEST(Properties, WritesFromAnotherThreadAreDoneByTheWindowThread) {
  setUnitProperty(kEdit, 8, "");
  std::thread writer([] {
    appendEditText(kEdit, {"下载", "开始"});
    setUnitProperty(kShape, 0, Value(std::int32_t{123}));
  });
  waitPumping(300);
  writer.join();
  EXPECT_EQ(text(kEdit, 8), "下载开始");
  EXPECT_EQ(number(kShape, 0), 123);
}

TEST(Properties, EditBoxWithoutMaxLengthTakesAppendsPastTheControlsDefaultLimit) {
  setUnitProperty(kLog, 8, "");
  // 43,000 characters in blocks of lines, well past the control's default limit of about
  // 30,000, which would silently drop the last ones.
  Text expected;
  for (int block = 0; block < 50; ++block) {
    Text lines;
    for (int i = 1; i <= 20; ++i) {
      char line[64];
      std::snprintf(line, sizeof line, "line %05d: 2,048 bytes received in 0.1 s\r\n",
                    block * 20 + i);
      lines += line;
    }
    appendEditText(kLog, {lines});
    expected += lines;
  }
  ASSERT_GT(expected.size(), 40000u);
  const Text content = text(kLog, 8);
  EXPECT_EQ(content.size(), expected.size());
  EXPECT_TRUE(content == expected)
      << "the log ends in: "
      << content.substr(content.size() - std::min<std::size_t>(content.size(), 60));
  setUnitProperty(kLog, 8, "");
}

namespace {

// A unit whose window refuses its creation in WM_CREATE, after WM_NCCREATE took the route.
// While its window goes it takes blocks of a route's size and marks them: a block that
// the runtime freed a second time would be handed out again and written over.
struct RefusingUnit {
  using Block = std::array<void*, 2>;
  int ncDestroys = 0;
  std::vector<std::unique_ptr<Block>> held;

  static LRESULT proc(void* object, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<RefusingUnit*>(object);
    if (message == WM_CREATE) return -1;
    if (message == WM_NCDESTROY) {
      ++self->ncDestroys;
      self->held.push_back(std::make_unique<Block>(Block{self, self}));
    }
    return DefWindowProcW(w, message, wp, lp);
  }
};

}  // namespace

TEST(UnitWindows, CreationRefusedAfterNcCreateFreesTheRouteOnce) {
  RefusingUnit unit;
  const int tries = 20;
  for (int i = 0; i < tries; ++i)
    EXPECT_EQ(base::createRoutedWindow({L"TvRefusing"}, &RefusingUnit::proc, &unit, WS_POPUP, 0,
                                       RECT{0, 0, 10, 10}, nullptr),
              nullptr);
  EXPECT_EQ(unit.ncDestroys, tries);
  for (const auto& block : unit.held)
    EXPECT_EQ(*block, (RefusingUnit::Block{&unit, &unit}))
        << "a block in use was freed and handed out again";
}

TEST(HotKeys, IdsCountEveryCallAndWmHotkeySendsTheFeedback) {
  HWND own = windowOf(kOwn, UnitKind::Window);
  HWND label = windowOf(kLabel, UnitKind::Label);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(registerHotKey(reinterpret_cast<WindowHandle>(own),
                           reinterpret_cast<WindowHandle>(label), 0, VK_F9),
            33001);
  const LONG_PTR procAfterFirst = GetWindowLongPtrW(own, GWLP_WNDPROC);
  EXPECT_EQ(registerHotKey(reinterpret_cast<WindowHandle>(own),
                           reinterpret_cast<WindowHandle>(label), 5, VK_F10),
            33002);
  EXPECT_EQ(GetWindowLongPtrW(own, GWLP_WNDPROC), procAfterFirst);

  seen.feedbacks = 0;
  SendMessageW(own, WM_HOTKEY, 33001, 0);
  EXPECT_EQ(seen.feedbacks, 1);
  EXPECT_EQ(seen.lastFeedback.args, (std::vector<std::int32_t>{33001, 0}));
  SendMessageW(own, WM_HOTKEY, 33003, 0);  // never issued
  SendMessageW(own, WM_HOTKEY, 1, 0);
  EXPECT_EQ(seen.feedbacks, 1);
}

TEST(WaitPumping, NestedPausesServeTicksAndTheOuterLastsAsLongAsTheInner) {
  seen.ticks = seen.nestedTicks = 0;
  seen.nestOnTick = true;
  setUnitProperty(kTimer, 8, Value(std::int32_t{40}));
  const DWORD start = GetTickCount();
  waitPumping(100);
  const DWORD took = GetTickCount() - start;
  setUnitProperty(kTimer, 8, Value(std::int32_t{0}));
  EXPECT_GE(took, 250u);  // the inner pause of the first tick ends first
  EXPECT_GE(seen.nestedTicks, 3);
}

TEST(WaitPumping, QuitMessageStaysInTheQueue) {
  for (int pass = 0; pass < 2; ++pass) {
    PostQuitMessage(3);
    const DWORD start = GetTickCount();
    if (pass == 0) {
      waitPumping(80);
      EXPECT_GE(GetTickCount() - start, 80u);
    } else {
      processEvents();
    }
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
  }
}

TEST(WindowProperties, StartPositionReadsTheLiveStateAndAHiddenWindowOnlyStoresIt) {
  ASSERT_TRUE(loadWindow(kSecond));
  setUnitProperty(kSecondOwn, 18, Value(std::int32_t{2}));
  EXPECT_EQ(number(kSecondOwn, 18), 2);
  setUnitProperty(kSecondOwn, 18, Value(std::int32_t{0}));
  EXPECT_EQ(number(kSecondOwn, 18), 0);
  setUnitProperty(kSecondOwn, 5, Value(false));
  setUnitProperty(kSecondOwn, 18, Value(std::int32_t{9}));  // stored as 3, not applied
  EXPECT_EQ(number(kSecondOwn, 18), 0);
  setUnitProperty(kSecondOwn, 5, Value(true));
}

TEST(WindowProperties, WithoutTaskbarButtonTheRuntimeWindowOwnsIt) {
  ASSERT_TRUE(loadWindow(kSecond));
  EXPECT_NE(GetWindow(windowOf(kSecondOwn, UnitKind::Window), GW_OWNER), nullptr);
  EXPECT_EQ(GetWindow(windowOf(kOwn, UnitKind::Window), GW_OWNER), nullptr);
}

TEST(WindowProperties, OutlineKeepsThePixelsThatAreNotTransparent) {
  ASSERT_TRUE(loadWindow(kSecond));
  const ByteSet half = bmpFile(20, 10, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x123456u; });
  EXPECT_FALSE(setWindowOutline(kSecond, Value(ByteSet{})));
  EXPECT_FALSE(setWindowOutline(kSecond, Value(ByteSet{'B', 'M', 1, 2})));
  ASSERT_TRUE(setWindowOutline(kSecond, Value(half), 0xFF00FF));
  base::Region rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(windowOf(kSecondOwn, UnitKind::Window), rgn.get()), ERROR);
  RECT box;
  GetRgnBox(rgn.get(), &box);
  EXPECT_EQ(box.left, 8);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
}

TEST(WindowProperties, EscAsksTheMayCloseHandlerAndOnlyFalseKeepsTheWindow) {
  ASSERT_TRUE(loadWindow(kSecond));
  HWND w = windowOf(kSecondOwn, UnitKind::Window);
  seen.mayClose = 0;
  seen.mayCloseResult = Value(false);
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
  processEvents();
  EXPECT_EQ(seen.mayClose, 1);
  EXPECT_NE(windowOf(kSecondOwn, UnitKind::Window), nullptr);
  seen.mayCloseResult.reset();
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
  processEvents();
  EXPECT_EQ(seen.mayClose, 2);
  EXPECT_EQ(windowOf(kSecondOwn, UnitKind::Window), nullptr);
  // Loaded again from the template.
  ASSERT_TRUE(loadWindow(kSecond));
  EXPECT_NE(windowOf(kSecondOwn, UnitKind::Window), nullptr);
}

TEST(Pictures, AnimatedGifPlaysItsFramesAndLoopsAndABrokenOneShowsNothing) {
  HWND animated = windowOf(kAnimated, UnitKind::PicBox);
  ASSERT_NE(animated, nullptr);
  // Loaded when the window was; the frames have long run through their three loops, so
  // load the picture again to start over. The clock starts first: the frames may begin
  // before this thread runs on.
  const DWORD start = GetTickCount();
  setUnitProperty(kAnimated, 10, Value(animatedGif()));
  // Watch the frames as they change: the order and the loop count must be exact, and no
  // frame may go before its delay; a loaded machine may show a frame late, never early.
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const COLORREF background = RGB(255, 255, 0);  // through the transparent half
  const struct {
    COLORREF left, right;
    DWORD delay;
  } frames[] = {{red, red, 100}, {green, green, 200}, {background, blue, 300}};
  auto frameOf = [&](COLORREF left, COLORREF right) {
    for (int i = 0; i < 3; ++i)
      if (frames[i].left == left && frames[i].right == right) return i;
    return -1;
  };
  // A frame began after the start of the last look that did not see it (`after`) and by
  // the end of the first that did (`at`); a look held up by a loaded machine only widens
  // that span.
  struct Seen {
    int frame;
    DWORD after, at;
  };
  std::vector<Seen> seen;
  DWORD lastChange = start, lastLook = start, longestGap = 0;
  while (GetTickCount() - lastChange < 1000 && GetTickCount() - start < 8000) {
    const DWORD now = GetTickCount();
    const DWORD previousLook = lastLook;
    longestGap = std::max(longestGap, now - lastLook);
    lastLook = now;
    // One print for both pixels: a frame may change between two.
    const std::vector<COLORREF> pixels = printedPixels(animated);
    const COLORREF left = pixels.at(3 * 12 + 2), right = pixels.at(3 * 12 + 9);
    int frame = frameOf(left, right);
    ASSERT_NE(frame, -1) << std::hex << "pixels " << left << ", " << right << " of no frame at "
                         << std::dec << now - start;
    if (seen.empty() || seen.back().frame != frame) {
      lastChange = now;
      seen.push_back({frame, previousLook - start, GetTickCount() - start});
    }
    waitPumping(5);
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().frame, 0);
  EXPECT_EQ(seen.back().frame, 2) << "the last frame stays after the last play";
  for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
    if (longestGap < 90) {
      EXPECT_EQ(seen[i + 1].frame, (seen[i].frame + 1) % 3) << "frames out of order at " << i;
    }
    // The longest the frame can have shown: from before it was seen to when the next was.
    EXPECT_GE(seen[i + 1].at - seen[i].after + 20, frames[seen[i].frame].delay)
        << "frame " << i << " went early";
  }
  // Three plays of three frames; a frame can only be missed when a look came too late.
  if (longestGap < 90) {
    EXPECT_EQ(seen.size(), 9u);
  }
  EXPECT_GE(seen.back().at + 20, 1500u) << "the last frame of the third play starts at 1500 ms";
  // What the label in front of the picture shows on the screen follows the frames too.
  HWND over = windowOf(kOverAnimated, UnitKind::TransLabel);
  ASSERT_NE(over, nullptr);
  setUnitProperty(kAnimated, 10, Value(animatedGif()));
  const DWORD restarted = GetTickCount();
  while (printedPixel(animated, 2, 3) != green && GetTickCount() - restarted < 3000) waitPumping(5);
  // The label repaints from a posted message; picture pixel (8, 3) of the green frame.
  EXPECT_TRUE(
      pumpUntil([&] { return GetPixel(base::WindowDc(over).get(), 12, 5) == green; }, 3000));
  HWND broken = windowOf(kBroken, UnitKind::PicBox);
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(printedPixel(broken, 5, 3), RGB(255, 255, 0));
}

TEST(Rendering, GalleryUnitsPaintTheirPicturesAndColours) {
  ASSERT_TRUE(loadWindow(kGalleryWindow));
  HWND w = windowOf(UnitRef{kGalleryWindow, kGalleryOwn}, UnitKind::Window);
  ASSERT_NE(w, nullptr);
  for (int i = 0; i < kGalleryPixelCount; ++i) {
    const GalleryPixel& p = kGalleryPixels[i];
    POINT at{p.x, p.y};
    HWND unit = ChildWindowFromPointEx(w, at, CWP_SKIPINVISIBLE);
    ASSERT_NE(unit, nullptr) << p.what;
    MapWindowPoints(w, unit, &at, 1);
    EXPECT_EQ(printedPixel(unit, at.x, at.y), p.colour) << p.what;
  }
}

namespace {
constexpr UnitRef galleryUnit(tpl::Id unit) { return UnitRef{kGalleryWindow, unit}; }

void clickUnit(UnitRef unit, UnitKind kind) {
  HWND w = windowOf(unit, kind);
  ASSERT_NE(w, nullptr);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  processEvents();
}

COLORREF galleryPixel(UnitRef unit, UnitKind kind, int x, int y) {
  HWND w = windowOf(unit, kind);
  return w ? printedPixel(w, x, y) : CLR_INVALID;
}
}  // namespace

TEST(PictureButtonKinds, ToggleTurnsItsStateOverAndGroupKeepsOneDown) {
  ASSERT_TRUE(loadWindow(kGalleryWindow));
  const UnitRef toggle = galleryUnit(kGalleryToggleUp), first = galleryUnit(kGalleryGroupFirst),
                second = galleryUnit(kGalleryGroupSecond);
  constexpr COLORREF kUp = 0xC0C0C0, kDown = 0x0080FF;
  struct Step {
    UnitRef clicked;
    std::int32_t toggle, first, second;
  };
  const Step steps[] = {
      {toggle, 1, 1, 0}, {toggle, 0, 1, 0}, {second, 0, 0, 1}, {second, 0, 0, 1}, {first, 0, 1, 0},
  };
  for (const Step& s : steps) {
    clickUnit(s.clicked, UnitKind::PicBtn);
    EXPECT_EQ(number(toggle, 9), s.toggle);
    EXPECT_EQ(number(first, 9), s.first);
    EXPECT_EQ(number(second, 9), s.second);
    EXPECT_EQ(galleryPixel(toggle, UnitKind::PicBtn, 5, 5), s.toggle ? kDown : kUp);
    EXPECT_EQ(galleryPixel(second, UnitKind::PicBtn, 5, 5), s.second ? kDown : kUp);
  }
  // A written state shows at once; a push button (kind 0) is left as it was by a click.
  setUnitProperty(toggle, 9, Value(std::int32_t{1}));
  EXPECT_EQ(galleryPixel(toggle, UnitKind::PicBtn, 5, 5), kDown);
  setUnitProperty(toggle, 8, Value(std::int32_t{0}));
  clickUnit(toggle, UnitKind::PicBtn);
  EXPECT_EQ(number(toggle, 9), 1);
  setUnitProperty(toggle, 8, Value(std::int32_t{1}));
  setUnitProperty(toggle, 9, Value(std::int32_t{0}));
}

TEST(ButtonPicture, EmptyOrBrokenPictureLeavesThePlainButton) {
  ASSERT_TRUE(loadWindow(kGalleryWindow));
  const UnitRef button = galleryUnit(kGalleryPictureButton);
  HWND w = windowOf(button, UnitKind::Button);
  ASSERT_NE(w, nullptr);
  auto type = [&] { return GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK; };
  EXPECT_EQ(type(), BS_OWNERDRAW);
  for (const ByteSet& bytes : {ByteSet{}, ByteSet{'B', 'M', 9, 9, 9}}) {
    setUnitProperty(button, 8, Value(bytes));
    EXPECT_EQ(type(), BS_PUSHBUTTON);
    EXPECT_NE(galleryPixel(button, UnitKind::Button, 10, 15), RGB(255, 0, 0));
  }
  setUnitProperty(button, 8, Value(bmpFile(16, 16, [](int, int) { return 0x0000FFu; })));
  EXPECT_EQ(type(), BS_OWNERDRAW);
  EXPECT_EQ(galleryPixel(button, UnitKind::Button, 10, 15), RGB(255, 0, 0));
}

TEST(SeeThrough, ChangesBehindATransparentLabelRepaintIt) {
  ASSERT_TRUE(loadWindow(kGalleryWindow));
  const UnitRef over = galleryUnit(kGalleryOverLabel), under = galleryUnit(kGalleryUnderLabel);
  HWND label = windowOf(over, UnitKind::TransLabel);
  ASSERT_NE(label, nullptr);
  auto invalid = [&] {
    RECT r;
    return GetUpdateRect(label, &r, FALSE) != FALSE;
  };
  waitPumping(50);
  ASSERT_FALSE(invalid());
  setUnitProperty(under, 17, Value(std::int32_t{0x00FF00}));
  EXPECT_TRUE(invalid());
  EXPECT_EQ(galleryPixel(over, UnitKind::TransLabel, 115, 1), RGB(0, 255, 0));
  waitPumping(50);
  // Hidden, the label no longer shows it.
  setUnitProperty(under, 5, Value(false));
  EXPECT_TRUE(invalid());
  EXPECT_EQ(galleryPixel(over, UnitKind::TransLabel, 115, 1), RGB(0xEC, 0xEC, 0xEC));
  setUnitProperty(under, 5, Value(true));
  setUnitProperty(under, 17, Value(std::int32_t{0x3399FF}));
  waitPumping(50);
}

TEST(WindowShapes, OutlinesPastTheRingCutTheWindowRegion) {
  const std::vector<GalleryShape> shapes = galleryShapes();
  for (int i = 0; i < static_cast<int>(shapes.size()); ++i) {
    const GalleryShape& s = shapes[static_cast<std::size_t>(i)];
    ASSERT_TRUE(loadWindow(galleryShapeWindowId(i)));
    HWND w = windowOf(UnitRef{galleryShapeWindowId(i), galleryShapeOwn(i)}, UnitKind::Window);
    ASSERT_NE(w, nullptr);
    base::Region rgn(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(w, rgn.get());
    if (s.inside.empty()) {
      EXPECT_EQ(kind, ERROR) << "shape " << s.shape;
      continue;
    }
    ASSERT_NE(kind, ERROR) << "shape " << s.shape;
    EXPECT_TRUE(PtInRegion(rgn.get(), 40, 30)) << "shape " << s.shape << " centre";
    for (const GalleryShapePoint& p : s.inside)
      EXPECT_TRUE(PtInRegion(rgn.get(), p.x, p.y))
          << "shape " << s.shape << " at " << p.x << "," << p.y;
    for (const GalleryShapePoint& p : s.outside)
      EXPECT_FALSE(PtInRegion(rgn.get(), p.x, p.y))
          << "shape " << s.shape << " at " << p.x << "," << p.y;
  }
}
