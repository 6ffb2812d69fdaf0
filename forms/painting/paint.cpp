#include "forms/painting/paint.h"

#include <algorithm>
#include <cstring>

#include "forms/values/gbk_wide.h"

namespace forms {

bool colourSet(std::int32_t colour) {
  return (static_cast<std::uint32_t>(colour) & 0xFF000000u) == 0;
}

COLORREF colourOr(std::int32_t colour, COLORREF fallback) {
  return colourSet(colour) ? static_cast<COLORREF>(colour) : fallback;
}

void fillRect(HDC dc, const RECT& r, COLORREF colour) {
  base::Brush b(CreateSolidBrush(colour));
  FillRect(dc, &r, b.get());
}

std::vector<COLORREF> setColours(std::initializer_list<std::int32_t> colours) {
  std::vector<COLORREF> out;
  for (std::int32_t c : colours)
    if (colourSet(c)) out.push_back(static_cast<COLORREF>(c));
  return out;
}

namespace {

COLORREF mix(COLORREF a, COLORREF b, double t) {
  auto ch = [&](int shift) {
    double x = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
    return static_cast<COLORREF>(x + 0.5) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

COLORREF along(const std::vector<COLORREF>& c, double t) {
  t = std::clamp(t, 0.0, 1.0);
  if (c.size() == 2) return mix(c[0], c[1], t);
  return t <= 0.5 ? mix(c[0], c[1], t * 2) : mix(c[1], c[2], (t - 0.5) * 2);
}

// A top-down 32-bit DIB filled pixel by pixel, then copied to the DC.
template <typename F>
void paintPixels(HDC dc, const RECT& r, F colourAt) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      COLORREF c = colourAt(x, y, w, h);
      px[static_cast<std::size_t>(y) * w + x] =
          GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
  SetDIBitsToDevice(dc, r.left, r.top, w, h, 0, 0, 0, h, px.data(), &bi, DIB_RGB_COLORS);
}

}  // namespace

void paintGradient(HDC dc, const RECT& r, int mode, const std::vector<COLORREF>& colours) {
  if (colours.size() < 2 || mode < 1 || mode > 8) return;
  paintPixels(dc, r, [&](int x, int y, int w, int h) {
    const double fw = std::max(1, w - 1), fh = std::max(1, h - 1);
    const double span = std::max(1, 2 * std::min(w, h));
    double t = 0;
    switch (mode) {
      case 1: t = y / fh; break;
      case 2: t = x / fw; break;
      case 3: t = (x + y) / span; break;
      case 4: t = ((w - 1 - x) + y) / span; break;
      case 5: t = (h - 1 - y) / fh; break;
      case 6: t = (w - 1 - x) / fw; break;
      case 7: t = ((w - 1 - x) + (h - 1 - y)) / span; break;
      case 8: t = (x + (h - 1 - y)) / span; break;
    }
    return along(colours, t);
  });
}

void paintGradientBorder(HDC dc, const RECT& r, int width, const std::vector<COLORREF>& colours) {
  if (colours.size() < 2 || width <= 0) return;
  base::Region clip(CreateRectRgn(0, 0, 0, 0));
  const bool hadClip = GetClipRgn(dc, clip.get()) == 1;
  RECT inner{r.left + width, r.top + width, r.right - width, r.bottom - width};
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  paintPixels(dc, r, [&](int x, int y, int w, int h) {
    int d = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
    return along(colours, width > 1 ? static_cast<double>(d) / (width - 1) : 0.0);
  });
  SelectClipRgn(dc, hadClip ? clip.get() : nullptr);
}

void addBorderStyles(int code, DWORD& style, DWORD& exStyle) {
  switch (code) {
    case 1: exStyle |= WS_EX_CLIENTEDGE; break;
    case 2: exStyle |= WS_EX_DLGMODALFRAME; break;
    case 3: exStyle |= WS_EX_STATICEDGE; break;
    case 4: exStyle |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: style |= WS_BORDER; break;
    default: break;
  }
}

PaintedPicture::PaintedPicture(const ByteSet& file) {
  if (file.empty()) return;
  picture_ = decodePicture(file);
  if (!picture_) return;
  for (const PictureFrame& f : picture_->frames) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = picture_->width;
    bi.bmiHeader.biHeight = -picture_->height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    base::Bitmap b(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!b || !bits) {
      picture_.reset();
      frames_.clear();
      return;
    }
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < f.pixels.size(); ++i) {
      // AlphaBlend wants premultiplied pixels.
      std::uint32_t p = f.pixels[i], a = p >> 24;
      auto pm = [&](int shift) { return (((p >> shift) & 0xFF) * a / 255) << shift; };
      out[i] = a << 24 | pm(16) | pm(8) | pm(0);
    }
    frames_.push_back(std::move(b));
  }
}

