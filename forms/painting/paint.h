#pragma once
// Drawing shared by the unit types: colours with "not set", gradients, unit borders,
// pictures in their display modes, and text in a unit's rectangle.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "forms/values/text.h"
#include "forms/picture/picture.h"
#include "base/gdi.h"

namespace forms {

bool colourSet(std::int32_t colour);
COLORREF colourOr(std::int32_t colour, COLORREF fallback);
void fillRect(HDC dc, const RECT& r, COLORREF colour);

// mode 1 top, 2 left, 3 top-left, 4 top-right, 5 bottom, 6 right, 7 bottom-right,
// 8 bottom-left: where the first colour lies. colours: the set ones, in order (two or
// three); the diagonals span twice the smaller side.
void paintGradient(HDC dc, const RECT& r, int mode, const std::vector<COLORREF>& colours);
// A frame of `width` pixels running from the first colour at the outer edge to the last
// at the inner one.
void paintGradientBorder(HDC dc, const RECT& r, int width, const std::vector<COLORREF>& colours);
// The set colours of a list, in order.
std::vector<COLORREF> setColours(std::initializer_list<std::int32_t> colours);

// Unit border codes: 0 none, 1 client edge, 2 modal frame, 3 static edge, 4 client edge
// and modal frame, 5 single line. Adds the styles for the code.
void addBorderStyles(int code, DWORD& style, DWORD& exStyle);

// A decoded picture with one premultiplied bitmap per frame.
class PaintedPicture {
 public:
  PaintedPicture() = default;
  explicit PaintedPicture(const ByteSet& file);
  PaintedPicture(const PaintedPicture&) = delete;
  PaintedPicture& operator=(const PaintedPicture&) = delete;

  bool valid() const { return picture_.has_value(); }
  const Picture* picture() const { return picture_ ? &*picture_ : nullptr; }
  int width() const { return picture_ ? picture_->width : 0; }
  int height() const { return picture_ ? picture_->height : 0; }
  int frameCount() const { return static_cast<int>(frames_.size()); }

  // Picture modes: 0 natural size at the top-left, 1 tiled, 2 centred (shrunk to fit),
  // 3 stretched.
  void draw(HDC dc, const RECT& area, int mode, int frame = 0) const;
  void drawAt(HDC dc, int x, int y, int w, int h, int frame) const;

 private:
  std::optional<Picture> picture_;
  std::vector<base::Bitmap> frames_;
};

// The set of pixels of a frame whose colour is not `transparent` (COLORREF), as a region
// with the picture's top-left at (0, 0); null for no picture.
HRGN regionOfPicture(const Picture& picture, int frame, COLORREF transparent);

// The font of a stored LOGFONTA block, or the default GUI font (then not owned).
class UnitFont {
 public:
  explicit UnitFont(const ByteSet& logfont);
  UnitFont(const UnitFont&) = delete;
  UnitFont& operator=(const UnitFont&) = delete;
  HFONT get() const;
  void reset(const ByteSet& logfont);

 private:
  base::Font made_;
};

struct TextLayout {
  int hAlign = 0;  // 0 left, 1 centre, 2 right
  int vAlign = 1;  // 0 top, 1 centre, 2 bottom
  bool wordWrap = false;
  int effect = 0;  // 1, 2 white copy offset 1 pixel; 3 black copy offset 2 pixels
};

void drawUnitText(HDC dc, const RECT& r, const Text& text, HFONT font, COLORREF colour,
                  const TextLayout& layout);

}  // namespace forms
