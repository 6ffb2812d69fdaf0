#include "forms/template/property_block.h"

#include <gtest/gtest.h>

#include <map>

#include "forms/template/byte_cursor.h"
#include "forms/template/type_tables.h"

namespace forms::tpl {
namespace {

std::int32_t number(const PropertyBlock& block, int property) {
  auto v = blockProperty(block, property);
  EXPECT_TRUE(v.has_value()) << property;
  return v ? std::get<std::int32_t>(*v) : 0;
}

Text text(const PropertyBlock& block, int property) {
  return std::get<Text>(*blockProperty(block, property));
}

struct DefaultCase {
  UnitKind type;
  int property;
  std::int32_t expected;
};

TEST(PropertyBlock, EmptyBlockGivesEveryDefault) {
  const DefaultCase cases[] = {
      {UnitKind::Timer, 8, 0},                                            // stopped
      {UnitKind::ShapeBox, 8, static_cast<std::int32_t>(kColourNotSet)},  // button face
      {UnitKind::ShapeBox, 9, 0},
      {UnitKind::ShapeBox, 11, 1},
      {UnitKind::ShapeBox, 12, 1},
      {UnitKind::ShapeBox, 13, 0},
      {UnitKind::ShapeBox, 14, static_cast<std::int32_t>(kColourNotSet)},
      {UnitKind::EditBox, 9, 1},
      {UnitKind::EditBox, 10, 0},
      {UnitKind::EditBox, 11, 0xFFFFFF},
      {UnitKind::EditBox, 15, 0},
      {UnitKind::EditBox, 19, '*'},
      {UnitKind::EditBox, 23, 100},
      {UnitKind::Window, 9, 2},
      {UnitKind::Window, 18, 1},
      {UnitKind::Window, 22, 1},
      {UnitKind::Window, 26, 1},
      {UnitKind::Window, 27, 0},
      {UnitKind::Label, 11, 8},
      {UnitKind::Label, 26, 1},
      {UnitKind::HtmlViewer, 8, 2},
      {UnitKind::SuperBar, 16, 100},
      {UnitKind::SuperBar, 17, 30},
      {UnitKind::SuperBar, 41, 0},
      {UnitKind::Button, 11, 1},
  };
  for (const DefaultCase& c : cases) {
    auto block = decodeBlock(c.type, {});
    ASSERT_TRUE(block);
    EXPECT_EQ(block->version, 0u);
    EXPECT_EQ(number(*block, c.property), c.expected)
        << typeLayout(c.type).name << " p" << c.property;
  }
  EXPECT_EQ(text(*decodeBlock(UnitKind::Label, {}), 8), "标签");
  EXPECT_EQ(text(*decodeBlock(UnitKind::Button, {}), 10), "按钮");
  EXPECT_EQ(text(*decodeBlock(UnitKind::TransLabel, {}), 8), "透明标签");
  EXPECT_EQ(text(*decodeBlock(UnitKind::EditBox, {}), 8), "");
  EXPECT_FALSE(blockProperty(*decodeBlock(UnitKind::Timer, {}), 9));
}

TEST(PropertyBlock, EveryTypeReadsBackWhatItWrites) {
  for (int t = 0; t <= static_cast<int>(UnitKind::Zip); ++t) {
    UnitKind type = static_cast<UnitKind>(t);
    PropertyBlock block = defaultBlock(type);
    for (std::size_t i = 0; i < block.fields.size(); ++i) {
      block.fields[i].number = 1000 + static_cast<std::uint32_t>(i);
      if (typeLayout(type).fields[i].kind == FieldKind::U16) block.fields[i].number = 77;
      block.fields[i].text = "t" + std::to_string(i);
      block.fields[i].bytes =
          ByteSet(typeLayout(type).fields[i].kind == FieldKind::RawFont ? 60 : 3, 0x5A);
    }
    ByteSet bytes = encodeBlock(block);
    auto back = decodeBlock(type, bytes);
    ASSERT_TRUE(back) << typeLayout(type).name;
    EXPECT_EQ(encodeBlock(*back), bytes) << typeLayout(type).name;
  }
}

// A window block of the given version with every field present at that version, each
// number field holding 7.
ByteSet windowBlock(std::uint32_t version) {
  PropertyBlock block = defaultBlock(UnitKind::Window);
  block.version = version;
  for (FieldValue& f : block.fields) f.number = 7;
  return encodeBlock(block);
}

TEST(PropertyBlock, WindowVersionGates) {
  struct Case {
    std::uint32_t version;
    std::int32_t showInTaskbar, moveAnywhere, shape, alwaysOnTop;
  } cases[] = {
      {1, 1, 0, 0, 0},  // defaults for everything past version 1
      {2, 7, 0, 0, 0}, {3, 7, 7, 7, 0}, {4, 7, 7, 7, 7}, {6, 7, 7, 7, 7},
  };
  for (const Case& c : cases) {
    auto block = decodeBlock(UnitKind::Window, windowBlock(c.version));
    ASSERT_TRUE(block) << c.version;
    EXPECT_EQ(number(*block, 26), c.showInTaskbar) << c.version;
    EXPECT_EQ(number(*block, 27), c.moveAnywhere) << c.version;
    EXPECT_EQ(number(*block, 28), c.shape) << c.version;
    EXPECT_EQ(number(*block, 29), c.alwaysOnTop) << c.version;
  }
  EXPECT_FALSE(decodeBlock(UnitKind::Window, windowBlock(7)));
  EXPECT_FALSE(decodeBlock(UnitKind::Timer, ByteSet{2, 0, 0, 0, 5, 0, 0, 0}));
}

TEST(PropertyBlock, PageControlAndSuperBarLoadAboveTheirStoredVersion) {
  for (UnitKind type : {UnitKind::PageControl, UnitKind::SuperBar}) {
    PropertyBlock block = defaultBlock(type);
    block.version = 9;
    for (FieldValue& f : block.fields) f.number = 5;
    ByteSet bytes = encodeBlock(block);
    bytes.insert(bytes.end(), {1, 2, 3});  // bytes after the last field are ignored
    auto back = decodeBlock(type, bytes);
    ASSERT_TRUE(back) << typeLayout(type).name;
    EXPECT_EQ(back->version, 9u);
    // The last field of the highest version was read.
    EXPECT_EQ(back->fields.back().number, 5u) << typeLayout(type).name;
  }
}

TEST(PropertyBlock, FieldsRunningPastTheEndMakeItInvalid) {
  ByteSet bytes = encodeBlock(defaultBlock(UnitKind::Label));
  for (std::size_t cut :
       {std::size_t{1}, std::size_t{3}, std::size_t{4}, std::size_t{20}, bytes.size() - 1}) {
    ByteSet shorter(bytes.begin(), bytes.begin() + cut);
    EXPECT_FALSE(decodeBlock(UnitKind::Label, shorter)) << cut;
  }
  EXPECT_TRUE(decodeBlock(UnitKind::Label, bytes));
}

// The HtmlViewer block ends with its address, a lenText.
ByteSet htmlViewerBlock(const ByteSet& addressField) {
  ByteWriter w;
  w.u32(1);
  w.u32(3);
  w.u32(1);
  w.u32(1);
  w.raw(addressField);
  return std::move(w.bytes());
}

TEST(PropertyBlock, LenTextEdges) {
  struct Case {
    const char* what;
    ByteSet field;
    Text expected;
    bool valid;
  } cases[] = {
      {"length 0", {0, 0, 0, 0}, "", true},
      {"negative length", {0xFF, 0xFF, 0xFF, 0xFF}, "", true},
      {"inner zero byte", {5, 0, 0, 0, 'a', 'b', 0, 'c', 'd'}, "ab", true},
      {"length past the end", {6, 0, 0, 0, 'a', 'b'}, "", false},
      {"huge length", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, "", false},
  };
  for (const Case& c : cases) {
    ByteSet bytes = htmlViewerBlock(c.field);
    auto block = decodeBlock(UnitKind::HtmlViewer, bytes);
    ASSERT_EQ(block.has_value(), c.valid) << c.what;
    if (c.valid) {
      EXPECT_EQ(text(*block, 11), c.expected) << c.what;
    }
  }
  // A negative length consumes only its 4 bytes: the next field follows at once.
  PropertyBlock tl = defaultBlock(UnitKind::TransLabel);
  blockField(tl, "caption")->text = "after";
  ByteSet b = encodeBlock(tl);
  // Replace the font block's length with -1: the caption must still read.
  std::size_t fontAt = 4 + 5 * 4;
  b[fontAt] = b[fontAt + 1] = b[fontAt + 2] = b[fontAt + 3] = 0xFF;
  auto back = decodeBlock(UnitKind::TransLabel, b);
  ASSERT_TRUE(back);
  EXPECT_EQ(text(*back, 8), "after");
}

TEST(PropertyBlock, OnlyA60ByteFontBlockIsAFont) {
  for (std::size_t length : {0, 1, 59, 60, 61, 120}) {
    PropertyBlock block = defaultBlock(UnitKind::Label);
    blockField(block, "font")->bytes = ByteSet(length, 0x41);
    auto back = decodeBlock(UnitKind::Label, encodeBlock(block));
    ASSERT_TRUE(back) << length;
    EXPECT_EQ(std::get<ByteSet>(*blockProperty(*back, 15)).size(), length == 60 ? 60u : 0u)
        << length;
  }
}

TEST(PropertyBlock, SuperBarWordsReadBackMinusOne) {
  PropertyBlock block = defaultBlock(UnitKind::SuperBar);
  blockField(block, "w27")->number = 5;
  blockField(block, "w29")->number = 0;
  auto back = decodeBlock(UnitKind::SuperBar, encodeBlock(block));
  ASSERT_TRUE(back);
  EXPECT_EQ(number(*back, 41), 4);
  EXPECT_EQ(number(*back, 61), -1);
}

TEST(PropertyBlock, CurrentPropertiesAreWrittenOverTheStoredOnes) {
  PropertyBlock stored = defaultBlock(UnitKind::Label);
  stored.version = 1;
  blockField(stored, "caption")->text = "旧";
  blockField(stored, "textColour")->number = 0x0000FF;
  blockField(stored, "font")->bytes = ByteSet(60, 0x41);
  const std::map<int, Value> current = {{8, Value(Text("新"))},
                                        {17, Value(std::int32_t{0x00FF00})},
                                        {15, Value(ByteSet{})},
                                        {24, Value(true)}};
  auto bytes = blockWithCurrentProperties(
      UnitKind::Label, encodeBlock(stored), [&](int n) -> std::optional<Value> {
        auto it = current.find(n);
        return it == current.end() ? std::nullopt : std::optional<Value>(it->second);
      });
  ASSERT_TRUE(bytes);
  auto back = decodeBlock(UnitKind::Label, *bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->version, 2u);  // raised to the version the type writes
  EXPECT_EQ(text(*back, 8), "新");
  EXPECT_EQ(number(*back, 17), 0x00FF00);
  EXPECT_EQ(number(*back, 16), 0x0000FF);  // not answered: as stored
  EXPECT_EQ(number(*back, 24), 1);
  EXPECT_TRUE(std::get<ByteSet>(*blockProperty(*back, 15)).empty());

  // A number read with a bias goes back without it; a field newer than the stored
  // version is kept.
  const auto answer = [](int n) -> std::optional<Value> {
    if (n == 41) return Value(std::int32_t{4});
    if (n == 27) return Value(std::int32_t{1});
    return std::nullopt;
  };
  auto bar =
      decodeBlock(UnitKind::SuperBar, *blockWithCurrentProperties(UnitKind::SuperBar, {}, answer));
  EXPECT_EQ(number(*bar, 41), 4);
  EXPECT_EQ(blockField(*bar, "w27")->number, 5u);
  auto window = decodeBlock(UnitKind::Window,
                            *blockWithCurrentProperties(UnitKind::Window, windowBlock(2), answer));
  EXPECT_EQ(number(*window, 27), 1);
  EXPECT_EQ(number(*window, 26), 7);

  EXPECT_FALSE(blockWithCurrentProperties(UnitKind::Window, windowBlock(7), answer));
}

TEST(PageTable, ReadsBackAndRefusesCountsItCannotHold) {
  std::vector<PageRecord> pages(2);
  pages[0].caption = "一";
  pages[1].words[0] = 2;
  pages[1].words[22] = -1;
  ByteSet bytes = encodePageTable(pages);
  auto back = decodePageTable(bytes);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), 2u);
  EXPECT_EQ((*back)[0].caption, "一");
  EXPECT_EQ((*back)[1].words[0], 2);
  EXPECT_EQ((*back)[1].words[22], -1);
  bytes[4] = 0xFF;  // page count 255
  EXPECT_FALSE(decodePageTable(bytes));
  bytes.resize(bytes.size() - 1);
  bytes[4] = 2;
  EXPECT_FALSE(decodePageTable(bytes));
  bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0xFF;  // 4294967295 pages
  EXPECT_FALSE(decodePageTable(bytes));

  // Two pages with empty captions fill 192 bytes exactly; one byte less cannot hold them.
  ByteSet exact = encodePageTable(std::vector<PageRecord>(2));
  ASSERT_EQ(exact.size(), 8u + 192u);
  EXPECT_TRUE(decodePageTable(exact));
  exact.pop_back();
  EXPECT_FALSE(decodePageTable(exact));
}

}  // namespace
}  // namespace forms::tpl
