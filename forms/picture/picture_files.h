#pragma once
// Pictures for the tests: the files of test_data, and small files built in memory
// where a test needs exact control over one field.
#include <cstdint>
#include <string>
#include <vector>

#include "forms/values/text.h"
#include "forms/picture/picture.h"

namespace forms::picture_test {

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kClear = 0x00000000;

ByteSet readFixture(const std::string& name);

std::uint32_t pixelAt(const Picture& picture, int x, int y, std::size_t frame = 0);

// The noise pictures of make_fixtures.py: an index per pixel, and the colour of each index.
std::vector<std::uint8_t> noiseIndexes(int width, int height);
std::uint32_t noiseColour(std::uint8_t index);

// A GIF LZW encoder. With clearWhenFull false, a full table is kept and the encoder
// goes on with 12-bit codes, as some encoders do.
ByteSet lzwEncode(const std::vector<std::uint8_t>& indexes, int minCodeSize,
                  bool clearWhenFull = true);

struct GifImage {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> indexes;        // in stored order (interlaced order if interlaced)
  std::vector<std::uint32_t> localPalette;  // 0xRRGGBB; empty = the global one
  bool interlaced = false;
  bool control = true;  // write a graphic control extension
  int disposal = 0, delayCs = 0, transparent = -1;
  int minCodeSize = 2;
  ByteSet lzw;  // when not empty, used instead of encoding indexes
};

struct GifRecipe {
  GifRecipe() = default;
  GifRecipe(int w, int h, std::vector<std::uint32_t> colours)
      : width(w), height(h), palette(std::move(colours)) {}
  int width = 0, height = 0;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB, a power of two entries (or none)
  std::vector<GifImage> images;
  int loop = -1;  // -1: no NETSCAPE2.0 block
  bool trailer = true;
  std::size_t subBlock = 255;  // size of the data sub-blocks
};
ByteSet gifFile(const GifRecipe& plan);

struct BmpRecipe {
  std::uint32_t headerSize = 40;  // 12, 40, 108 or 124
  std::int32_t width = 0, height = 0;
  std::uint16_t bpp = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> masks;  // written after a 40-byte header, inside larger ones
  ByteSet pixels;
  std::uint32_t gap = 0;  // bytes between the palette and the pixels
};
// The DIB alone (header, masks, palette, pixels), as held in an icon.
ByteSet dibBytes(const BmpRecipe& plan);
ByteSet bmpFile(const BmpRecipe& plan);

struct IconImage {
  int width = 0, height = 0, bpp = 0;  // as the directory says (0 = 256 pixels)
  ByteSet image;
};
ByteSet iconFile(const std::vector<IconImage>& images, int type = 1);

}  // namespace forms::picture_test
