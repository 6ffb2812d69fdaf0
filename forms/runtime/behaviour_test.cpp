// Window behaviours under Wine: owned and modal loads, clones of what the run wrote,
// window music through a stand-in player, and dragging and Enter driven by real input.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "forms/runtime/runtime.h"
#include "forms/runtime/test_support/printed_unit.h"
#include "forms/system/system_ops.h"
#include "test_support/test_segment.h"
#include "forms/units/unit_table.h"
#include "forms/units/window/window_music.h"

using namespace forms;
using namespace forms::testing;
using namespace test_support;

namespace {

constexpr WindowId kMain = 0x52000040;
constexpr UnitRef kMainOwn{kMain, 0x06000041};
constexpr UnitRef kPainted{kMain, 0x16000042};
constexpr WindowId kModal = 0x52000043;
constexpr UnitRef kModalOwn{kModal, 0x06000044};
constexpr UnitRef kModalTimer{kModal, 0x16000045};
constexpr WindowId kOwned = 0x52000046;
constexpr UnitRef kOwnedOwn{kOwned, 0x06000047};
constexpr WindowId kMusicLoop = 0x52000048;
constexpr UnitRef kMusicLoopOwn{kMusicLoop, 0x06000049};
constexpr WindowId kMusicTwice = 0x5200004A;
constexpr UnitRef kMusicTwiceOwn{kMusicTwice, 0x0600004B};
constexpr WindowId kMusicMidi = 0x5200004C;
constexpr UnitRef kMusicMidiOwn{kMusicMidi, 0x0600004D};
constexpr WindowId kInput = 0x52000050;
constexpr UnitRef kInputOwn{kInput, 0x06000051};
constexpr UnitRef kInputTrans{kInput, 0x16000052};
constexpr UnitRef kEditA{kInput, 0x16000053};
constexpr UnitRef kEditB{kInput, 0x16000055};
constexpr WindowId kStill = 0x52000056;
constexpr UnitRef kStillOwn{kStill, 0x06000057};
constexpr UnitRef kEditC{kStill, 0x16000058};
constexpr UnitRef kBoxTimer{kMain, 0x1600005A};
constexpr WindowId kBoxed = 0x5200005B;
constexpr UnitRef kBoxedOwn{kBoxed, 0x0600005C};
constexpr UnitRef kBoxedMark{kBoxed, 0x1600005D};

constexpr std::uint32_t kSoundMs = 150;

HWND windowOf(UnitRef unit, UnitKind kind) {
  return reinterpret_cast<HWND>(getUnitWindowHandle(unit, kind));
}
HWND topOf(UnitRef own) { return windowOf(own, UnitKind::Window); }
std::int32_t number(UnitRef unit, int index) {
  return std::get<std::int32_t>(getUnitProperty(unit, index));
}
Text text(UnitRef unit, int index) { return std::get<Text>(getUnitProperty(unit, index)); }

// Closes a window as its close box would, and serves what follows.
void closeWindow(UnitRef own) {
  if (HWND h = topOf(own)) PostMessageW(h, WM_CLOSE, 0, 0);
  processEvents();
}

struct Down {
  UnitRef source;
  std::vector<std::int32_t> args;
};
std::vector<Down> downs;

HandlerResult onDown(const Event& e) {
  downs.push_back(Down{e.source, e.args});
  return std::nullopt;
}

struct ModalSeen {
  int ticks = 0;
  bool mainEnabled = true, ownedEnabled = true, modalEnabled = false;
  HWND owner = nullptr;
};
ModalSeen modalSeen;

// Runs inside the modal window's message loop.
HandlerResult onModalTick(const Event&) {
  ++modalSeen.ticks;
  HWND modal = topOf(kModalOwn);
  modalSeen.mainEnabled = IsWindowEnabled(topOf(kMainOwn)) != FALSE;
  modalSeen.ownedEnabled = IsWindowEnabled(topOf(kOwnedOwn)) != FALSE;
  modalSeen.modalEnabled = IsWindowEnabled(modal) != FALSE;
  modalSeen.owner = GetWindow(modal, GW_OWNER);
  setUnitProperty(kModalTimer, 8, Value(std::int32_t{0}));
  PostMessageW(modal, WM_CLOSE, 0, 0);
  return std::nullopt;
}

// A message box opened from a handler, with a window loaded while it is open (as a
// poll loads one); a hand on another thread acts on that window, then closes the box.
struct BoxScene {
  int stage = 0;  // 0 before the box, 1 box open, 2 window loaded, 3 box closed
  std::function<void(HWND boxed)> hand;
  std::thread handThread;
};
BoxScene boxScene;

BOOL CALLBACK pressOkOfDialog(HWND w, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 16);
  if (std::wstring(name) == L"#32770") PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return TRUE;
}