void PaintedPicture::drawAt(HDC dc, int x, int y, int w, int h, int frame) const {
  if (!valid() || frames_.empty() || w <= 0 || h <= 0) return;
  frame = std::clamp(frame, 0, frameCount() - 1);
  base::MemoryDc mem(dc);
  mem.select(frames_[frame].get());
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, w, h, mem.get(), 0, 0, width(), height(), blend);
}

void PaintedPicture::draw(HDC dc, const RECT& area, int mode, int frame) const {
  if (!valid()) return;
  const int aw = area.right - area.left, ah = area.bottom - area.top;
  const int pw = width(), ph = height();
  switch (mode) {
    case 1:
      for (int y = area.top; y < area.bottom; y += ph)
        for (int x = area.left; x < area.right; x += pw) drawAt(dc, x, y, pw, ph, frame);
      break;
    case 2: {
      int w = pw, h = ph;
      if (w > aw || h > ah) {
        double k = std::min(static_cast<double>(aw) / pw, static_cast<double>(ah) / ph);
        w = std::max(1, static_cast<int>(pw * k));
        h = std::max(1, static_cast<int>(ph * k));
      }
      drawAt(dc, area.left + (aw - w) / 2, area.top + (ah - h) / 2, w, h, frame);
      break;
    }
    case 3: drawAt(dc, area.left, area.top, aw, ah, frame); break;
    default: drawAt(dc, area.left, area.top, pw, ph, frame); break;
  }
}

HRGN regionOfPicture(const Picture& picture, int frame, COLORREF transparent) {
  if (picture.frames.empty()) return nullptr;
  const PictureFrame& f =
      picture.frames[std::clamp<std::size_t>(frame, 0, picture.frames.size() - 1)];
  std::vector<RECT> runs;
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* row = f.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    for (int x = 0; x < picture.width;) {
      while (x < picture.width && colourRefOf(row[x]) == transparent) ++x;
      int start = x;
      while (x < picture.width && colourRefOf(row[x]) != transparent) ++x;
      if (x > start) runs.push_back(RECT{start, y, x, y + 1});
    }
  }
  std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(runs.size());
  rd->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  rd->rdh.rcBound = RECT{0, 0, picture.width, picture.height};
  if (!runs.empty()) std::memcpy(rd->Buffer, runs.data(), runs.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
}

UnitFont::UnitFont(const ByteSet& logfont) { reset(logfont); }

void UnitFont::reset(const ByteSet& logfont) {
  made_.close();
  if (logfont.size() == sizeof(LOGFONTA)) {
    LOGFONTA lf;
    std::memcpy(&lf, logfont.data(), sizeof lf);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';  // a stored name may fill the array
    made_.attach(CreateFontIndirectA(&lf));
  }
}

HFONT UnitFont::get() const {
  return made_ ? made_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void drawUnitText(HDC dc, const RECT& r, const Text& text, HFONT font, COLORREF colour,
                  const TextLayout& layout) {
  if (text.empty()) return;
  const std::wstring w = widen(text);
  base::Selected f(dc, font);
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_NOPREFIX;
  format |= layout.hAlign == 1 ? DT_CENTER : layout.hAlign == 2 ? DT_RIGHT : DT_LEFT;
  RECT box = r;
  if (layout.wordWrap) {
    format |= DT_WORDBREAK;
    RECT calc = r;
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &calc, format | DT_CALCRECT);
    const int th = calc.bottom - calc.top, bh = r.bottom - r.top;
    if (layout.vAlign == 1 && th < bh) box.top += (bh - th) / 2;
    if (layout.vAlign == 2 && th < bh) box.top += bh - th;
  } else {
    format |= DT_SINGLELINE | (layout.vAlign == 0   ? DT_TOP
                               : layout.vAlign == 2 ? DT_BOTTOM
                                                    : DT_VCENTER);
  }
  auto drawOffset = [&](int dx, int dy, COLORREF c) {
    RECT o = box;
    OffsetRect(&o, dx, dy);
    SetTextColor(dc, c);
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &o, format);
  };
  if (layout.effect == 1) drawOffset(1, 1, RGB(255, 255, 255));
  if (layout.effect == 2) drawOffset(-1, -1, RGB(255, 255, 255));
  if (layout.effect == 3) drawOffset(2, 2, RGB(0, 0, 0));
  drawOffset(0, 0, colour);
}

}  // namespace forms
