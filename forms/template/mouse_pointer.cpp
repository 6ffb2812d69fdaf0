#include "forms/template/mouse_pointer.h"

#include <iterator>

namespace forms::tpl {
namespace {

// Cursor numbers 1 to 14 of the templates, as Windows cursor ids.
constexpr std::uint32_t kStockCursors[] = {
    32512,  // 1 arrow
    32515,  // 2 cross
    32513,  // 3 I-beam
    32514,  // 4 wait
    32651,  // 5 help
    32650,  // 6 app-starting
    32648,  // 7 no
    32646,  // 8 size-all
    32643,  // 9 size NE-SW
    32645,  // 10 size N-S
    32642,  // 11 size NW-SE
    32644,  // 12 size W-E
    32516,  // 13 up-arrow
    32649,  // 14 hand
};

}  // namespace

PointerChoice decodeMousePointer(const ByteSet& block, bool* fileAlsoTried) {
  if (fileAlsoTried) *fileAlsoTried = false;
  PointerChoice choice;
  if (block.empty()) return choice;
  std::uint32_t number = block[0];
  if (block.size() >= 4)
    number = block[0] | block[1] << 8 | block[2] << 16 | static_cast<std::uint32_t>(block[3]) << 24;
  if (number == 0xFFFFFFFFu) {
    choice.kind = PointerChoice::File;
    if (block.size() > 4) choice.file.assign(block.begin() + 4, block.end());
    return choice;
  }
  if (block.size() > 10 && fileAlsoTried) *fileAlsoTried = true;
  if (number >= 1 && number <= std::size(kStockCursors)) {
    choice.kind = PointerChoice::Stock;
    choice.cursorId = kStockCursors[number - 1];
    return choice;
  }
  for (std::uint32_t id : kStockCursors)
    if (id == number) {
      choice.kind = PointerChoice::Stock;
      choice.cursorId = id;
    }
  return choice;
}

}  // namespace forms::tpl
