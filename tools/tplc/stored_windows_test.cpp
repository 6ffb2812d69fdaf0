// The compiled windows of both programs, read back with the reader the runtime uses.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/template/bindings.h"
#include "forms/template/property_block.h"
#include "forms/template/segment.h"
#include "forms/template/stored_property.h"

namespace forms::tpl {
namespace {

ByteSet readFile(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return ByteSet(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

const Segment& talvery() {
  static const Segment s = *readSegmentRecords(readFile(TV_NAVIGATOR_SEGMENT));
  return s;
}

const Segment& update() {
  static const Segment s = *readSegmentRecords(readFile(TV_UPDATER_SEGMENT));
  return s;
}

const UnitRecord& named(const WindowRecord& w, const char* name) {
  for (const UnitRecord& u : w.units)
    if (u.name == name) return u;
  ADD_FAILURE() << "no unit " << name;
  static UnitRecord none;
  return none;
}

Value prop(const UnitRecord& u, int index) {
  auto v = storedProperty(u, index);
  EXPECT_TRUE(v) << u.name << " p" << index;
  return v ? *v : Value();
}
std::int32_t num(const UnitRecord& u, int index) { return std::get<std::int32_t>(prop(u, index)); }
Text text(const UnitRecord& u, int index) { return std::get<Text>(prop(u, index)); }
ByteSet bytes(const UnitRecord& u, int index) { return std::get<ByteSet>(prop(u, index)); }

std::uint32_t u32At(const ByteSet& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t u16At(const ByteSet& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

// Width and height of a picture file by its own header; {0, 0} when not of the kind.
std::pair<int, int> jpegSize(const ByteSet& b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return {0, 0};
  for (std::size_t at = 2; at + 9 < b.size();) {
    if (b[at] != 0xFF) return {0, 0};
    std::uint8_t marker = b[at + 1];
    std::size_t len = b[at + 2] << 8 | b[at + 3];
    if (marker >= 0xC0 && marker <= 0xC2)
      return {b[at + 7] << 8 | b[at + 8], b[at + 5] << 8 | b[at + 6]};
    at += 2 + len;
  }
  return {0, 0};
}
std::pair<int, int> gifSize(const ByteSet& b) {
  if (b.size() < 10 || std::memcmp(b.data(), "GIF89a", 6) != 0) return {0, 0};
  return {static_cast<int>(u16At(b, 6)), static_cast<int>(u16At(b, 8))};
}
// 24-bit BMP only.
std::pair<int, int> bmpSize(const ByteSet& b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || u16At(b, 28) != 24) return {0, 0};
  return {static_cast<int>(u32At(b, 18)), static_cast<int>(u32At(b, 22))};
}
// Sizes of an ICO's entries, each a 32-bit BMP image.
std::vector<int> icoSizes(const ByteSet& b) {
  std::vector<int> sizes;
  if (b.size() < 6 || u16At(b, 0) != 0 || u16At(b, 2) != 1) return sizes;
  for (std::uint32_t i = 0; i < u16At(b, 4); ++i) {
    std::size_t e = 6 + 16 * i;
    std::uint32_t offset = u32At(b, e + 12);
    if (u16At(b, e + 6) != 32 || offset + 40 > b.size() || u32At(b, offset) != 40) return {};
    sizes.push_back(static_cast<int>(u32At(b, offset + 4)));
  }
  return sizes;
}
// An image-list block: "MITL", 0xFF000000, then an "IL" 0x0101 stream; {count, cx, cy}.
std::vector<int> imageList(const ByteSet& b) {
  if (b.size() < 8 + 28 || std::memcmp(b.data(), "MITL", 4) != 0 || u32At(b, 4) != 0xFF000000u)
    return {};
  if (b[8] != 'I' || b[9] != 'L' || u16At(b, 10) != 0x0101) return {};
  return {static_cast<int>(u16At(b, 12)), static_cast<int>(u16At(b, 18)),
          static_cast<int>(u16At(b, 20))};
}

TEST(StoredWindows, BothSegmentsParseExactlyToTheirLastByte) {
  struct Case {
    const char* path;
    std::vector<std::pair<Id, std::size_t>> windows;
    std::uint32_t highestSerial;
  } cases[] = {
      {TV_NAVIGATOR_SEGMENT, {{0x52010001, 45}, {0x52010793, 7}}, 0x10EF3},
      {TV_UPDATER_SEGMENT, {{0x52010001, 19}}, 0x101CB},
  };
  for (const Case& c : cases) {
    ByteSet stored = readFile(c.path);
    auto segment = readSegmentRecords(stored);
    ASSERT_TRUE(segment) << c.path;
    ASSERT_EQ(segment->windows.size(), c.windows.size()) << c.path;
    for (std::size_t i = 0; i < c.windows.size(); ++i) {
      EXPECT_EQ(segment->windows[i].id, c.windows[i].first);
      EXPECT_EQ(segment->windows[i].units.size(), c.windows[i].second);
      EXPECT_EQ(idTopByte(segment->windows[i].ownUnit().id), kOwnUnitIdByte);
    }
    EXPECT_EQ(segment->highestSerial(), c.highestSerial) << c.path;
    // Every byte belongs to the structure: writing what was read gives the same bytes.
    EXPECT_EQ(writeSegment(*segment), stored) << c.path;
    // Every stored block decodes.
    for (const WindowRecord& w : segment->windows)
      for (const UnitRecord& u : w.units) {
        ASSERT_TRUE(u.type) << u.name;
        EXPECT_TRUE(decodeBlock(*u.type, u.propertyBlock)) << u.name;
      }
  }
}

TEST(StoredWindows, MainWindowUnitListOrder) {
  const Id ids[] = {
      0x06010000, 0x16010EF3, 0x16010EF2, 0x16010EF1, 0x16010EF0, 0x16010ED1, 0x16010EEF,
      0x16010EEE, 0x16010EED, 0x16010EE8, 0x16010EE3, 0x16010EE2, 0x16010EE1, 0x16010EE0,
      0x16010EDB, 0x16010ED8, 0x16010ED2, 0x16010ED3, 0x16010ED4, 0x16010ED5, 0x16010ED6,
      0x16010ED7, 0x16010ED0, 0x16010ECF, 0x16010ECE, 0x16010ECB, 0x16010EC9, 0x16010EC8,
      0x16010EBD, 0x16010EBC, 0x16010EBB, 0x16010EBA, 0x16010EB2, 0x16010EB1, 0x16010EB0,
      0x16010EAF, 0x16010EAD, 0x16010EAC, 0x16010EA5, 0x16010C9A, 0x160107B2, 0x16010379,
      0x16010360, 0x1601035F, 0x16010DDD,
  };
  const WindowRecord& w = talvery().windows[0];
  ASSERT_EQ(w.units.size(), std::size(ids));
  for (std::size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(w.units[i].id, ids[i]) << i;
}

TEST(StoredWindows, MainWindowProperties) {
  const WindowRecord& w = talvery().windows[0];
  const UnitRecord& own = w.ownUnit();
  EXPECT_EQ(own.width, 800);
  EXPECT_EQ(own.height, 500);
  EXPECT_EQ(text(own, 8), "图片导航工具");
  struct Case {
    int property;
    std::int32_t main, popup;
  } cases[] = {
      {9, 0, 0},  // border
      {10, 0xECECEC, static_cast<std::int32_t>(kColourNotSet)},
      {12, 1, 1},  // tiled
      {16, 1, 0},
      {17, 1, 0},
      {15, 1, 1},
      {18, 1, 1},  // centred
      {19, 1, 1},  // movable
      {22, 1, 0},  // Esc closes
      {26, 1, 0},  // taskbar button
      {27, 1, 1},  // drag anywhere
      {28, 0, 0},
      {29, 0, 0},
      {30, 0, 0},
  };
  const UnitRecord& popup = talvery().windows[1].ownUnit();
  for (const Case& c : cases) {
    EXPECT_EQ(num(own, c.property), c.main) << "MainWindow p" << c.property;
    EXPECT_EQ(num(popup, c.property), c.popup) << "PopupWindow p" << c.property;
  }
  EXPECT_EQ(jpegSize(bytes(own, 11)), std::make_pair(800, 500));
  EXPECT_EQ(icoSizes(bytes(own, 20)), (std::vector<int>{48, 32, 16}));
  EXPECT_EQ(jpegSize(bytes(popup, 11)), std::make_pair(243, 164));
  EXPECT_TRUE(bytes(popup, 20).empty());
}

TEST(StoredWindows, MainWindowUnits) {
  const WindowRecord& w = talvery().windows[0];
  struct Case {
    const char* name;
    UnitKind type;
    std::int32_t left, top, width, height;
    const char* parent;  // null: the window
    std::uint32_t flags;
    bool hand;
    std::int32_t event;
    const char* handler;  // null: no binding
  } cases[] = {
      {"透明标签1", UnitKind::TransLabel, 16, 8, 304, 32, nullptr, 1, false, 0, nullptr},
      {"透明标签4", UnitKind::TransLabel, 1, 0, 384, 56, "图片框3", 1, true, -1,
       "onRightBannerPressed"},
      {"透明标签3", UnitKind::TransLabel, 2, 0, 376, 56, "图片框2", 1, true, -1,
       "onLeftBannerPressed"},
      {"图片框3", UnitKind::PicBox, 396, 352, 380, 60, "高级选择夹1", 1, false, 0, nullptr},
      {"图片框2", UnitKind::PicBox, 4, 352, 380, 60, "高级选择夹1", 1, false, 0, nullptr},
      {"透明标签2", UnitKind::TransLabel, -4, -2, 200, 64, "图片框1", 1, true, -1,
       "onHomeBannerPressed"},
      {"图片框1", UnitKind::PicBox, 575, 41, 200, 60, nullptr, 1, false, 0, nullptr},
      {"图形按钮关闭", UnitKind::PicBtn, 756, 1, 42, 17, nullptr, 1, false, 0, "onCloseClicked"},
      {"图形按钮最小化", UnitKind::PicBtn, 727, 1, 29, 17, nullptr, 1, false, 0,
       "onMinimizeClicked"},
      {"标签1", UnitKind::Label, 594, 2, 136, 18, nullptr, 1, false, 0, "onBossKey"},
      {"超文本浏览框1", UnitKind::HtmlViewer, -5, -5, 811, 357, "外形框1", 5, false, 9,
       "onBrowserNewWindow"},
      {"外形框1", UnitKind::ShapeBox, 0, 72, 784, 348, "高级选择夹1", 1, false, 0, nullptr},
      {"按钮1", UnitKind::Button, 688, 471, 101, 24, nullptr, 5, false, 0, "onMemberLoginClicked"},
      {"超级链接框107", UnitKind::HyperLinker, 424, 476, 248, 16, nullptr, 1, true, 0, nullptr},
      {"高级选择夹1", UnitKind::PageControl, 8, 40, 784, 416, nullptr, 1, false, 0, nullptr},
      {"时钟1", UnitKind::Timer, 740, 420, 32, 32, nullptr, 0, false, 0, "pollPopupSwitch"},
      {"透明标签5", UnitKind::TransLabel, 147, 478, 245, 16, nullptr, 1, false, 0, nullptr},
      {"超级链接框1", UnitKind::HyperLinker, 93, 477, 47, 18, nullptr, 1, false, -1,
       "checkForUpdate"},
      {"标签2", UnitKind::Label, 7, 477, 89, 18, nullptr, 1, false, 0, nullptr},
      {"编辑框4", UnitKind::EditBox, 320, 312, 104, 24, nullptr, 5, false, 0, nullptr},
      {"超级链接框20", UnitKind::HyperLinker, 15, 184, 104, 20, "高级选择夹1", 1, false, 0,
       nullptr},
      {"超级链接框24", UnitKind::HyperLinker, 149, 147, 80, 20, "高级选择夹1", 1, true, 0, nullptr},
  };
  for (const Case& c : cases) {
    const UnitRecord& u = named(w, c.name);
    EXPECT_EQ(u.type, c.type) << c.name;
    EXPECT_EQ(u.left, c.left) << c.name;
    EXPECT_EQ(u.top, c.top) << c.name;
    EXPECT_EQ(u.width, c.width) << c.name;
    EXPECT_EQ(u.height, c.height) << c.name;
    EXPECT_EQ(u.parentId, c.parent ? named(w, c.parent).id : 0) << c.name;
    EXPECT_EQ(u.flags, c.flags) << c.name;
    EXPECT_EQ(u.mousePointer, c.hand ? (ByteSet{0x89, 0x7F, 0, 0}) : ByteSet()) << c.name;
    if (c.handler) {
      ASSERT_EQ(u.bindings.size(), 1u) << c.name;
      EXPECT_EQ(u.bindings[0].eventIndex, c.event) << c.name;
      EXPECT_EQ(u.bindings[0].handlerRef, handlerRefOf(c.handler)) << c.name;
    } else {
      EXPECT_TRUE(u.bindings.empty()) << c.name;
    }
  }
  EXPECT_EQ(resolveBinding(talvery(), 0x52010001, 0, 0).handlerRef,
            handlerRefOf("onMainWindowCreated"));
  // Blocks stored empty, so that the types' defaults apply.
  for (const char* name : {"时钟1", "外形框1", "编辑框4"})
    EXPECT_TRUE(named(w, name).propertyBlock.empty()) << name;
}

TEST(StoredWindows, MainWindowKeyProperties) {
  const WindowRecord& w = talvery().windows[0];
  const UnitRecord& slogan = named(w, "透明标签1");
  EXPECT_EQ(text(slogan, 8), "方便快捷的寻找图片 图片网站收集工具");
  ByteSet font = bytes(slogan, 10);
  ASSERT_EQ(font.size(), 60u);
  EXPECT_EQ(static_cast<std::int32_t>(u32At(font, 0)), -16);
  EXPECT_EQ(u32At(font, 16), 700u);
  EXPECT_EQ(font[23], 134);  // GB2312
  EXPECT_STREQ(reinterpret_cast<const char*>(font.data() + 28), "宋体");
  EXPECT_EQ(num(slogan, 11), 0x808000);

  EXPECT_EQ(text(named(w, "标签1"), 8), "一键隐藏(老板键) F3键");
  EXPECT_EQ(num(named(w, "标签1"), 17), 0xB7E4C6);
  EXPECT_EQ(text(named(w, "标签2"), 8), "当前版本:2.02");
  EXPECT_EQ(text(named(w, "按钮1"), 10), "会员登陆(网站)");
  const UnitRecord& check = named(w, "超级链接框1");
  EXPECT_EQ(text(check, 8), "检查更新");
  EXPECT_EQ(text(check, 11), "");
  EXPECT_EQ(num(check, 12), 0xFF8800);
  EXPECT_EQ(text(named(w, "超级链接框107"), 8), "");
  EXPECT_EQ(text(named(w, "透明标签5"), 8), "");

  const UnitRecord& browser = named(w, "超文本浏览框1");
  EXPECT_EQ(num(browser, 8), 2);
  Text address = text(browser, 11);
  EXPECT_EQ(address.find("${"), Text::npos);
  EXPECT_EQ(address.substr(address.size() - 12), "/xiazai2.asp");
  Text mess = text(named(w, "超级链接框20"), 11);
  EXPECT_EQ(mess.substr(mess.size() - 12), "/ly/mess.asp");
  EXPECT_EQ(num(named(w, "超级链接框20"), 12), 0x0000FF);

  EXPECT_EQ(jpegSize(bytes(named(w, "图片框1"), 10)), std::make_pair(200, 60));
  for (const char* banner : {"图片框2", "图片框3"}) {
    EXPECT_EQ(gifSize(bytes(named(w, banner), 10)), std::make_pair(380, 60)) << banner;
    EXPECT_EQ(num(named(w, banner), 12), 1) << banner;
  }
  EXPECT_EQ(bmpSize(bytes(named(w, "图形按钮关闭"), 10)), std::make_pair(42, 17));
  EXPECT_EQ(bmpSize(bytes(named(w, "图形按钮关闭"), 11)), std::make_pair(42, 17));
  EXPECT_EQ(bmpSize(bytes(named(w, "图形按钮最小化"), 10)), std::make_pair(29, 17));
  EXPECT_EQ(bmpSize(bytes(named(w, "图形按钮最小化"), 11)), std::make_pair(29, 17));
}

TEST(StoredWindows, DirectoryLinks) {
  const WindowRecord& w = talvery().windows[0];
  int outside = 0;
  for (const UnitRecord& u : w.units) {
    if (u.type != UnitKind::HyperLinker || u.parentId != named(w, "高级选择夹1").id) continue;
    EXPECT_EQ(num(u, 9), 1) << u.name;
    EXPECT_EQ(num(u, 13), 0x000080) << u.name;
    EXPECT_EQ(num(u, 14), 0x6A240A) << u.name;
    EXPECT_EQ(num(u, 15), 0xFFFFFF) << u.name;
    Text url = text(u, 11);
    EXPECT_EQ(url.find("${"), Text::npos) << u.name;
    if (u.name == "超级链接框20") continue;
    ++outside;
    EXPECT_EQ(num(u, 12), 0xFF0000) << u.name;
    // The root page of an outside site, asked with the maker's site domain.
    EXPECT_NE(url.find("/?"), Text::npos) << u.name;
  }
  EXPECT_EQ(outside, 23);
}

TEST(StoredWindows, PageControlPagesAndPictures) {
  const WindowRecord& w = talvery().windows[0];
  const UnitRecord& tabs = named(w, "高级选择夹1");
  // Page 1: the browser's frame; page 2: the links and banners in list order; each ends with 0.
  std::vector<Id> expected = {named(w, "外形框1").id, 0};
  for (const UnitRecord& u : w.units)
    if (u.parentId == tabs.id && u.name != "外形框1") expected.push_back(u.id);
  expected.push_back(0);
  EXPECT_EQ(tabs.childIds, expected);
  EXPECT_EQ(expected.size(), 2u + 26u + 1u);

  auto block = decodeBlock(UnitKind::PageControl, tabs.propertyBlock);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->version, 7u);
  auto pages = decodePageTable(blockField(*block, "pages")->bytes);
  ASSERT_TRUE(pages);
  ASSERT_EQ(pages->size(), 2u);
  EXPECT_EQ((*pages)[0].caption, "");
  EXPECT_EQ((std::vector<int>{(*pages)[0].words[0], (*pages)[0].words[1], (*pages)[0].words[2]}),
            (std::vector<int>{0, 1, 1}));
  EXPECT_EQ((std::vector<int>{(*pages)[1].words[0], (*pages)[1].words[1], (*pages)[1].words[2]}),
            (std::vector<int>{2, 3, 3}));
  EXPECT_EQ(imageList(blockField(*block, "imageList1")->bytes), (std::vector<int>{4, 60, 60}));
  EXPECT_EQ(imageList(blockField(*block, "imageList2")->bytes), (std::vector<int>{1, 70, 70}));
  const ByteSet& font = blockField(*block, "font")->bytes;
  EXPECT_EQ(static_cast<std::int32_t>(u32At(font, 0)), -12);
  EXPECT_EQ(u32At(font, 16), 400u);
}

TEST(StoredWindows, PopupWindowUnits) {
  const WindowRecord& w = talvery().windows[1];
  const Id ids[] = {0x06010794, 0x16010795, 0x16010796, 0x16010797,
                    0x16010798, 0x1601079B, 0x1601079C};
  ASSERT_EQ(w.units.size(), std::size(ids));
  for (std::size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(w.units[i].id, ids[i]) << i;
  struct Case {
    Id unit;
    std::int32_t event;
    const char* handler;
  } cases[] = {
      {0, 0, "onPopupCreated"},
      {0x16010797, -1, "onPopupAdPressed"},
      {0x16010798, -1, "onPopupClosePressed"},
      {0x1601079B, 0, "slidePopupDown"},
      {0x1601079C, 0, "slidePopupUp"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(resolveBinding(talvery(), 0x52010793, c.unit, c.event).handlerRef,
              handlerRefOf(c.handler))
        << c.handler;
  const UnitRecord& frame = named(w, "外形框1");
  EXPECT_EQ(num(frame, 8), 0xFFFFFF);
  EXPECT_EQ(num(frame, 13), 0xECECEC);
  EXPECT_EQ(num(named(w, "时钟1"), 8), 0);
  Text address = text(named(w, "超文本浏览框1"), 11);
  EXPECT_EQ(address.substr(address.size() - 12), "/gx/gg2.html");
  EXPECT_EQ(named(w, "超文本浏览框1").parentId, frame.id);
}

TEST(StoredWindows, UpdaterWindow) {
  const WindowRecord& w = update().windows[0];
  const Id ids[] = {0x06010000, 0x1601018A, 0x16010186, 0x160100C2, 0x160100BF,
                    0x160100B9, 0x1601001B, 0x1601001A, 0x16010019, 0x16010011,
                    0x1601000C, 0x1601000D, 0x1601000E, 0x1601000F, 0x16010010,
                    0x16010006, 0x16010005, 0x16010003, 0x16010002};
  ASSERT_EQ(w.units.size(), std::size(ids));
  for (std::size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(w.units[i].id, ids[i]) << i;

  const UnitRecord& own = w.ownUnit();
  EXPECT_EQ(text(own, 8), "Quorvel升级管理器");
  EXPECT_EQ((std::vector<int>{own.left, own.top, own.width, own.height}),
            (std::vector<int>{50, 50, 550, 132}));
  EXPECT_EQ(num(own, 9), 1);
  EXPECT_EQ(num(own, 16), 0);
  EXPECT_EQ(num(own, 17), 1);
  EXPECT_EQ(num(own, 27), 0);
  EXPECT_EQ(icoSizes(bytes(own, 20)), (std::vector<int>{16, 24, 32, 48, 64, 72, 96, 128}));
  EXPECT_EQ(resolveBinding(update(), 0x52010001, 0, 0).handlerRef,
            handlerRefOf("onUpdaterWindowCreated"));
  EXPECT_EQ(resolveBinding(update(), 0x52010001, 0, 1).handlerRef,
            handlerRefOf("onUpdaterWindowCloseQuery"));

  struct Case {
    const char* name;
    std::uint32_t flags;
    std::int32_t event;
    const char* handler;
  } cases[] = {
      {"ZIP压缩1", 0, 0, "onUnzipEvent"}, {"标签10", 0, 0, "onInstallRequested"},
      {"标签9", 0, 0, nullptr},           {"状态条1", 1, 0, nullptr},
      {"外形框1", 0, 0, nullptr},         {"多功能条1", 4, 0, nullptr},
      {"标签1", 1, 0, nullptr},           {"编辑框1", 5, 0, nullptr},
      {"多功能条2", 5, 0, nullptr},       {"图片框2", 1, -1, "onListPanelMouseDown"},
      {"图片框1", 1, 0, nullptr},
  };
  for (const Case& c : cases) {
    const UnitRecord& u = named(w, c.name);
    EXPECT_EQ(u.flags, c.flags) << c.name;
    EXPECT_TRUE(u.mousePointer.empty()) << c.name;
    if (c.handler) {
      ASSERT_EQ(u.bindings.size(), 1u) << c.name;
      EXPECT_EQ(u.bindings[0].eventIndex, c.event) << c.name;
      EXPECT_EQ(u.bindings[0].handlerRef, handlerRefOf(c.handler)) << c.name;
    } else {
      EXPECT_TRUE(u.bindings.empty()) << c.name;
    }
  }
  std::vector<Id> panelChildren;
  for (const char* name : {"ZIP压缩1", "标签10", "标签9", "外形框1", "标签8", "标签7", "标签6",
                           "多功能条1", "标签5", "标签4", "标签3", "标签2", "标签1"})
    panelChildren.push_back(named(w, name).id);
  EXPECT_EQ(named(w, "图片框2").childIds, panelChildren);
  EXPECT_EQ(named(w, "图片框1").childIds, (std::vector<Id>{named(w, "图片框2").id}));
  for (const char* name : {"ZIP压缩1", "标签10", "状态条1"})
    EXPECT_TRUE(named(w, name).propertyBlock.empty()) << name;

  const UnitRecord& header = named(w, "标签3");
  EXPECT_EQ(text(header, 8), "下载进度");
  EXPECT_EQ(num(header, 10), 5);
  EXPECT_EQ(num(header, 20), 1);
  EXPECT_EQ(num(header, 21), 0xF1AEA5);
  const UnitRecord& row = named(w, "标签6");
  EXPECT_EQ(text(row, 8), "");
  EXPECT_EQ(num(row, 17), 0xECECEC);
  EXPECT_EQ(num(row, 20), 0);
  const UnitRecord& line = named(w, "外形框1");
  EXPECT_EQ(num(line, 9), 6);
  EXPECT_EQ(num(line, 13), 0xF1AEA5);
  const UnitRecord& log = named(w, "编辑框1");
  EXPECT_EQ(num(log, 9), 3);
  EXPECT_EQ(num(log, 15), 1);
  EXPECT_EQ(num(log, 16), 2);
  const UnitRecord& bar = named(w, "多功能条1");
  EXPECT_EQ(num(bar, 15), 0);
  EXPECT_EQ(num(bar, 16), 100);
  for (int p : {40, 50, 35, 60}) EXPECT_EQ(imageList(bytes(bar, p)).size(), 3u) << p;
  for (int p : {40, 50, 35, 60}) EXPECT_TRUE(bytes(named(w, "多功能条2"), p).empty()) << p;
  EXPECT_EQ(num(named(w, "图片框1"), 8), 3);
  EXPECT_EQ(num(named(w, "图片框2"), 8), 5);
}

}  // namespace
}  // namespace forms::tpl
