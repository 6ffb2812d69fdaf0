#pragma once
// What a stored mouse pointer block asks for.
#include <cstdint>

#include "forms/values/text.h"

namespace forms::tpl {

struct PointerChoice {
  enum Kind { Default, Stock, File } kind = Default;
  std::uint32_t cursorId = 0;  // Stock: a Windows cursor id (IDC_* value)
  ByteSet file;                // File: cursor file bytes
  // Stock hand cursor: served from the program's own cursor, as systems may lack it.
  bool ownHand() const { return kind == Stock && cursorId == 32649; }
};

// fileAlsoTried: a block longer than 10 bytes whose first u32 is not -1 is first tried as
// a cursor file; the caller does that and falls back to the returned number's choice.
PointerChoice decodeMousePointer(const ByteSet& block, bool* fileAlsoTried = nullptr);

}  // namespace forms::tpl
