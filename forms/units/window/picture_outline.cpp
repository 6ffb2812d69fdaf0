// A window's shape from a picture.
#include "forms/units/window/picture_outline.h"

#include "forms/painting/paint.h"
#include "forms/picture/picture.h"
#include "forms/runtime/unit.h"
#include "forms/values/read_file.h"

namespace forms {

bool setWindowOutline(WindowId window, const Value& picture, std::int32_t transparentColour) {
  bool result = false;
  runOnWindowThread([&] {
    const HWND w = loadedWindowHandle(window);
    if (!w) return;
    ByteSet bytes;
    if (const ByteSet* b = std::get_if<ByteSet>(&picture))
      bytes = *b;
    else if (const Text* t = std::get_if<Text>(&picture))
      bytes = t->empty() ? ByteSet() : readWholeFile(*t).value_or(ByteSet());
    if (bytes.empty()) return;
    std::optional<Picture> p = decodePicture(bytes);
    if (!p) return;
    base::Region rgn(regionOfPicture(*p, 0, static_cast<COLORREF>(transparentColour) & 0xFFFFFFu));
    if (!rgn) return;
    result = SetWindowRgn(w, rgn.get(), TRUE) != 0;
    if (result) rgn.detach();  // the system owns the region now
  });
  return result;
}

}  // namespace forms
