#pragma once
// The colours of the three schemes. The frame colours are fixed; the rest is our design.
#include <windows.h>

namespace forms::xp {

struct Palette {
  COLORREF frame;       // the outer frame of every control
  COLORREF faceTop;     // button face, top of the gradient
  COLORREF faceBottom;  // button face, bottom of the gradient
  COLORREF pressedTop;
  COLORREF pressedBottom;
  COLORREF hot;          // inner ring of a button under the pointer
  COLORREF focus;        // inner ring of the default or focused button
  COLORREF mark;         // check marks, radio dots
  COLORREF barTop;       // progress indicator, light edge
  COLORREF barMiddle;    // progress indicator, body
  COLORREF selectedTab;  // stripe across the top of the selected tab
};

// Indexed by scheme 1..3.
const Palette& palette(int scheme);

}  // namespace forms::xp
