#include "forms/style/xp_style.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/gdi.h"

namespace forms {
namespace {

struct WindowDeleter {
  void operator()(HWND w) const { DestroyWindow(w); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct Control {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

// Every class that takes the look, with the styles the programs' units would give it.
const Control kControls[] = {
    {"Button", BS_PUSHBUTTON, 0},
    {"Button", BS_DEFPUSHBUTTON, 0},
    {"Button", BS_AUTOCHECKBOX, 0},
    {"Button", BS_AUTORADIOBUTTON, 0},
    {"Button", BS_GROUPBOX, 0},
    {"Edit", WS_BORDER, 0},
    {"Edit", ES_MULTILINE | WS_VSCROLL, WS_EX_CLIENTEDGE},
    {"msctls_hotkey32", 0, WS_EX_CLIENTEDGE},
    {"SysIPAddress32", 0, 0},
    {"ListBox", WS_BORDER, 0},
    {"SysListView32", LVS_REPORT, WS_EX_CLIENTEDGE},
    {"SysTreeView32", WS_BORDER, 0},
    {"ComboBox", CBS_DROPDOWNLIST, 0},
    {"SysDateTimePick32", 0, 0},
    {"msctls_updown32", 0, 0},
    {"ScrollBar", SBS_HORZ, 0},
    {"SysMonthCal32", 0, 0},
    {"SysTabControl32", 0, 0},
    {"msctls_progress32", 0, 0},
    {"msctls_trackbar32", 0, 0},
};

class XpStyleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                   ICC_INTERNET_CLASSES | ICC_HOTKEY_CLASS |
                                                   ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
  }
  void SetUp() override {
    parent.reset(CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr));
  }
  void TearDown() override { setXpStyle(0); }

  HWND make(const Control& c) {
    HWND w = CreateWindowExA(c.exStyle, c.className, "Caption", WS_CHILD | WS_VISIBLE | c.style, 10,
                             10, 120, 40, parent.get(), nullptr, nullptr, nullptr);
    if (std::string(c.className) == "SysTabControl32") {
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>("Page");
      SendMessageA(w, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (std::string(c.className) == "msctls_progress32") SendMessageA(w, PBM_SETPOS, 40, 0);
    return w;
  }

  std::vector<HWND> makeAll() {
    std::vector<HWND> all;
    for (const Control& c : kControls) all.push_back(make(c));
    // The drop-down list of the combo box is a window of its own.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    for (HWND w : all) {
      if (GetComboBoxInfo(w, &info) && info.hwndList) {
        all.push_back(info.hwndList);
        break;
      }
    }
    return all;
  }

  Window parent;
};

// The colour at the middle of the control's left edge, as the control prints itself.
COLORREF leftEdge(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  base::WindowDc screen(nullptr);
  base::PaintBuffer buffer(screen.get(), width, height);
  HDC dc = buffer.dc();
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  return GetPixel(dc, 0, height / 2);
}

std::string nameOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof(name));
  return std::string(name) + " style " + std::to_string(GetWindowLongA(w, GWL_STYLE) & 0xFFFF);
}

const COLORREF kFrames[] = {RGB(123, 158, 189), RGB(164, 185, 127), RGB(198, 197, 215)};

TEST_F(XpStyleTest, EachSchemeFramesExistingAndLaterControls) {
  const std::vector<HWND> before = makeAll();
  for (int scheme = 1; scheme <= 3; ++scheme) {
    EXPECT_TRUE(setXpStyle(scheme));
    const std::vector<HWND> later = makeAll();
    for (const auto* set : {&before, &later}) {
      for (HWND w : *set) {
        EXPECT_EQ(leftEdge(w), kFrames[scheme - 1])
            << nameOf(w) << ", scheme " << scheme
            << (set == &before ? ", existing" : ", created later");
      }
    }
    for (HWND w : later) DestroyWindow(w);
  }
}

TEST_F(XpStyleTest, RemovingTheStyleGivesThePlatformLookBack) {
  const std::vector<HWND> before = makeAll();
  ASSERT_TRUE(setXpStyle(3));
  ASSERT_EQ(leftEdge(before[0]), kFrames[2]);
  EXPECT_TRUE(setXpStyle(0));
  const std::vector<HWND> later = makeAll();
  for (const auto* set : {&before, &later}) {
    for (HWND w : *set) EXPECT_NE(leftEdge(w), kFrames[2]) << nameOf(w);
  }
}

TEST_F(XpStyleTest, OtherClassesOwnerDrawnButtonsAndOtherThreadsKeepTheirLook) {
  HWND label = make({"STATIC", SS_SUNKEN, 0});
  HWND ownerDrawn = make({"Button", BS_OWNERDRAW, 0});
  // A window of another thread, which serves messages until it is told to end.
  HWND elsewhere = nullptr;
  const base::KernelHandle created(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  const base::KernelHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::thread other([&] {
    elsewhere = CreateWindowExA(0, "Button", "x", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 30, nullptr,
                                nullptr, nullptr, nullptr);
    SetEvent(created.get());
    const HANDLE end = done.get();
    while (MsgWaitForMultipleObjects(1, &end, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    DestroyWindow(elsewhere);
  });
  WaitForSingleObject(created.get(), INFINITE);
  EXPECT_TRUE(setXpStyle(2));  // not ASSERT: the other thread must still be ended
  for (HWND w : {label, ownerDrawn, elsewhere}) EXPECT_NE(leftEdge(w), kFrames[1]) << nameOf(w);
  SetEvent(done.get());
  other.join();
}

// The pixels of the control as it prints itself.
std::vector<COLORREF> printed(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  base::WindowDc screen(nullptr);
  base::PaintBuffer buffer(screen.get(), width, height);
  HDC dc = buffer.dc();
  SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  return pixels;
}

TEST_F(XpStyleTest, CaptionsAreDrawnAsTheControlHoldsThemWhateverTheCodePage) {
  ASSERT_TRUE(setXpStyle(3));
  // A character that no ANSI code page of ours holds: drawn through the ANSI functions it
  // would come out as "?".
  // Wide windows, as the runtime makes them, keep such a text.
  HWND thai = CreateWindowExW(0, L"Button", L"\x0E01\x0E02", WS_CHILD | WS_VISIBLE, 10, 10, 120, 40,
                              parent.get(), nullptr, nullptr, nullptr);
  HWND question = CreateWindowExW(0, L"Button", L"??", WS_CHILD | WS_VISIBLE, 10, 10, 120, 40,
                                  parent.get(), nullptr, nullptr, nullptr);
  EXPECT_NE(printed(thai), printed(question));
}

TEST_F(XpStyleTest, ResultsTellWhatWasInstalledOrRemoved) {
  struct Step {
    int style;
    bool result;
  };
  const Step steps[] = {{0, false}, {4, false},  {3, true}, {1, true},  {2, true},
                        {-1, true}, {-1, false}, {3, true}, {99, true}, {0, false}};
  for (const Step& s : steps) EXPECT_EQ(setXpStyle(s.style), s.result) << "style " << s.style;
}

}  // namespace
}  // namespace forms