void closeMessageBox(DWORD thread) { EnumThreadWindows(thread, pressOkOfDialog, 0); }

HandlerResult onBoxTick(const Event&) {
  if (boxScene.stage == 0) {
    boxScene.stage = 1;
    messageBox(Text("已经是最新版本。"));
    boxScene.stage = 3;
  } else if (boxScene.stage == 1) {
    // A tick inside the box's own loop.
    setUnitProperty(kBoxTimer, 8, Value(std::int32_t{0}));
    boxScene.stage = 2;
    if (loadWindow(kBoxed)) {
      const HWND boxed = windowOf(kBoxedOwn, UnitKind::Window);
      const DWORD thread = GetCurrentThreadId();
      boxScene.handThread = std::thread([boxed, thread] {
        boxScene.hand(boxed);
        closeMessageBox(thread);
      });
    } else {
      closeMessageBox(GetCurrentThreadId());
    }
  }
  return std::nullopt;
}

const HandlerEntry kHandlers[] = {
    {"onDown", onDown}, {"onModalTick", onModalTick}, {"onBoxTick", onBoxTick}};

// What the windows' music asked of the sound device: L a looping play, O a single play,
// S a stop; with the tick count of each single play.
class RecordingPlayer : public SoundPlayer {
 public:
  void play(const ByteSet& wav, bool loop) override {
    log += loop ? 'L' : 'O';
    if (!loop) onceAt.push_back(GetTickCount());
    lastSize = wav.size();
  }
  void stop() override { log += 'S'; }
  void clear() {
    log.clear();
    onceAt.clear();
  }
  std::string log;
  std::vector<DWORD> onceAt;
  std::size_t lastSize = 0;
};
RecordingPlayer player;

tpl::UnitRecord plainWindow(tpl::Id own, int left, int top, int width, int height,
                            std::uint32_t flags = kFlagVisible) {
  tpl::UnitRecord w = unitRecord(UnitKind::Window, own, left, top, width, height, flags);
  setNumber(w, "border", 0);
  setNumber(w, "startPosition", 0);
  return w;
}

tpl::UnitRecord musicWindow(tpl::Id own, int left, const ByteSet& sound, std::uint32_t count,
                            std::uint32_t flags) {
  tpl::UnitRecord w = plainWindow(own, left, 20, 60, 40, flags);
  setBytes(w, "music", sound);
  setNumber(w, "musicPlayCount", count);
  return w;
}

ByteSet testSegment() {
  using T = UnitKind;
  constexpr std::uint32_t kV = kFlagVisible, kTab = kFlagVisible | kFlagTabStop;

  tpl::UnitRecord painted = unitRecord(T::Label, kPainted.unit, 10, 10, 120, 24);
  setText(painted, "caption", "模板的标题");
  setNumber(painted, "textColour", 0xFF0000);

  tpl::UnitRecord modal = unitRecord(T::Window, kModalOwn.unit, 400, 20, 200, 120);
  setNumber(modal, "startPosition", 0);
  setText(modal, "title", "模态窗口");
  tpl::UnitRecord modalTimer = unitRecord(T::Timer, kModalTimer.unit, 0, 0, 0, 0, 0);
  setNumber(modalTimer, "interval", 60);
  bind(modalTimer, 0, "onModalTick");

  tpl::UnitRecord owned = unitRecord(T::Window, kOwnedOwn.unit, 400, 200, 160, 100);
  setNumber(owned, "startPosition", 0);
  setText(owned, "title", "从属窗口");

  const ByteSet wav = wavFile(8000, 8000 * kSoundMs / 1000);
  const ByteSet midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};

  tpl::UnitRecord input = plainWindow(kInputOwn.unit, 20, 560, 200, 150);
  setNumber(input, "moveAnywhere", 1);
  setNumber(input, "enterMovesFocus", 1);
  bind(input, -1, "onDown");
  tpl::UnitRecord trans = unitRecord(T::TransLabel, kInputTrans.unit, 10, 10, 60, 20, kV);
  bind(trans, -1, "onDown");
  tpl::UnitRecord editA = unitRecord(T::EditBox, kEditA.unit, 10, 40, 80, 22, kTab);
  tpl::UnitRecord between = unitRecord(T::Label, 0x16000054, 10, 70, 80, 20, kV);  // no tab stop
  tpl::UnitRecord editB = unitRecord(T::EditBox, kEditB.unit, 10, 100, 80, 22, kTab);

  tpl::UnitRecord boxTimer = unitRecord(T::Timer, kBoxTimer.unit, 0, 0, 0, 0, 0);
  setNumber(boxTimer, "interval", 0);
  bind(boxTimer, 0, "onBoxTick");
  // Like the navigator's popup: dragged by any point, with a close mark that takes the press.
  tpl::UnitRecord boxed = plainWindow(kBoxedOwn.unit, 20, 300, 160, 100);
  setNumber(boxed, "moveAnywhere", 1);
  tpl::UnitRecord boxedMark = unitRecord(T::TransLabel, kBoxedMark.unit, 130, 5, 20, 20, kV);
  setText(boxedMark, "caption", "X");
  bind(boxedMark, -1, "onDown");

  tpl::UnitRecord still = plainWindow(kStillOwn.unit, 300, 560, 200, 150);
  bind(still, -1, "onDown");
  tpl::UnitRecord editC = unitRecord(T::EditBox, kEditC.unit, 10, 40, 80, 22, kTab);
  tpl::UnitRecord editD = unitRecord(T::EditBox, 0x16000059, 10, 100, 80, 22, kTab);

  return segmentOf({
      windowRecord(kMain, plainWindow(kMainOwn.unit, 20, 20, 300, 200), {painted, boxTimer}),
      windowRecord(kModal, modal, {modalTimer}),
      windowRecord(kOwned, owned, {}),
      windowRecord(kMusicLoop, musicWindow(kMusicLoopOwn.unit, 650, wav, 0, 0), {}),
      windowRecord(kMusicTwice, musicWindow(kMusicTwiceOwn.unit, 720, wav, 2, kV), {}),
      windowRecord(kMusicMidi, musicWindow(kMusicMidiOwn.unit, 790, midi, 1, kV), {}),
      windowRecord(kInput, input, {trans, editA, between, editB}),
      windowRecord(kStill, still, {editC, editD}),
      windowRecord(kBoxed, boxed, {boxedMark}),
  });
}

class BehaviourEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setSoundPlayer(&player);
    startRuntime(unitTable(), kHandlers, testSegment());
    ASSERT_TRUE(loadWindow(kMain));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new BehaviourEnvironment);

}  // namespace

TEST(LoadWindow, ParentUnitsWindowOwnsTheNewWindow) {
  struct Case {
    UnitRef parent;
    bool owned;
  };
  const Case cases[] = {
      {kPainted, true}, {kMainOwn, true}, {{}, false}, {kModalOwn, false} /* not loaded */};
  for (const Case& c : cases) {
    ASSERT_TRUE(loadWindow(kOwned, c.parent));
    HWND owned = topOf(kOwnedOwn);
    ASSERT_NE(owned, nullptr) << "not modal: back at once with the window open";
    EXPECT_EQ(GetWindow(owned, GW_OWNER), c.owned ? topOf(kMainOwn) : nullptr)
        << std::hex << c.parent.unit;
    EXPECT_TRUE(IsWindowEnabled(topOf(kMainOwn)));
    closeWindow(kOwnedOwn);
    EXPECT_EQ(topOf(kOwnedOwn), nullptr);
  }
}

TEST(LoadWindow, ModalServesEventsWithTheOtherWindowsDisabledAndGivesTheActivationBack) {
  ASSERT_TRUE(loadWindow(kOwned));
  setUnitProperty(kOwnedOwn, 6, Value(true));  // disabled before: the modal window leaves it so
  modalSeen = ModalSeen{};
  ASSERT_TRUE(loadWindow(kModal, kPainted, true));

  EXPECT_EQ(modalSeen.ticks, 1);  // its timer ran inside the call, which ended when it closed
  EXPECT_EQ(topOf(kModalOwn), nullptr);
  EXPECT_FALSE(modalSeen.mainEnabled);
  EXPECT_FALSE(modalSeen.ownedEnabled);
  EXPECT_TRUE(modalSeen.modalEnabled);
  EXPECT_EQ(modalSeen.owner, topOf(kMainOwn));

  EXPECT_TRUE(IsWindowEnabled(topOf(kMainOwn)));
  EXPECT_FALSE(IsWindowEnabled(topOf(kOwnedOwn)));
  EXPECT_EQ(GetActiveWindow(), topOf(kMainOwn));
  setUnitProperty(kOwnedOwn, 6, Value(false));
  closeWindow(kOwnedOwn);
}

