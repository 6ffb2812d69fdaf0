// Mouse pointers of units: stock cursors by number, cursor files, and the program's own
// hand cursor, which works where the system has none.
#include <cstring>

#include "forms/template/mouse_pointer.h"
#include "forms/win/core.h"
#include "forms/win/window_unit.h"

namespace forms {

namespace {

// 32 x 32 hand pointing up, hot spot at the finger tip (x 6, y 0): '#' black, '.' white.
const char* const kHand[] = {
    "     ##         ", "    #..#        ", "    #..#        ", "    #..#        ", "    #..###      ",
    "    #..#..###   ", "    #..#..#..## ", " ## #..#..#..#.#", "#..##........#.#", "#...#.........#.",
    " #..#.........#.", "  #...........#.", "  #...........#.", "   #.........#. ", "   #.........#  ",
    "    #.......#   ", "    #.......#   ", "    #########   ",
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
  if (file.size() < 22) return nullptr;
  auto u16 = [&](std::size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16); };
  if (u16(0) != 0 || u16(2) != 2 || u16(4) == 0) return nullptr;
  const std::uint32_t size = u32(6 + 8), offset = u32(6 + 12);
  if (offset > file.size() || size > file.size() - offset) return nullptr;
  std::vector<std::uint8_t> res(4 + size);
  res[0] = static_cast<std::uint8_t>(file[6 + 4]);
  res[1] = static_cast<std::uint8_t>(file[6 + 5]);
  res[2] = static_cast<std::uint8_t>(file[6 + 6]);
  res[3] = static_cast<std::uint8_t>(file[6 + 7]);
  std::memcpy(res.data() + 4, file.data() + offset, size);
  return reinterpret_cast<HCURSOR>(
      CreateIconFromResourceEx(res.data(), static_cast<DWORD>(res.size()), FALSE, 0x00030000, 0, 0, 0));
}

}  // namespace

HCURSOR cursorOf(const ByteSet& pointer, OwnCursor& own) {
  own.close();
  bool tryFile = false;
  tpl::PointerChoice choice = tpl::decodeMousePointer(pointer, &tryFile);
  if (tryFile) {
    own.attach(cursorFromFile(pointer));
    if (own.get()) return own.get();
  }
  switch (choice.kind) {
    case tpl::PointerChoice::File:
      own.attach(cursorFromFile(choice.file));
      return own.get();
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
