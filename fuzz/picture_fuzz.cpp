// Pictures inside templates and from files: decoded pictures must be whole.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "forms/picture/picture.h"

namespace {

void checkWhole(const std::optional<forms::Picture>& picture) {
  if (!picture) return;
  if (picture->frames.empty() || picture->width <= 0 || picture->height <= 0 ||
      picture->width > forms::kMaxPictureSide || picture->height > forms::kMaxPictureSide)
    __builtin_trap();
  const std::size_t pixels = std::size_t(picture->width) * std::size_t(picture->height);
  for (const forms::PictureFrame& frame : picture->frames)
    if (frame.pixels.size() != pixels) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const forms::ByteSet bytes(data, data + size);
  forms::detectPictureKind(bytes);
  checkWhole(forms::decodePicture(bytes));
  checkWhole(forms::decodeIcon(bytes, 16));
  checkWhole(forms::decodeIcon(bytes, 0));
  return 0;
}