TEST(Clones, CopyTheTypePropertiesThatTheRunWrote) {
  setUnitProperty(kPainted, 8, "运行时写的");
  setUnitProperty(kPainted, 17, Value(std::int32_t{0x00FF00}));
  UnitRef clone;
  ASSERT_TRUE(copyWindowUnit(kPainted, UnitKind::Label, clone));
  EXPECT_EQ(text(clone, 8), "运行时写的");
  EXPECT_EQ(number(clone, 17), 0x00FF00);
  EXPECT_EQ(number(clone, 16), 0xFF0000);  // from the template, untouched by the run
  EXPECT_EQ(number(clone, 1), 10);         // common properties as before: the source's

  setUnitProperty(clone, 1, Value(std::int32_t{50}));
  setUnitProperty(clone, 5, Value(true));
  HWND shown = windowOf(clone, UnitKind::Label);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_EQ(printedPixel(shown, 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(printedPixels(shown), printedPixels(windowOf(kPainted, UnitKind::Label)));
}

TEST(WindowMusic, PlayCountDecidesWhatIsPlayedAndTheWindowsEndStopsIt) {
  struct Case {
    WindowId window;
    UnitRef own;
    const char* atLoad;     // before the window is first shown, for a hidden template
    const char* whileOpen;  // once it has been shown and had time for every play
    const char* closed;
  };
  const Case cases[] = {
      {kMusicLoop, kMusicLoopOwn, "", "L", "LS"},
      {kMusicTwice, kMusicTwiceOwn, "O", "OO", "OOS"},
      {kMusicMidi, kMusicMidiOwn, "", "", ""},  // not a sound the system plays from memory
      {kOwned, kOwnedOwn, "", "", ""},          // no music at all
  };
  for (const Case& c : cases) {
    player.clear();
    ASSERT_TRUE(loadWindow(c.window));
    EXPECT_EQ(player.log, c.atLoad) << std::hex << c.window;
    setUnitProperty(c.own, 5, Value(true));
    waitPumping(3 * kSoundMs);
    EXPECT_EQ(player.log, c.whileOpen) << std::hex << c.window;
    closeWindow(c.own);
    EXPECT_EQ(player.log, c.closed) << std::hex << c.window;
  }
}

TEST(WindowMusic, SecondPlayComesOneSoundLengthAfterTheFirst) {
  player.clear();
  ASSERT_TRUE(loadWindow(kMusicTwice));
  waitPumping(3 * kSoundMs);
  ASSERT_EQ(player.onceAt.size(), 2u);
  EXPECT_GE(player.onceAt[1] - player.onceAt[0], kSoundMs - 10);
  EXPECT_EQ(player.lastSize, wavFile(8000, 8000 * kSoundMs / 1000).size());
  closeWindow(kMusicTwiceOwn);
}

TEST(WindowMusic, SystemPlayerFailsQuietlyWithoutASoundDevice) {
  setSoundPlayer(nullptr);
  const DWORD start = GetTickCount();
  ASSERT_TRUE(loadWindow(kMusicTwice));
  waitPumping(2 * kSoundMs);
  closeWindow(kMusicTwiceOwn);
  setSoundPlayer(&player);
  EXPECT_EQ(topOf(kMusicTwiceOwn), nullptr);
  EXPECT_LT(GetTickCount() - start, 3000u);
}

namespace {

// Real input, as the system's input queue sees it.
void mouseInput(DWORD flags, POINT at) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(at.x) * 65536 + w - 1) / w);
  in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(at.y) * 65536 + h - 1) / h);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void keyInput(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

void bringToFront(HWND top) {
  SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(top);
  waitPumping(50);
}

// Presses the left button at `from` (client coordinates of top), moves by `by` and lets
// go. The input comes from another thread: a drag runs the system's move loop inside
// this thread's message handling until the button is up.
// The input of a drag by `by` from `start` (screen coordinates); `by` {0, 0} is a click.
void dragInput(POINT start, POINT by) {
  mouseInput(0, start);
  Sleep(80);
  mouseInput(MOUSEEVENTF_LEFTDOWN, start);
  Sleep(150);
  for (int step = 1; step <= 5; ++step) {
    mouseInput(0, POINT{start.x + by.x * step / 5, start.y + by.y * step / 5});
    Sleep(30);
  }
  Sleep(100);
  mouseInput(MOUSEEVENTF_LEFTUP, POINT{start.x + by.x, start.y + by.y});
}

POINT onScreen(HWND top, POINT client) {
  ClientToScreen(top, &client);
  return client;
}

void drag(HWND top, POINT from, POINT by) {
  const POINT start = onScreen(top, from);
  std::atomic<bool> done{false};
  std::thread hand([&] {
    dragInput(start, by);
    done = true;
  });
  while (!done) waitPumping(20);
  hand.join();
  waitPumping(150);
}

}  // namespace

