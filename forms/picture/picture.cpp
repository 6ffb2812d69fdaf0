#include "forms/picture/picture.h"

#include <algorithm>
#include <cstring>

#include "forms/picture/decoders.h"

namespace forms {

namespace picture_detail {

bool fitsLimits(std::int64_t width, std::int64_t height, std::uint64_t frames) {
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
    return false;
  const std::uint64_t one = std::uint64_t(width) * std::uint64_t(height);
  return frames <= kMaxPicturePixels / one;
}

void noteTransparency(Picture& picture) {
  picture.hasTransparency =
      std::any_of(picture.frames.begin(), picture.frames.end(), [](const PictureFrame& f) {
        return std::any_of(f.pixels.begin(), f.pixels.end(),
                           [](std::uint32_t p) { return (p >> 24) != 0xFF; });
      });
}

}  // namespace picture_detail

std::optional<PictureKind> detectPictureKind(const ByteSet& bytes) {
  auto startsWith = [&](const char* sig, std::size_t n) {
    return bytes.size() >= n && std::memcmp(bytes.data(), sig, n) == 0;
  };
  if (startsWith("\xFF\xD8\xFF", 3)) return PictureKind::Jpeg;
  if (startsWith("GIF87a", 6) || startsWith("GIF89a", 6)) return PictureKind::Gif;
  if (startsWith("BM", 2)) return PictureKind::Bmp;
  // ICO (type 1) or CUR (type 2), with at least one image.
  if (bytes.size() >= 6 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
      bytes[3] == 0 && (bytes[4] | bytes[5]) != 0)
    return PictureKind::Icon;
  return std::nullopt;
}

std::optional<Picture> decodePicture(const ByteSet& bytes) {
  const auto kind = detectPictureKind(bytes);
  if (!kind) return std::nullopt;
  const ByteView view(bytes.data(), bytes.size());
  switch (*kind) {
    case PictureKind::Jpeg: return picture_detail::decodeJpeg(view);
    case PictureKind::Gif: return picture_detail::decodeGif(view);
    case PictureKind::Bmp: return picture_detail::decodeBmpFile(view);
    case PictureKind::Icon: return picture_detail::decodeIconFile(view, 0);
  }
  return std::nullopt;
}

std::optional<Picture> decodeIcon(const ByteSet& bytes, int wantedSize) {
  if (detectPictureKind(bytes) != PictureKind::Icon) return std::nullopt;
  return picture_detail::decodeIconFile(ByteView(bytes.data(), bytes.size()), wantedSize);
}

}  // namespace forms
