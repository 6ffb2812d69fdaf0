#pragma once
// A window with every unit type of forms/win, for the render check and the screenshot.
#include "forms/template/model.h"

namespace forms::testing {

constexpr tpl::Id kGalleryWindow = 0x52000020;
constexpr tpl::Id kGalleryOwn = 0x06000021;

// Known pixels in the window's client area.
struct GalleryPixel {
  int x, y;
  unsigned colour;  // 0x00BBGGRR
  const char* what;
};
extern const GalleryPixel kGalleryPixels[];
extern const int kGalleryPixelCount;

tpl::WindowRecord galleryWindow();

}  // namespace forms::testing
