#pragma once
// The decoders of each picture kind, behind decodePicture and decodeIcon.
#include <cstdint>
#include <optional>

#include "forms/values/byte_view.h"
#include "forms/picture/picture.h"

namespace forms::picture_detail {

std::optional<Picture> decodeJpeg(ByteView bytes);
std::optional<Picture> decodeGif(ByteView bytes);
std::optional<Picture> decodeBmpFile(ByteView bytes);
std::optional<Picture> decodeIconFile(ByteView bytes, int wantedSize);

// A device-independent bitmap: its header, palette and pixels, as in a BMP file after
// the 14-byte file header or as an image of an icon. pixelOffset counts from the DIB
// header; 0 (or an offset inside the header and palette) means right after the
// palette. An icon's DIB has twice the height, the AND mask following the colours.
std::optional<Picture> decodeDib(ByteView dib, std::size_t pixelOffset, bool inIcon);

// True when frames pictures of width x height stay within the side and pixel limits.
bool fitsLimits(std::int64_t width, std::int64_t height, std::uint64_t frames = 1);

// Sets hasTransparency from the frames' alpha.
void noteTransparency(Picture& picture);

constexpr std::uint32_t opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

}  // namespace forms::picture_detail
