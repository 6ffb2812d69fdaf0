#include "forms/runtime/test_support/printed_unit.h"

#include <algorithm>

#include "base/gdi.h"

namespace forms::testing {

std::vector<COLORREF> printedPixels(HWND unit) {
  RECT r;
  GetClientRect(unit, &r);
  const int w = std::max<LONG>(r.right, 1), h = std::max<LONG>(r.bottom, 1);
  base::WindowDc screen(nullptr);
  base::PaintBuffer buffer(screen.get(), w, h);
  HDC dc = buffer.dc();
  SendMessageW(unit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  std::vector<COLORREF> pixels;
  pixels.reserve(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(dc, x, y));
  return pixels;
}

COLORREF printedPixel(HWND unit, int x, int y) {
  RECT r;
  GetClientRect(unit, &r);
  const int w = std::max<LONG>(r.right, 1);
  return printedPixels(unit)[static_cast<std::size_t>(y) * w + x];
}

}  // namespace forms::testing
