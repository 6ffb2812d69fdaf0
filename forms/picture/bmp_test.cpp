#include <gtest/gtest.h>

#include "forms/picture/picture_files.h"

namespace forms::picture_test {
namespace {

const std::vector<std::uint32_t> kRgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(BmpFiles, WrittenByAnotherEncoderDecode) {
  const auto rgb = decodePicture(readFixture("rgb24.bmp"));  // 5 x 3, rows padded
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->kind, PictureKind::Bmp);
  ASSERT_EQ(rgb->width, 5);
  ASSERT_EQ(rgb->height, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const std::uint32_t want[] = {kRed, kGreen, kBlue, kWhite};
      EXPECT_EQ(pixelAt(*rgb, x, y), want[(y >= 1) * 2 + (x >= 2)]) << x << "," << y;
    }
  EXPECT_FALSE(rgb->hasTransparency);

  const auto pal = decodePicture(readFixture("pal8.bmp"));  // 7 x 4 noise
  ASSERT_TRUE(pal);
  const auto indexes = noiseIndexes(7, 4);
  for (std::size_t i = 0; i < indexes.size(); ++i)
    EXPECT_EQ(pal->frames[0].pixels[i], noiseColour(indexes[i])) << i;

  const auto mono = decodePicture(readFixture("mono.bmp"));  // 9 x 2
  ASSERT_TRUE(mono);
  for (int x = 0; x < 9; ++x) {
    EXPECT_EQ(pixelAt(*mono, x, 0), x % 2 == 0 ? kWhite : kBlack) << x;
    EXPECT_EQ(pixelAt(*mono, x, 1), x == 8 ? kWhite : kBlack) << x;
  }
}

TEST(BmpFiles, PixelOffsetInsideTheFileHeaderMeansAfterThePalette) {
  BmpRecipe s;
  s.width = 1, s.height = 1, s.pixels = {255, 0, 0, 0};
  for (std::uint8_t offset : {0, 13}) {
    ByteSet file = bmpFile(s);
    file.at(10) = offset, file.at(11) = file.at(12) = file.at(13) = 0;
    const auto picture = decodePicture(file);
    ASSERT_TRUE(picture) << int(offset);
    EXPECT_EQ(pixelAt(*picture, 0, 0), kBlue) << int(offset);
  }
}

struct BmpCase {
  const char* name;
  BmpRecipe plan;
  std::vector<std::uint32_t> pixels;  // top row first
};

class BmpFormats : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpFormats, DecodeToTheExpectedPixels) {
  const auto picture = decodePicture(bmpFile(GetParam().plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, std::abs(GetParam().plan.width));
  EXPECT_EQ(picture->height, std::abs(GetParam().plan.height));
  EXPECT_EQ(picture->frames.at(0).pixels, GetParam().pixels);
}

BmpRecipe plan(std::int32_t w, std::int32_t h, std::uint16_t bpp, ByteSet pixels) {
  BmpRecipe s;
  s.width = w, s.height = h, s.bpp = bpp, s.pixels = std::move(pixels);
  return s;
}
BmpRecipe with(BmpRecipe s, std::vector<std::uint32_t> palette, std::uint32_t compression = 0) {
  s.palette = std::move(palette);
  s.compression = compression;
  return s;
}

// Each 3 x 2 unless said otherwise; rows are stored bottom row first unless the height
// is negative, and padded to four bytes.
const BmpCase kBmpCases[] = {
    {"oneBit",
     with(plan(3, 2, 1, {0x40, 0, 0, 0, 0xA0, 0, 0, 0}), {0x000000, 0xFFFFFF}),
     {kWhite, kBlack, kWhite, kBlack, kWhite, kBlack}},
    {"fourBitBottomUp",
     with(plan(3, 2, 4, {0x33, 0x00, 0, 0, 0x01, 0x20, 0, 0}), kRgbw),
     {kRed, kGreen, kBlue, kWhite, kWhite, kRed}},
    {"fourBitTopDown",
     with(plan(3, -2, 4, {0x01, 0x20, 0, 0, 0x33, 0x00, 0, 0}), kRgbw),
     {kRed, kGreen, kBlue, kWhite, kWhite, kRed}},
    {"eightBitShortPalette",
     [] {
       BmpRecipe s = with(plan(3, 1, 8, {0, 1, 9, 0}), {0xFF0000, 0x00FF00});
       s.clrUsed = 2;
       return s;
     }(),
     {kRed, kGreen, kBlack}},
    {"eightBitCoreHeader",
     [] {
       BmpRecipe s = with(plan(2, 1, 8, {1, 0, 0, 0}), std::vector<std::uint32_t>(256, 0x0000FF));
       s.headerSize = 12;
       s.palette[1] = 0xFF0000;
       return s;
     }(),
     {kRed, kBlue}},
    {"sixteenBit555", plan(2, 1, 16, {0x00, 0x7C, 0x1F, 0x00}), {kRed, kBlue}},
    {"sixteenBit565Fields",
     [] {
       BmpRecipe s = plan(2, 1, 16, {0xE0, 0x07, 0x00, 0xF8});
       s.compression = 3;
       s.masks = {0xF800, 0x07E0, 0x001F};
       return s;
     }(),
     {kGreen, kRed}},
    {"twentyFourTopDown",
     plan(2, -2, 24, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}),
     {kRed, kGreen, kBlue, kBlack}},
    {"thirtyTwoPlainIgnoresFourthByte",
     plan(2, 1, 32, {0, 0, 255, 0x00, 255, 0, 0, 0x80}),
     {kRed, kBlue}},
    {"thirtyTwoWithAlphaMask",
     [] {
       BmpRecipe s = plan(2, 1, 32, {0, 0, 255, 0x00, 255, 0, 0, 0x80});
       s.headerSize = 124;
       s.compression = 3;
       s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
       return s;
     }(),
     {0x00FF0000, 0x800000FF}},
    {"thirtyTwoAlphaMaskAllZeroIsOpaque",
     [] {
       BmpRecipe s = plan(2, 1, 32, {0, 0, 255, 0, 255, 0, 0, 0});
       s.headerSize = 108;
       s.compression = 3;
       s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
       return s;
     }(),
     {kRed, kBlue}},
    {"thirtyTwoAlphaFieldsAfterTheHeader",
     [] {
       BmpRecipe s = plan(2, 1, 32, {0, 0, 255, 0x00, 255, 0, 0, 0x80});
       s.compression = 6;
       s.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
       return s;
     }(),
     {0x00FF0000, 0x800000FF}},
    {"eightBitAllColoursListed",
     [] {
       BmpRecipe s = with(plan(2, 1, 8, {0, 255, 0, 0}), std::vector<std::uint32_t>(256, 0x00FF00));
       s.clrUsed = 256;
       s.palette[255] = 0xFF0000;
       return s;
     }(),
     {kGreen, kRed}},
    {"twentyFourWithTheLongestColourHint",
     [] {
       BmpRecipe s = with(plan(1, 1, 24, {255, 0, 0, 0}), std::vector<std::uint32_t>(65536, 0));
       s.clrUsed = 65536;
       return s;
     }(),
     {kBlue}},
    {"gapBeforePixels",
     [] {
       BmpRecipe s = plan(1, 1, 24, {255, 0, 0, 0});
       s.gap = 6;
       return s;
     }(),
     {kBlue}},
    // RLE8, bottom row first: runs, end of line, then a move by one pixel that leaves
    // the first pixel of the top row empty.
    {"rle8",
     with(plan(3, 2, 8, {2, 1, 1, 2, 0, 0, 0, 2, 1, 0, 2, 3, 0, 1}), kRgbw, 1),
     {kClear, kWhite, kWhite, kGreen, kGreen, kBlue}},
    {"rle8AbsolutePadded",
     with(plan(4, 1, 8, {0, 3, 2, 3, 1, 0, 1, 0, 0, 1}), kRgbw, 1),
     {kBlue, kWhite, kGreen, kRed}},
    {"rle4", with(plan(3, 1, 4, {3, 0x12, 0, 1}), kRgbw, 2), {kGreen, kBlue, kGreen}},
    {"rle4Absolute",
     with(plan(3, 1, 4, {0, 3, 0x30, 0x20, 0, 1}), kRgbw, 2),
     {kWhite, kRed, kBlue}},
    {"rleRunPastTheRowIsClipped", with(plan(2, 1, 8, {5, 3, 0, 1}), kRgbw, 1), {kWhite, kWhite}},
};

INSTANTIATE_TEST_SUITE_P(Formats, BmpFormats, ::testing::ValuesIn(kBmpCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace forms::picture_test
