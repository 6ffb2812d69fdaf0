#pragma once
// Pictures as the window templates hold them (JPEG, GIF, BMP, ICO files, byte for byte),
// decoded into plain pixels that the painting code turns into bitmaps and regions.
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/values/text.h"

namespace forms {

enum class PictureKind { Jpeg, Gif, Bmp, Icon };

// One full picture: every frame covers the whole width x height, already composited
// (GIF frames onto the logical screen, with disposal applied).
struct PictureFrame {
  // width * height pixels, top row first; each 0xAARRGGBB, so the bytes in memory are
  // B, G, R, A, as a top-down 32-bit DIB wants them. Alpha is straight (not
  // premultiplied): 0 for GIF-transparent and icon-masked pixels, 255 for opaque ones.
  std::vector<std::uint32_t> pixels;
  // How long this frame stays before the next one, in ms, as stored (GIF delays are
  // centiseconds times 10). 0 for still pictures; a stored 0 stays 0, so a painter
  // that animates must apply a floor of its own.
  int delayMs = 0;
};

struct Picture {
  PictureKind kind = PictureKind::Bmp;
  int width = 0;
  int height = 0;
  std::vector<PictureFrame> frames;  // never empty in a decoded picture
  // How many times the animation plays: 0 = forever. A GIF without a NETSCAPE2.0
  // block plays once; one with a stored count n > 0 plays n times.
  int loopCount = 1;
  // True when some pixel of some frame has alpha below 255.
  bool hasTransparency = false;

  bool animated() const { return frames.size() > 1; }
};

// Limits against hostile files: no side longer than kMaxPictureSide, and no more than
// kMaxPicturePixels pixels over all frames together.
constexpr int kMaxPictureSide = 16384;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t(1) << 24;

// The kind from the bytes' own signature, or nullopt for none of ours.
std::optional<PictureKind> detectPictureKind(const ByteSet& bytes);

// Decodes any of the four kinds; an icon file gives its largest image. nullopt for
// an unknown kind and for every truncated, corrupt or oversized file.
std::optional<Picture> decodePicture(const ByteSet& bytes);

// The image of an ICO (or CUR) file that suits wantedSize pixels best: an exact side,
// else the smallest larger one, else the largest; among equal sides the deepest
// colour. wantedSize 0 (or less) picks the largest. Images stored as PNG inside the
// icon are skipped: only bitmap images are decoded.
std::optional<Picture> decodeIcon(const ByteSet& bytes, int wantedSize = 0);

// The colour of a pixel as a COLORREF (0x00BBGGRR), for comparing with the colours of
// window templates, such as a transparent colour.
constexpr std::uint32_t colourRefOf(std::uint32_t pixel) {
  return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

}  // namespace forms
