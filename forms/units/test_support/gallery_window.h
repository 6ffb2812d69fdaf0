#pragma once
// A window with a unit of every type, for the render check and the screenshot.
#include <vector>

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

// Units of the gallery that the tests work on.
constexpr tpl::Id kGalleryPictureButton = 0x16000060;
constexpr tpl::Id kGalleryToggleDown = 0x16000061;
constexpr tpl::Id kGalleryToggleUp = 0x16000062;
constexpr tpl::Id kGalleryGroupFirst = 0x16000063;
constexpr tpl::Id kGalleryGroupSecond = 0x16000064;
constexpr tpl::Id kGalleryOverLabel = 0x16000065;
constexpr tpl::Id kGalleryUnderLabel = 0x16000066;

// Small windows beside the gallery, one per window outline past the ring.
struct GalleryShapePoint {
  int x, y;
};
struct GalleryShape {
  int shape;
  std::vector<GalleryShapePoint> inside, outside;  // window coordinates
};
std::vector<GalleryShape> galleryShapes();
constexpr tpl::Id galleryShapeWindowId(int index) {
  return 0x52000040u + 2u * static_cast<tpl::Id>(index);
}
constexpr tpl::Id galleryShapeOwn(int index) {
  return 0x06000041u + 2u * static_cast<tpl::Id>(index);
}
tpl::WindowRecord galleryShapeWindow(int index);

}  // namespace forms::testing
