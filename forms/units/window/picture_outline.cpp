// A window's shape from a picture.
#include "forms/units/window/picture_outline.h"

#include <cstdio>

#include "forms/painting/paint.h"
#include "forms/picture/picture.h"
#include "forms/runtime/unit.h"

namespace forms {

namespace {

ByteSet readFileBytes(const Text& name) {
  ByteSet out;
  if (FILE* f = std::fopen(name.c_str(), "rb")) {
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
  }
  return out;
}

}  // namespace

bool setWindowOutline(WindowId window, const Value& picture, std::int32_t transparentColour) {
  bool result = false;
  runOnWindowThread([&] {
    const HWND w = loadedWindowHandle(window);
    if (!w) return;
    ByteSet bytes;
    if (const ByteSet* b = std::get_if<ByteSet>(&picture)) bytes = *b;
    else if (const Text* t = std::get_if<Text>(&picture)) bytes = t->empty() ? ByteSet() : readFileBytes(*t);
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
