#include "forms/units/test_support/gallery_window.h"

#include "test_support/test_segment.h"

using namespace test_support;

namespace forms::testing {

namespace {
using T = UnitKind;
constexpr std::uint32_t kV = kFlagVisible;
}  // namespace

const GalleryPixel kGalleryPixels[] = {
    {15, 15, 0x0000FF, "picture box, red quarter"},
    {45, 15, 0xFF0000, "picture box, blue quarter"},
    {15, 45, 0x00FF00, "picture box, green quarter"},
    {94, 13, 0xB7E4C6, "label background"},
    {290, 40, 0x00AA00, "shape fill"},
    {5, 150, 0xECECEC, "window background"},
    {20, 165, 0x0000FF, "button picture, left of its caption"},
    {150, 160, 0x0080FF, "toggle picture button, pressed"},
    {200, 160, 0xC0C0C0, "toggle picture button, released"},
    {345, 191, 0x3399FF, "transparent label over a coloured label"},
    {245, 191, 0xECECEC, "transparent label beside that label, over the window"},
};
const int kGalleryPixelCount = sizeof kGalleryPixels / sizeof *kGalleryPixels;

tpl::WindowRecord galleryWindow() {
  tpl::UnitRecord own = unitRecord(T::Window, kGalleryOwn, 0, 0, 480, 260, kV);
  setNumber(own, "border", 0);
  setNumber(own, "startPosition", 0);
  setNumber(own, "bgColour", 0xECECEC);
  setText(own, "title", "部件一览");

  tpl::UnitRecord pic = unitRecord(T::PicBox, 0x16000022, 10, 10, 60, 60, kV);
  setBytes(pic, "picture", bmpFile(60, 60, [](int x, int y) -> std::uint32_t {
             if (y < 30) return x < 30 ? 0x0000FF : 0xFF0000;
             return x < 30 ? 0x00FF00 : 0x000000;
           }));

  tpl::UnitRecord label = unitRecord(T::Label, 0x16000023, 90, 10, 150, 40, kV);
  setText(label, "caption", "标签：背景色");
  setNumber(label, "bgColour", 0xB7E4C6);
  setNumber(label, "hAlign", 1);

  tpl::UnitRecord grad = unitRecord(T::Label, 0x16000024, 90, 60, 150, 40, kV);
  setText(grad, "caption", "渐变背景");
  setNumber(grad, "gradBgMode", 2);
  setNumber(grad, "gradBgColour1", 0xF1AEA5);
  setNumber(grad, "gradBgColour2", 0xFFFFFF);
  setNumber(grad, "gradBgColour3", 0xFF8800);
  setNumber(grad, "effect", 3);
  setNumber(grad, "border", 6);
  setNumber(grad, "gradBorderWidth", 4);

  tpl::UnitRecord shape = unitRecord(T::ShapeBox, 0x16000025, 260, 10, 60, 60, kV);
  setNumber(shape, "shape", 2);
  setNumber(shape, "fillColour", 0x00AA00);
  setNumber(shape, "lineWidth", 3);
  setNumber(shape, "lineColour", 0x800000);

  tpl::UnitRecord line = unitRecord(T::ShapeBox, 0x16000026, 330, 10, 120, 30, kV);
  setNumber(line, "shape", 4);
  setNumber(line, "look3d", 1);

  tpl::UnitRecord button = unitRecord(T::Button, 0x16000027, 10, 120, 110, 26, kV | kFlagTabStop);
  setText(button, "caption", "会员登陆(网站)");

  tpl::UnitRecord edit = unitRecord(T::EditBox, 0x16000028, 130, 120, 150, 24, kV | kFlagTabStop);
  setText(edit, "content", "编辑框");

  tpl::UnitRecord link = unitRecord(T::HyperLinker, 0x16000029, 290, 120, 80, 18, kV);
  setText(link, "caption", "检查更新");
  setNumber(link, "linkKind", 1);
  setNumber(link, "bgColour", 0xB7E4C6);

  tpl::UnitRecord trans = unitRecord(T::TransLabel, 0x1600002A, 20, 180, 200, 20, kV);
  setText(trans, "caption", "透明标签在背景上");
  setNumber(trans, "textColour", 0x808000);

  tpl::UnitRecord btn = unitRecord(T::PicBtn, 0x1600002B, 380, 120, 40, 20, kV);
  setBytes(btn, "normalPicture", bmpFile(40, 20, [](int x, int) -> std::uint32_t {
             return x < 20 ? 0x404040 : 0xC0C0C0;
           }));

  tpl::UnitRecord timer = unitRecord(T::Timer, 0x1600002C, 0, 0, 0, 0, 0);

  tpl::UnitRecord picButton = unitRecord(T::Button, kGalleryPictureButton, 10, 150, 110, 30, kV);
  setText(picButton, "caption", "图片按钮");
  setNumber(picButton, "hAlign", 0);
  setBytes(picButton, "picture", bmpFile(16, 16, [](int, int) { return 0x0000FFu; }));

  const ByteSet released = bmpFile(40, 20, [](int, int) { return 0xC0C0C0u; });
  const ByteSet pressed = bmpFile(40, 20, [](int, int) { return 0x0080FFu; });
  auto pictureButton = [&](tpl::Id id, int left, int kind, int down) {
    tpl::UnitRecord b = unitRecord(T::PicBtn, id, left, 150, 40, 20, kV);
    setNumber(b, "kind", static_cast<std::uint32_t>(kind));
    setNumber(b, "pressed", static_cast<std::uint32_t>(down));
    setBytes(b, "normalPicture", released);
    setBytes(b, "pressedPicture", pressed);
    return b;
  };

  // In front of the coloured label, and reaching past its left edge over the window.
  tpl::UnitRecord over = unitRecord(T::TransLabel, kGalleryOverLabel, 230, 190, 200, 20, kV);
  setText(over, "caption", "透明标签压在标签上");
  tpl::UnitRecord under = unitRecord(T::Label, kGalleryUnderLabel, 250, 180, 100, 40, kV);
  setText(under, "caption", "");
  setNumber(under, "bgColour", 0x3399FF);

  return windowRecord(
      kGalleryWindow, own,
      {pic, label, grad, shape, line, button, edit, link, trans, btn, timer, picButton,
       pictureButton(kGalleryToggleDown, 130, 1, 1), pictureButton(kGalleryToggleUp, 180, 1, 0),
       pictureButton(kGalleryGroupFirst, 230, 2, 1), pictureButton(kGalleryGroupSecond, 280, 2, 0),
       over, under});
}

std::vector<GalleryShape> galleryShapes() {
  // Windows of 80 x 60 pixels; points in window coordinates.
  return {
      {4, {{40, 1}, {1, 30}, {78, 30}}, {{2, 2}, {77, 57}}},
      {5, {{40, 3}, {3, 30}}, {{15, 10}, {65, 50}}},
      {6, {{40, 1}, {2, 30}}, {{5, 5}, {75, 55}}},
      {7, {{40, 5}, {3, 58}, {76, 58}}, {{10, 10}, {70, 10}}},
      {8, {{40, 5}, {75, 24}}, {{40, 55}, {10, 10}}},
      {9, {}, {}},  // past the table: a rectangle, no region at all
  };
}

tpl::WindowRecord galleryShapeWindow(int index) {
  const GalleryShape s = galleryShapes()[static_cast<std::size_t>(index)];
  tpl::UnitRecord own =
      unitRecord(T::Window, galleryShapeOwn(index), 10 + index * 90, 300, 80, 60, kV);
  setNumber(own, "border", 0);
  setNumber(own, "startPosition", 0);
  setNumber(own, "shape", static_cast<std::uint32_t>(s.shape));
  setNumber(own, "bgColour", 0x808000);
  tpl::UnitRecord caption =
      unitRecord(T::TransLabel, 0x16000070u + static_cast<tpl::Id>(index), 0, 20, 80, 20, kV);
  setText(caption, "caption", "外形");
  setNumber(caption, "textColour", 0xFFFFFF);
  setNumber(caption, "hAlign", 1);
  return windowRecord(galleryShapeWindowId(index), own, {caption});
}

}  // namespace forms::testing
