#include <gtest/gtest.h>

#include "forms/picture/icon_directory.h"
#include "forms/picture/picture_files.h"

namespace forms::picture_test {
namespace {

struct IconSizeCase {
  int wanted;
  int side;
  std::uint32_t colour;
};

class IconSizes : public ::testing::TestWithParam<IconSizeCase> {};

// three.ico holds 48 (blue), 32 (green) and 16 (red), each with a clear top-left pixel.
TEST_P(IconSizes, PicksTheImageThatSuitsTheWantedSize) {
  const auto picture = decodeIcon(readFixture("three.ico"), GetParam().wanted);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->kind, PictureKind::Icon);
  EXPECT_EQ(picture->width, GetParam().side);
  EXPECT_EQ(picture->height, GetParam().side);
  EXPECT_EQ(pixelAt(*picture, 0, 0), kClear);
  EXPECT_EQ(pixelAt(*picture, 1, 1), GetParam().colour);
  EXPECT_EQ(pixelAt(*picture, GetParam().side - 1, GetParam().side - 1), GetParam().colour);
  EXPECT_TRUE(picture->hasTransparency);
}

INSTANTIATE_TEST_SUITE_P(Wanted, IconSizes,
                         ::testing::Values(IconSizeCase{0, 48, kBlue}, IconSizeCase{48, 48, kBlue},
                                           IconSizeCase{32, 32, kGreen}, IconSizeCase{16, 16, kRed},
                                           IconSizeCase{20, 32, kGreen}, IconSizeCase{8, 16, kRed},
                                           IconSizeCase{100, 48, kBlue}));

TEST(IconFiles, DecodePictureGivesTheLargestImage) {
  const auto picture = decodePicture(readFixture("three.ico"));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 48);
}

TEST(IconFiles, PngImagesAreSkipped) { EXPECT_FALSE(decodePicture(readFixture("png-only.ico"))); }

// A 2 x 2 icon DIB: height doubled, the colours, then the AND mask rows (bottom first).
ByteSet iconDib(std::uint16_t bpp, ByteSet colours, std::vector<std::uint32_t> palette,
                ByteSet mask) {
  BmpRecipe s;
  s.width = 2, s.height = 4, s.bpp = bpp, s.palette = std::move(palette),
  s.pixels = std::move(colours);
  s.pixels.insert(s.pixels.end(), mask.begin(), mask.end());
  return dibBytes(s);
}

const ByteSet kMaskTopLeft = {0, 0, 0, 0, 0x80, 0, 0, 0};  // bottom row clear, top row x 0 set

TEST(IconFiles, AndMaskCutsPixelsOfPalettedImages) {
  const ByteSet dib =
      iconDib(4, {0x12, 0, 0, 0, 0x33, 0, 0, 0}, {0, 0xFF0000, 0x00FF00, 0x0000FF}, kMaskTopLeft);
  const auto picture = decodeIcon(iconFile({{2, 2, 4, dib}}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->frames[0].pixels, (std::vector<std::uint32_t>{kClear, kBlue, kRed, kGreen}));
}

TEST(IconFiles, ThirtyTwoBitsWithoutAlphaFallBackToTheMask) {
  const ByteSet colours = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0};
  const auto picture = decodeIcon(iconFile({{2, 2, 32, iconDib(32, colours, {}, kMaskTopLeft)}}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->frames[0].pixels, (std::vector<std::uint32_t>{kClear, kRed, kBlue, kBlue}));
}

TEST(IconFiles, ThirtyTwoBitsWithAlphaNeedNoMask) {
  const ByteSet colours = {255, 0, 0, 0xFF, 255, 0, 0, 0xFF, 0, 0, 255, 0x40, 0, 0, 255, 0xFF};
  const auto picture = decodeIcon(iconFile({{2, 2, 32, iconDib(32, colours, {}, {})}}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->frames[0].pixels,
            (std::vector<std::uint32_t>{0x40FF0000, kRed, kBlue, kBlue}));
}

TEST(IconFiles, PalettedImageWithoutItsMaskIsRefused) {
  const ByteSet dib =
      iconDib(4, {0x12, 0, 0, 0, 0x33, 0, 0, 0}, {0, 0xFF0000, 0x00FF00, 0x0000FF}, {});
  EXPECT_FALSE(decodeIcon(iconFile({{2, 2, 4, dib}})));
}

TEST(IconFiles, SameSizePrefersMoreColoursAndCursorsDecodeToo) {
  const ByteSet four = iconDib(4, {0x11, 0, 0, 0, 0x11, 0, 0, 0}, {0, 0xFF0000}, ByteSet(8, 0));
  const ByteSet deep =
      iconDib(24, {0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0}, {}, ByteSet(8, 0));
  for (int type : {1, 2}) {
    const auto picture =
        decodeIcon(iconFile({{2, 2, 4, four}, {2, 2, 24, deep}, {2, 2, 4, four}}, type));
    ASSERT_TRUE(picture);
    EXPECT_EQ(pixelAt(*picture, 0, 0), kGreen) << type;
  }
}

TEST(IconFiles, ADirectorySideOfZeroStandsForTwoHundredFiftySix) {
  const ByteSet red =
      iconDib(24, {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0}, {}, ByteSet(8, 0));
  const ByteSet blue =
      iconDib(24, {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0}, {}, ByteSet(8, 0));
  const int sides[][2] = {{0, 0}, {0, 16}, {16, 0}};
  for (const auto& side : sides) {
    // The largest image, or the one just larger than 200 pixels, is the one said to be 256.
    for (int wanted : {0, 200}) {
      const auto picture =
          decodeIcon(iconFile({{16, 16, 24, red}, {side[0], side[1], 24, blue}}), wanted);
      ASSERT_TRUE(picture);
      EXPECT_EQ(pixelAt(*picture, 0, 0), kBlue) << side[0] << "x" << side[1] << " " << wanted;
    }
  }
}

// The directory that both the icon decoder and the runtime's cursor files read: a
// cursor's hot spot stands where an icon keeps planes and depth.
TEST(IconDirectory, ReadsEveryEntryAndRefusesWhatLiesOutside) {
  const ByteSet image = {1, 2, 3, 4, 5};
  const ByteSet file = iconFile({{32, 0, 7, image}, {16, 16, 0, {9}}}, 2);
  const auto dir = readIconDirectory(ByteView(file.data(), file.size()));
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->type, 2);
  ASSERT_EQ(dir->entries.size(), 2u);
  const IconDirectoryEntry& first = dir->entries[0];
  EXPECT_EQ(first.width, 32);
  EXPECT_EQ(first.height, 0);
  EXPECT_EQ(first.hotX, 1);
  EXPECT_EQ(first.hotY, 7);
  EXPECT_EQ(ByteSet(first.image.data(), first.image.data() + first.image.size()), image);

  const struct {
    const char* what;
    ByteSet bytes;
  } refused[] = {
      {"no image", iconFile({})},
      {"directory cut short", ByteSet(file.begin(), file.begin() + 6 + 16 + 8)},
      {"last image runs past the end", ByteSet(file.begin(), file.end() - 1)},
  };
  for (const auto& r : refused)
    EXPECT_FALSE(readIconDirectory(ByteView(r.bytes.data(), r.bytes.size()))) << r.what;
}

}  // namespace
}  // namespace forms::picture_test
