// Mouse pointers of units: stock cursors by number, cursor files, and the program's own
// hand cursor, which works where the system has none.
#include <cstring>

#include "forms/picture/icon_directory.h"
#include "forms/template/mouse_pointer.h"
#include "forms/runtime/core.h"

namespace forms {

namespace {

// 32 x 32 hand pointing up, hot spot at the finger tip (x 5, y 0): '#' black, '.' white.
const char* const kHand[] = {
    "     ##         ", "    #..#        ", "    #..#        ", "    #..#        ",
    "    #..###      ", "    #..#..###   ", "    #..#..#..## ", " ## #..#..#..#.#",
    "#..##........#.#", "#...#.........#.", " #..#.........#.", "  #...........#.",
    "  #...........#.", "   #.........#. ", "   #.........#  ", "    #.......#   ",
    "    #.......#   ", "    #########   ",
};

HCURSOR ownHandCursor() {
  static HCURSOR hand = [] {
    std::uint8_t andMask[32 * 4], xorMask[32 * 4];
    std::memset(andMask, 0xFF, sizeof andMask);
    std::memset(xorMask, 0, sizeof xorMask);
    for (int y = 0; y < static_cast<int>(sizeof kHand / sizeof *kHand); ++y)
      for (int x = 0; x < 16 && kHand[y][x]; ++x) {
        const char c = kHand[y][x];
        if (c == ' ') continue;
        andMask[y * 4 + x / 8] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
        if (c == '.') xorMask[y * 4 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    return CreateCursor(GetModuleHandleW(nullptr), 5, 0, 32, 32, andMask, xorMask);
  }();
  return hand;
}

// A .cur file: the first image, with its hot spot.
HCURSOR cursorFromFile(const ByteSet& file) {
  const std::optional<IconDirectory> dir = readIconDirectory(ByteView(file.data(), file.size()));
  if (!dir || dir->reserved != 0 || dir->type != 2) return nullptr;
  // A cursor resource is the hot spot followed by the image.
  const IconDirectoryEntry& first = dir->entries.front();
  const std::size_t size = first.image.size();
  std::vector<std::uint8_t> res(4 + size);
  res[0] = static_cast<std::uint8_t>(first.hotX);
  res[1] = static_cast<std::uint8_t>(first.hotX >> 8);
  res[2] = static_cast<std::uint8_t>(first.hotY);
  res[3] = static_cast<std::uint8_t>(first.hotY >> 8);
  if (size) std::memcpy(res.data() + 4, first.image.data(), size);
  return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      res.data(), static_cast<DWORD>(res.size()), FALSE, 0x00030000, 0, 0, 0));
}

}  // namespace

HCURSOR cursorOf(const ByteSet& pointer, base::OwnCursor& own) {
  own.close();
  bool tryFile = false;
  tpl::PointerChoice choice = tpl::decodeMousePointer(pointer, &tryFile);
  if (tryFile) {
    own.attach(cursorFromFile(pointer));
    if (own.get()) return own.get();
  }
  switch (choice.kind) {
    case tpl::PointerChoice::File: own.attach(cursorFromFile(choice.file)); return own.get();
    case tpl::PointerChoice::Stock:
      if (choice.ownHand()) return ownHandCursor();
      return LoadCursorW(nullptr, MAKEINTRESOURCEW(choice.cursorId));
    default: return nullptr;
  }
}

bool setUnitCursor(HWND under, UINT hitTest) {
  if (hitTest != HTCLIENT) return false;
  std::optional<UnitRef> unit = unitOfWindow(under);
  if (!unit) return false;
  LiveUnit* u = liveUnit(*unit);
  if (!u || !u->cursor) return false;
  SetCursor(u->cursor);
  return true;
}

}  // namespace forms
