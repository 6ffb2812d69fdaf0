#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/picture/picture_files.h"

namespace forms::picture_test {
namespace {

// JPEG is lossy: a channel may differ a little from what was written.
void expectNear(std::uint32_t actual, std::uint32_t expected, const char* where) {
  for (int shift : {0, 8, 16, 24}) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    EXPECT_LE(std::abs(a - e), 12)
        << where << ": got " << std::hex << actual << ", want " << expected;
  }
}

struct JpegCase {
  const char* file;
};

class JpegFiles : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegFiles, DecodesTheFourQuadrants) {
  const auto picture = decodePicture(readFixture(GetParam().file));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->kind, PictureKind::Jpeg);
  EXPECT_EQ(picture->width, 32);
  EXPECT_EQ(picture->height, 24);
  ASSERT_EQ(picture->frames.size(), 1u);
  EXPECT_FALSE(picture->animated());
  EXPECT_FALSE(picture->hasTransparency);
  expectNear(pixelAt(*picture, 4, 4), kRed, "top left");
  expectNear(pixelAt(*picture, 27, 4), kGreen, "top right");
  expectNear(pixelAt(*picture, 4, 19), kBlue, "bottom left");
  expectNear(pixelAt(*picture, 27, 19), kWhite, "bottom right");
}

INSTANTIATE_TEST_SUITE_P(BaselineAndProgressive, JpegFiles,
                         ::testing::Values(JpegCase{"quadrants.jpg"},
                                           JpegCase{"quadrants-progressive.jpg"}));

TEST(JpegColourSpaces, GreyAndAdobeCmykComeOutAsRgb) {
  const auto grey = decodePicture(readFixture("grey.jpg"));
  ASSERT_TRUE(grey);
  expectNear(pixelAt(*grey, 3, 3), 0xFF808080, "grey");

  const auto cmyk = decodePicture(readFixture("cmyk.jpg"));
  ASSERT_TRUE(cmyk);
  expectNear(pixelAt(*cmyk, 1, 1), 0xFF00FFFF, "cyan half");
  expectNear(pixelAt(*cmyk, 6, 1), kWhite, "white half");
}

}  // namespace
}  // namespace forms::picture_test
