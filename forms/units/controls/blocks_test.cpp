#include <gtest/gtest.h>

#include "forms/units/controls/page_block.h"
#include "forms/units/controls/superbar_block.h"

namespace forms {
namespace {

class Writer {
 public:
  Writer& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Writer& repeat(int n, std::uint32_t v) {
    for (int i = 0; i < n; ++i) u32(v);
    return *this;
  }
  Writer& block(const ByteSet& b) {
    u32(static_cast<std::uint32_t>(b.size()));
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
  }
  Writer& text(const std::string& t) { return block(ByteSet(t.begin(), t.end())); }
  Writer& font() {
    bytes.insert(bytes.end(), 60, 0x11);
    return *this;
  }
  ByteSet bytes;
};

ByteSet pageBlock(std::uint32_t version, int extraWords) {
  Writer table;
  table.u32(3).u32(2);
  table.text("").u32(0).u32(1).u32(1).repeat(20, 0);
  table.text(std::string("P2\0junk", 7)).u32(2).u32(3).u32(3).repeat(20, 0);
  Writer w;
  w.u32(version).repeat(4, 0).font().block(table.bytes).repeat(4, 0);
  w.block({'M', 'I', 'T', 'L'}).block({1, 2}).block({}).block({9});
  w.repeat(17 + extraWords, 0);
  return w.bytes;
}

TEST(PageBlock, ReadsPagesPicturesAndFont) {
  const auto block = decodePageBlock(pageBlock(7, 9));
  ASSERT_TRUE(block);
  ASSERT_EQ(block->pages.size(), 2u);
  EXPECT_EQ(block->pages[0].caption, "");
  EXPECT_EQ(block->pages[1].caption, "P2");
  EXPECT_EQ(block->pages[0].images[0], 0);
  EXPECT_EQ(block->pages[0].images[2], 1);
  EXPECT_EQ(block->pages[1].images[0], 2);
  EXPECT_EQ(block->pages[1].images[2], 3);
  EXPECT_EQ(block->pictures[0], (ByteSet{'M', 'I', 'T', 'L'}));
  EXPECT_EQ(block->pictures[1], (ByteSet{1, 2}));
  EXPECT_EQ(block->font.size(), 60u);
}

TEST(PageBlock, VersionDecidesTheTrailingWords) {
  struct Case {
    std::uint32_t version;
    int extraWords;  // words after the 17 that this version stores
  };
  for (const Case& c : {Case{1, 0}, Case{2, 5}, Case{3, 6}, Case{4, 6}, Case{5, 7}, Case{6, 8},
                        Case{7, 9}, Case{12, 9}}) {
    EXPECT_TRUE(decodePageBlock(pageBlock(c.version, c.extraWords))) << "version " << c.version;
    EXPECT_FALSE(decodePageBlock(pageBlock(c.version, c.extraWords - 1)))
        << "version " << c.version;
  }
}

TEST(PageBlock, EmptyMeansDefaultsAndEveryCutIsInvalid) {
  const auto empty = decodePageBlock({});
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->pages.empty());
  EXPECT_TRUE(empty->font.empty());
  const ByteSet full = pageBlock(7, 9);
  for (std::size_t n = 1; n < full.size(); ++n) {
    EXPECT_FALSE(decodePageBlock(ByteSet(full.begin(), full.begin() + n))) << n << " bytes";
  }
}

TEST(PageBlock, APageCountBeyondTheTableIsInvalid) {
  Writer table;
  table.u32(3).u32(0x7FFFFFFF);
  Writer w;
  w.u32(7).repeat(4, 0).font().block(table.bytes);
  EXPECT_FALSE(decodePageBlock(w.bytes));
}

ByteSet superBarBlock(std::uint32_t version) {
  Writer w;
  w.u32(version).block({1}).block({}).block({2, 2}).block({3});
  for (std::uint32_t i = 1; i <= 35; ++i) w.u32(1000 + i);
  w.font().u32(2300).u32(4500);
  return w.bytes;
}

TEST(SuperBarBlock, WordsCarryTheirProperties) {
  const auto block = decodeSuperBarBlock(superBarBlock(1));
  ASSERT_TRUE(block);
  const std::pair<int, std::int32_t> expected[] = {
      {13, 1001}, {14, 1002}, {15, 1003}, {16, 1004}, {17, 1005}, {34, 1006}, {59, 1007},
      {49, 1009}, {42, 1010}, {44, 1012}, {52, 1013}, {54, 1015}, {62, 1016}, {64, 1018},
      {8, 1024},  {9, 1025},  {10, 1026}, {41, 1026}, {51, 1027}, {61, 1028}, {22, 1030},
      {18, 1032}, {21, 1033}, {19, 1034}, {65, 1035}, {23, 2300}, {45, 4500},
  };
  for (const auto& [property, value] : expected)
    EXPECT_EQ(block->numbers.at(property), value) << "p" << property;
  EXPECT_EQ(block->pictures[2], (ByteSet{2, 2}));
  EXPECT_EQ(block->font.size(), 60u);
  EXPECT_TRUE(decodeSuperBarBlock(superBarBlock(5))) << "a later version reads the same fields";
}

TEST(SuperBarBlock, EmptyMeansDefaultsAndEveryCutIsInvalid) {
  const auto empty = decodeSuperBarBlock({});
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->numbers.at(super_bar::kMinimum), 0);
  EXPECT_EQ(empty->numbers.at(super_bar::kMaximum), 100);
  EXPECT_EQ(empty->numbers.at(super_bar::kPosition), 30);
  EXPECT_EQ(empty->numbers.at(13), 10);
  const ByteSet full = superBarBlock(1);
  for (std::size_t n = 1; n < full.size(); ++n) {
    EXPECT_FALSE(decodeSuperBarBlock(ByteSet(full.begin(), full.begin() + n))) << n << " bytes";
  }
}

}  // namespace
}  // namespace forms
