#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "base/gdi.h"
#include "forms/units/controls/page_control.h"
#include "forms/units/controls/picture_list.h"
#include "forms/units/controls/status_bar.h"
#include "forms/units/controls/super_bar.h"
#include "test_support/pump_until.h"

namespace forms {
namespace {

using test_support::pumpUntil;

// A stored list of `count` square pictures of the given size, each a colour of its own.
ByteSet pictureList(int count, int size) {
  ImageList list(ImageList_Create(size, size, ILC_COLOR24, count, 0));
  base::WindowDc screen(nullptr);
  for (int i = 0; i < count; ++i) {
    base::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    {
      base::MemoryDc dc(screen.get());
      dc.select(bitmap.get());
      base::Brush brush(CreateSolidBrush(RGB(60 * i, 200 - 40 * i, 90)));
      RECT all = {0, 0, size, size};
      FillRect(dc.get(), &all, brush.get());
    }
    ImageList_Add(list.get(), bitmap.get(), nullptr);
  }
  return writePictureList(list.get());
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExA(0, "STATIC", "window", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             800, 500, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(window); }
  HWND window = nullptr;
};

TEST_F(ControlsTest, PictureListsRoundTripAndForeignBlocksGiveNone) {
  const ByteSet stored = pictureList(4, 60);
  ImageList list = readPictureList(stored);
  ASSERT_TRUE(list.get());
  EXPECT_EQ(ImageList_GetImageCount(list.get()), 4);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.get(), &cx, &cy);
  EXPECT_EQ(cx, 60);
  ByteSet foreign = stored;
  foreign[0] = 'X';
  ByteSet cut(stored.begin(), stored.begin() + 20);
  for (const ByteSet& bad :
       {ByteSet{}, foreign, cut, ByteSet(stored.begin(), stored.begin() + 8)}) {
    EXPECT_EQ(readPictureList(bad).get(), nullptr) << bad.size() << " bytes";
  }
}

TEST(PageControlPages, ComeFromTheChildListsZeroWords) {
  using Pages = std::vector<std::vector<UnitId>>;
  EXPECT_EQ(PageControl::pagesOf({1, 0, 2, 3, 0}), (Pages{{1}, {2, 3}}));
  EXPECT_EQ(PageControl::pagesOf({0, 2, 0}), (Pages{{}, {2}}));
  EXPECT_EQ(PageControl::pagesOf({1, 0, 2}), (Pages{{1}, {2}}));
  EXPECT_EQ(PageControl::pagesOf({}), Pages{});
}

class PageControlTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    PageBlock block;
    block.pages = {PageRecord{"", {0, 1, 1}}, PageRecord{"", {2, 3, 3}}};
    block.pictures[0] = pictureList(4, 60);
    block.pictures[1] = pictureList(1, 70);
    PageControl::Units units;
    units.window = [this](UnitId id) { return made.count(id) ? made[id] : nullptr; };
    units.visible = [this](UnitId id) { return visible[id]; };
    units.tabOrder = [this](UnitId id) { return order[id]; };
    const RECT where = {8, 40, 792, 456};
    pages = std::make_unique<PageControl>(window, where, block,
                                          PageControl::pagesOf({11, 0, 21, 22, 23, 0}), units);
    ShowWindow(pages->window(), SW_SHOW);
    // The units as the loader makes them: children of the page control's window.
    for (UnitId id : {11u, 21u, 22u, 23u}) {
      made[id] = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_TABSTOP, 10, 80, 100, 20,
                                 pages->window(), nullptr, nullptr, nullptr);
      visible[id] = id != 23;  // 23 is hidden by its own property
    }
    order = {{11, 4}, {21, 7}, {22, 3}, {23, 1}};
    pages->applyPage();
  }
  int shownImage(int tab) {
    TCITEMA item = {};
    item.mask = TCIF_IMAGE;
    SendMessageA(pages->tabs(), TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  std::unique_ptr<PageControl> pages;
  std::map<UnitId, HWND> made;
  std::map<UnitId, bool> visible;
  std::map<UnitId, std::uint32_t> order;
};

TEST_F(PageControlTest, StartsOnPageOneWithTheTabPictures) {
  EXPECT_EQ(SendMessageA(pages->tabs(), TCM_GETITEMCOUNT, 0, 0), 2);
  HIMAGELIST list =
      reinterpret_cast<HIMAGELIST>(SendMessageA(pages->tabs(), TCM_GETIMAGELIST, 0, 0));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(list), 4);
  EXPECT_EQ(shownImage(0), 1) << "the current tab shows its selected picture";
  EXPECT_EQ(shownImage(1), 2);
  EXPECT_TRUE(IsWindowVisible(made[11]));
  for (UnitId id : {21u, 22u, 23u}) EXPECT_FALSE(IsWindowVisible(made[id])) << id;
  EXPECT_TRUE(pages->mayShow(11));
  EXPECT_FALSE(pages->mayShow(21));
  EXPECT_TRUE(pages->mayShow(99)) << "a unit on no page";
}

