#include "forms/units/html_viewer/html_viewer_block.h"

#include <gtest/gtest.h>

#include "forms/template/byte_cursor.h"

namespace forms {
namespace {

ByteSet htmlViewerBlock(std::uint32_t version, const Text& address) {
  tpl::ByteWriter w;
  w.u32(version);
  w.u32(4);
  w.u32(1);
  w.u32(0);
  w.lenText(address);
  return w.bytes();
}

TEST(HtmlViewerBlock, ReadsItsFourFieldsUpToVersionOne) {
  const ByteSet full = htmlViewerBlock(1, "http://127.0.0.1:8460/xiazai2.asp");
  const auto block = decodeHtmlViewerBlock(full);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->fontSize, 4);
  EXPECT_TRUE(block->offline);
  EXPECT_FALSE(block->silent);
  EXPECT_EQ(block->address, "http://127.0.0.1:8460/xiazai2.asp");

  const auto defaults = decodeHtmlViewerBlock({});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->fontSize, 2);
  EXPECT_EQ(defaults->address, "");

  EXPECT_FALSE(decodeHtmlViewerBlock(htmlViewerBlock(2, "")));
  for (std::size_t n = 1; n < full.size(); ++n) {
    EXPECT_FALSE(decodeHtmlViewerBlock(ByteSet(full.begin(), full.begin() + n))) << n << " bytes";
  }
}

}  // namespace
}  // namespace forms
