#include "forms/template/mouse_pointer.h"

#include <gtest/gtest.h>

namespace forms::tpl {
namespace {

ByteSet word(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

TEST(MousePointer, Choices) {
  struct Case {
    const char* what;
    ByteSet block;
    PointerChoice::Kind kind;
    std::uint32_t cursor;
  } cases[] = {
      {"empty", {}, PointerChoice::Default, 0},
      {"zero", word(0), PointerChoice::Default, 0},
      {"arrow", word(1), PointerChoice::Stock, 32512},
      {"I-beam", word(3), PointerChoice::Stock, 32513},
      {"hand by number", word(14), PointerChoice::Stock, 32649},
      {"hand by id", word(32649), PointerChoice::Stock, 32649},
      {"size W-E by id", word(32644), PointerChoice::Stock, 32644},
      {"one byte", {2}, PointerChoice::Stock, 32515},
      {"three bytes", {3, 0, 0}, PointerChoice::Stock, 32513},
      {"out of the table", word(15), PointerChoice::Default, 0},
      {"unknown id", word(32000), PointerChoice::Default, 0},
      {"file", {0xFF, 0xFF, 0xFF, 0xFF, 'c', 'u', 'r'}, PointerChoice::File, 0},
  };
  for (const Case& c : cases) {
    PointerChoice got = decodeMousePointer(c.block);
    EXPECT_EQ(got.kind, c.kind) << c.what;
    EXPECT_EQ(got.cursorId, c.cursor) << c.what;
  }
  EXPECT_EQ(decodeMousePointer({0xFF, 0xFF, 0xFF, 0xFF, 'c', 'u', 'r'}).file,
            (ByteSet{'c', 'u', 'r'}));
  EXPECT_TRUE(decodeMousePointer(word(32649)).ownHand());
  bool tried = true;
  decodeMousePointer(word(3), &tried);
  EXPECT_FALSE(tried);
  ByteSet longBlock = word(3);
  longBlock.resize(11, 0);
  decodeMousePointer(longBlock, &tried);
  EXPECT_TRUE(tried);
}

}  // namespace
}  // namespace forms::tpl
