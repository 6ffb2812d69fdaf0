#pragma once
// A window's shape from a picture, as the programs call it.
#include <cstdint>

#include "forms/runtime/runtime.h"

namespace forms {

// The window's shape from the picture's pixels that are not transparentColour. picture
// is a ByteSet with a picture file, or a Text naming one.
bool setWindowOutline(WindowId window, const Value& picture,
                      std::int32_t transparentColour = 0xFFFFFF);

}  // namespace forms