TEST(MoveAnywhere, BackgroundDragMovesTheWindowAndATransLabelTakesThePressInstead) {
  ASSERT_TRUE(loadWindow(kInput));
  ASSERT_TRUE(loadWindow(kStill));
  struct Case {
    const char* what;
    UnitRef own;
    POINT at;
    bool moves;
    std::optional<UnitRef> down;  // the unit whose event -1 ran
  };
  const Case cases[] = {
      {"background, moveAnywhere 1", kInputOwn, {150, 60}, true, std::nullopt},
      {"TransLabel, moveAnywhere 1", kInputOwn, {20, 15}, false, kInputTrans},
      {"background, moveAnywhere 0", kStillOwn, {150, 60}, false, kStillOwn},
  };
  const POINT by{30, 20};
  for (const Case& c : cases) {
    HWND top = topOf(c.own);
    ASSERT_NE(top, nullptr) << c.what;
    bringToFront(top);
    RECT before, after;
    GetWindowRect(top, &before);
    downs.clear();
    drag(top, c.at, by);
    GetWindowRect(top, &after);
    EXPECT_EQ(after.left - before.left, c.moves ? by.x : 0) << c.what;
    EXPECT_EQ(after.top - before.top, c.moves ? by.y : 0) << c.what;
    if (c.down) {
      ASSERT_EQ(downs.size(), 1u) << c.what;
      EXPECT_EQ(downs[0].source, *c.down) << c.what;
    } else {
      EXPECT_TRUE(downs.empty()) << c.what;
    }
    setUnitProperty(c.own, 0, Value(static_cast<std::int32_t>(before.left)));
    setUnitProperty(c.own, 1, Value(static_cast<std::int32_t>(before.top)));
  }
}

TEST(EnterMovesFocus, EnterGoesToTheNextTabStopOnlyWhenItIsOn) {
  ASSERT_TRUE(loadWindow(kInput));
  ASSERT_TRUE(loadWindow(kStill));
  struct Case {
    UnitRef from, to;
  };
  const Case cases[] = {
      {kEditA, kEditB},  // past the label, which is no tab stop
      {kEditB, kEditA},  // round to the first
      {kEditC, kEditC},  // enterMovesFocus 0
  };
  for (const Case& c : cases) {
    HWND edit = windowOf(c.from, UnitKind::EditBox);
    ASSERT_NE(edit, nullptr);
    bringToFront(GetAncestor(edit, GA_ROOT));
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    keyInput(VK_RETURN);
    const HWND expected = windowOf(c.to, UnitKind::EditBox);
    // The key passes the input queue, which a loaded machine may hold up for a while; a
    // focus that is to stay is given the time to (wrongly) move.
    for (DWORD start = GetTickCount(); GetFocus() != expected && GetTickCount() - start < 5000;)
      waitPumping(20);
    if (expected == edit) waitPumping(150);
    EXPECT_EQ(GetFocus(), expected) << std::hex << c.from.unit;
  }
}

TEST(DialogLoops, WhileAMessageBoxIsOpenAWindowLoadedMeanwhileTakesPressesAndDrags) {
  struct Seen {
    RECT before{}, after{};
  };
  Seen seen;
  const POINT by{30, 20};
  downs.clear();
  boxScene = BoxScene{};
  boxScene.hand = [&](HWND boxed) {
    GetWindowRect(boxed, &seen.before);
    dragInput(onScreen(boxed, POINT{140, 15}), POINT{0, 0});  // the close mark
    Sleep(200);
    dragInput(onScreen(boxed, POINT{60, 60}), by);  // the background
    Sleep(200);
    GetWindowRect(boxed, &seen.after);
  };
  setUnitProperty(kBoxTimer, 8, Value(std::int32_t{40}));
  const DWORD start = GetTickCount();
  while (boxScene.stage != 3 && GetTickCount() - start < 20000) waitPumping(20);
  setUnitProperty(kBoxTimer, 8, Value(std::int32_t{0}));
  if (boxScene.handThread.joinable()) boxScene.handThread.join();
  ASSERT_EQ(boxScene.stage, 3) << "the box was not closed";

  ASSERT_EQ(downs.size(), 1u) << "the close mark's event -1 did not run while the box was open";
  EXPECT_EQ(downs[0].source, kBoxedMark);
  EXPECT_EQ(downs[0].args[0], 10);  // x in the mark's client area
  EXPECT_EQ(seen.after.left - seen.before.left, by.x) << "the window was not dragged";
  EXPECT_EQ(seen.after.top - seen.before.top, by.y);
  EXPECT_TRUE(IsWindowEnabled(topOf(kMainOwn))) << "the box gave the windows it disabled back";
  closeWindow(kBoxedOwn);
}