TEST_F(PageControlTest, ChoosingATabShowsItsUnitsAndFocusesTheFirstInTabOrder) {
  // A click on the second tab, as the user makes it.
  RECT tab;
  SendMessageA(pages->tabs(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageA(pages->tabs(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(pages->tabs(), WM_LBUTTONUP, 0, at);
  ASSERT_EQ(pages->currentPage(), 1);
  EXPECT_FALSE(IsWindowVisible(made[11]));
  EXPECT_TRUE(IsWindowVisible(made[21]));
  EXPECT_TRUE(IsWindowVisible(made[22]));
  EXPECT_FALSE(IsWindowVisible(made[23])) << "its own visible property is false";
  EXPECT_EQ(GetFocus(), made[22]) << "smallest tab order among the shown units";
  EXPECT_EQ(shownImage(0), 0);
  EXPECT_EQ(shownImage(1), 3);
  EXPECT_TRUE(pages->mayShow(21));
  EXPECT_FALSE(pages->mayShow(11));

  pages->showPage(0);
  EXPECT_TRUE(IsWindowVisible(made[11]));
  EXPECT_FALSE(IsWindowVisible(made[22]));
  EXPECT_EQ(GetFocus(), made[11]);
  pages->showPage(5);
  EXPECT_EQ(pages->currentPage(), 0) << "no such page";
}

TEST_F(ControlsTest, SuperBarClampsItsPositionAndReportsChanges) {
  SuperBarBlock block = *decodeSuperBarBlock({});
  int changes = 0;
  const RECT where = {184, 21, 308, 40};
  SuperBar bar(window, where, block, [&] { ++changes; });
  ShowWindow(bar.window(), SW_SHOW);
  EXPECT_EQ(bar.number(super_bar::kPosition), 30);
  struct Case {
    std::int32_t written;
    std::int32_t stored;
    int changes;
  };
  const Case cases[] = {{50, 50, 1},   {50, 50, 1}, {150, 100, 2},
                        {100, 100, 2}, {-7, 0, 3},  {99, 99, 4}};
  for (const Case& c : cases) {
    ASSERT_TRUE(pumpUntil([&] { return !bar.moving(); }));
    EXPECT_TRUE(bar.setNumber(super_bar::kPosition, c.written));
    EXPECT_EQ(bar.number(super_bar::kPosition), c.stored) << c.written;
    EXPECT_EQ(changes, c.changes) << c.written;
    ASSERT_TRUE(pumpUntil([&] { return !bar.moving(); }));
    EXPECT_EQ(SendMessageA(bar.window(), PBM_GETPOS, 0, 0), c.stored) << c.written;
  }
}

TEST_F(ControlsTest, SuperBarIgnoresWritesWhileItsIndicatorMoves) {
  SuperBarBlock block = *decodeSuperBarBlock({});
  int changes = 0;
  const RECT where = {184, 21, 308, 40};
  SuperBar bar(window, where, block, [&] { ++changes; });
  ASSERT_TRUE(bar.setNumber(super_bar::kPosition, 80));
  ASSERT_TRUE(bar.moving());
  EXPECT_FALSE(bar.setNumber(super_bar::kPosition, 10));
  EXPECT_EQ(bar.number(super_bar::kPosition), 80);
  EXPECT_EQ(changes, 1);
  ASSERT_TRUE(pumpUntil([&] { return !bar.moving(); }));
  EXPECT_EQ(SendMessageA(bar.window(), PBM_GETPOS, 0, 0), 80);
  // The range follows properties 15 and 16.
  bar.setNumber(super_bar::kMaximum, 200);
  EXPECT_TRUE(bar.setNumber(super_bar::kPosition, 150));
  EXPECT_EQ(bar.number(super_bar::kPosition), 150);
}

TEST_F(ControlsTest, StatusBarStaysWhereTheTemplatePutsIt) {
  const RECT where = {0, 268, 544, 288};
  StatusBar bar(window, where);
  ASSERT_TRUE(bar.window());
  RECT r;
  GetWindowRect(bar.window(), &r);
  EXPECT_EQ(r.top, 268);
  EXPECT_EQ(r.bottom - r.top, 20);
  EXPECT_EQ(r.right - r.left, 544);
}

}  // namespace
}  // namespace forms
