// Every input is hostile: damaged files must give nothing, and never crash or read out
// of bounds (the host build runs these under the address and UB sanitizers).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "forms/picture/picture_files.h"

namespace forms::picture_test {
namespace {

void put32(ByteSet& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = std::uint8_t(v >> (8 * i));
}
void put16(ByteSet& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v);
  b.at(at + 1) = std::uint8_t(v >> 8);
}
std::size_t find(const ByteSet& b, std::initializer_list<std::uint8_t> marker) {
  return std::size_t(std::search(b.begin(), b.end(), marker.begin(), marker.end()) - b.begin());
}

TEST(PictureKinds, ComeFromTheSignature) {
  const struct {
    ByteSet bytes;
    std::optional<PictureKind> kind;
  } cases[] = {
      {{0xFF, 0xD8, 0xFF}, PictureKind::Jpeg},
      {{0xFF, 0xD8}, std::nullopt},
      {{'G', 'I', 'F', '8', '7', 'a'}, PictureKind::Gif},
      {{'G', 'I', 'F', '8', '9', 'a'}, PictureKind::Gif},
      {{'G', 'I', 'F', '8', '8', 'a'}, std::nullopt},
      {{'B', 'M'}, PictureKind::Bmp},
      {{'B'}, std::nullopt},
      // ICO (type 1) and CUR (type 2), with a count of images that is not 0.
      {{0, 0, 1, 0, 1, 0}, PictureKind::Icon},
      {{0, 0, 2, 0, 1, 0}, PictureKind::Icon},
      {{0, 0, 1, 0, 0, 1}, PictureKind::Icon},
      {{0, 0, 1, 0, 0, 0}, std::nullopt},
      {{0, 0, 0, 0, 1, 0}, std::nullopt},
      {{0, 0, 3, 0, 1, 0}, std::nullopt},
      {{0, 0, 1, 1, 1, 0}, std::nullopt},
      {{1, 0, 1, 0, 1, 0}, std::nullopt},
      {{0, 1, 1, 0, 1, 0}, std::nullopt},
      {{0, 0, 1, 0, 1}, std::nullopt},
  };
  for (const auto& c : cases) {
    // A copy that holds no byte more than the signature, as below.
    EXPECT_EQ(detectPictureKind(ByteSet(c.bytes)), c.kind)
        << ::testing::PrintToString(std::vector<int>(c.bytes.begin(), c.bytes.end()));
  }
}

struct TruncationCase {
  const char* file;
  // A GIF cut right after a whole frame is a shorter animation, not a damaged one.
  bool cutAfterFrameDecodes;
};

class Truncated : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(Truncated, EveryShorterPrefixIsRefused) {
  const ByteSet whole = readFixture(GetParam().file);
  const auto full = decodePicture(whole);
  ASSERT_TRUE(full);
  for (std::size_t n = 0; n < whole.size(); ++n) {
    const auto cut = decodePicture(ByteSet(whole.begin(), whole.begin() + n));
    if (!cut) continue;
    ASSERT_TRUE(GetParam().cutAfterFrameDecodes) << "prefix of " << n << " bytes";
    // Only the trailer may be missing for the whole animation to come out.
    if (n + 1 < whole.size()) {
      ASSERT_LT(cut->frames.size(), full->frames.size()) << "prefix of " << n << " bytes";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Truncated,
                         ::testing::Values(TruncationCase{"quadrants.jpg", false},
                                           TruncationCase{"quadrants-progressive.jpg", false},
                                           TruncationCase{"cmyk.jpg", false},
                                           TruncationCase{"noise-interlaced.gif", true},
                                           TruncationCase{"anim.gif", true},
                                           TruncationCase{"rgb24.bmp", false},
                                           TruncationCase{"pal8.bmp", false},
                                           TruncationCase{"mono.bmp", false},
                                           TruncationCase{"three.ico", false}));

struct CorruptionCase {
  const char* name;
  std::function<ByteSet()> make;
};

class Corrupted : public ::testing::TestWithParam<CorruptionCase> {};

// Decoded from a copy that holds no byte more than the file, so that a read past its end
// is one past the allocation.
TEST_P(Corrupted, IsRefused) {
  const ByteSet made = GetParam().make();
  EXPECT_FALSE(decodePicture(ByteSet(made)));
}

ByteSet patched(const char* file, std::function<void(ByteSet&)> patch) {
  ByteSet b = readFixture(file);
  patch(b);
  return b;
}

const std::vector<std::uint32_t> kTwo = {0xFF0000, 0x00FF00};

// The progressive fixture with its last scan repeated until the file holds `scans` scans.
ByteSet progressiveWithScans(std::size_t scans) {
  const ByteSet whole = readFixture("quadrants-progressive.jpg");
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at + 1 < whole.size(); ++at)
    if (whole[at] == 0xFF && whole[at + 1] == 0xDA) starts.push_back(at);
  const std::size_t last = starts.back(), end = whole.size() - 2;  // before the end marker
  ByteSet out(whole.begin(), whole.begin() + end);
  for (std::size_t n = starts.size(); n < scans; ++n)
    out.insert(out.end(), whole.begin() + last, whole.begin() + end);
  out.insert(out.end(), whole.begin() + end, whole.end());
  return out;
}

TEST(JpegScans, AsManyScansAsTheLimitDecode) {
  const auto picture = decodePicture(progressiveWithScans(256));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 32);
}

GifRecipe oneFrameGif() {
  GifRecipe plan{2, 1, kTwo};
  GifImage im;
  im.width = 2, im.height = 1, im.indexes = {0, 1};
  plan.images.push_back(im);
  return plan;
}

BmpRecipe smallBmp() {
  BmpRecipe s;
  s.width = 1, s.height = 1, s.bpp = 24, s.pixels = {0, 0, 255, 0};
  return s;
}

ByteSet iconWith(std::function<void(ByteSet&)> patch) {
  BmpRecipe s;
  s.width = 1, s.height = 2, s.bpp = 24, s.pixels = {0, 0, 255, 0, 0, 0, 0, 0};
  ByteSet file = iconFile({{1, 1, 24, dibBytes(s)}});
  patch(file);
  return file;
}

const CorruptionCase kCorruptions[] = {
    // JPEG
    {"jpegZeroWidth",
     [] {
       return patched("quadrants.jpg", [](ByteSet& b) { put16(b, find(b, {0xFF, 0xC0}) + 7, 0); });
     }},
    {"jpegWiderThanTheLimit",
     [] {
       return patched("quadrants.jpg", [](ByteSet& b) { b.at(find(b, {0xFF, 0xC0}) + 7) = 0x50; });
     }},
    {"jpegTwentyThousandSquare",
     [] {
       return patched("quadrants.jpg", [](ByteSet& b) {
         const std::size_t sof = find(b, {0xFF, 0xC0});
         b.at(sof + 5) = 0x4E, b.at(sof + 6) = 0x20, b.at(sof + 7) = 0x4E, b.at(sof + 8) = 0x20;
       });
     }},
    {"jpegNoFrameMarker",
     [] {
       return patched("quadrants.jpg", [](ByteSet& b) { b.at(find(b, {0xFF, 0xC0}) + 1) = 0xC8; });
     }},
    {"jpegOnlyTheSignature",
     [] {
       return ByteSet{0xFF, 0xD8, 0xFF};
     }},
    {"jpegMarkerSegmentLongerThanTheFile",
     [] { return ByteSet{0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 0, 0}; }},
    {"jpegOneScanMoreThanTheLimit", [] { return progressiveWithScans(257); }},
    {"jpegHundredsOfScans", [] { return progressiveWithScans(600); }},
    // GIF
    {"gifZeroScreen",
     [] {
       GifRecipe s = oneFrameGif();
       s.width = 0;
       return gifFile(s);
     }},
    {"gifScreenAboveTheSideLimit",
     [] {
       GifRecipe s = oneFrameGif();
       s.width = 20000;
       return gifFile(s);
     }},
    {"gifScreenOnePixelTallerThanTheSideLimit",
     [] {
       GifRecipe s = oneFrameGif();
       s.height = kMaxPictureSide + 1;
       return gifFile(s);
     }},
    {"gifFramesOverThePixelBudget",
     [] {
       GifRecipe s = oneFrameGif();
       s.width = 4096, s.height = 4096;
       s.images.push_back(s.images[0]);
       return gifFile(s);
     }},
    {"gifImageFarLargerThanItsScreen",
     [] {
       GifRecipe s = oneFrameGif();
       s.images[0].width = 65535, s.images[0].height = 65535;
       return gifFile(s);
     }},
    {"gifImageOnePixelWiderThanTheSideLimit",
     [] {
       GifRecipe s = oneFrameGif();
       s.images[0].width = kMaxPictureSide + 1;
       s.images[0].indexes.assign(kMaxPictureSide + 1, 1);
       return gifFile(s);
     }},
    {"gifNoColourTable",
     [] {
       GifRecipe s = oneFrameGif();
       s.palette.clear();
       return gifFile(s);
     }},
    {"gifNoImage",
     [] {
       GifRecipe s = oneFrameGif();
       s.images.clear();
       return gifFile(s);
     }},
    {"gifCodeSizeZero",
     [] {
       GifRecipe s = oneFrameGif();
       s.images[0].minCodeSize = 0;
       s.images[0].lzw = {0};
       return gifFile(s);
     }},
    {"gifCodeSizeTwelve",
     [] {
       GifRecipe s = oneFrameGif();
       s.images[0].minCodeSize = 12;
       s.images[0].lzw = {0, 0};
       return gifFile(s);
     }},
    {"gifDataEndsEarly",
     [] {
       GifRecipe s = oneFrameGif();
       s.images[0].width = 3;
       return gifFile(s);
     }},
    {"gifUnknownBlock",
     [] {
       ByteSet b = gifFile(oneFrameGif());
       b.insert(b.end() - 1, 0x99);
       return b;
     }},
    {"gifSubBlockPastTheEnd",
     [] {
       ByteSet b = gifFile(oneFrameGif());
       b.resize(b.size() - 2);  // drop the block terminator and the trailer
       b.push_back(0x40);
       return b;
     }},
    {"gifShortControlBlock",
     [] {
       ByteSet b = gifFile(oneFrameGif());
       b.at(find(b, {0x21, 0xF9}) + 2) = 2;
       return b;
     }},
    {"gifControlBlockOfThreeBytes",
     [] {
       // Whole as a block, but its transparent index would be the terminator after it.
       ByteSet b = gifFile(oneFrameGif());
       const std::size_t at = find(b, {0x21, 0xF9});
       b.at(at + 2) = 3;
       b.erase(b.begin() + at + 6);
       return b;
     }},
    // BMP
    {"bmpSevenBits",
     [] {
       BmpRecipe s = smallBmp();
       s.bpp = 7;
       return bmpFile(s);
     }},
    {"bmpEmbeddedJpeg",
     [] {
       BmpRecipe s = smallBmp();
       s.compression = 4;
       return bmpFile(s);
     }},
    {"bmpBitFieldsWithTwentyFourBits",
     [] {
       BmpRecipe s = smallBmp();
       s.compression = 3, s.masks = {0xFF0000, 0xFF00, 0xFF};
       return bmpFile(s);
     }},
    {"bmpRle4WithEightBits",
     [] {
       BmpRecipe s = smallBmp();
       s.bpp = 8, s.compression = 2, s.palette = kTwo, s.pixels = {1, 1, 0, 1};
       return bmpFile(s);
     }},
    {"bmpRleWithTwentyFourBits",
     [] {
       BmpRecipe s = smallBmp();
       s.compression = 1;
       return bmpFile(s);
     }},
    {"bmpZeroWidth",
     [] {
       BmpRecipe s = smallBmp();
       s.width = 0;
       return bmpFile(s);
     }},
    {"bmpZeroHeight",
     [] {
       BmpRecipe s = smallBmp();
       s.height = 0;
       return bmpFile(s);
     }},
    {"bmpMostNegativeHeight",
     [] {
       BmpRecipe s = smallBmp();
       s.height = INT32_MIN;
       return bmpFile(s);
     }},
    {"bmpHugeAndShort",
     [] {
       BmpRecipe s = smallBmp();
       s.width = 16000, s.height = 1000;
       return bmpFile(s);
     }},
    {"bmpHeaderSizeTwenty",
     [] {
       ByteSet b = bmpFile(smallBmp());
       put32(b, 14, 20);
       return b;
     }},
    {"bmpHeaderSizeThirtyNine",
     [] {
       ByteSet b = bmpFile(smallBmp());
       put32(b, 14, 39);
       return b;
     }},
    {"bmpHeaderLongerThanTheFile",
     [] {
       ByteSet b = bmpFile(smallBmp());
       put32(b, 14, 100000);
       return b;
     }},
    {"bmpPixelOffsetPastTheEnd",
     [] {
       ByteSet b = bmpFile(smallBmp());
       put32(b, 10, 1000);
       return b;
     }},
    {"bmpTooManyPaletteColours",
     [] {
       BmpRecipe s = smallBmp();
       s.bpp = 8, s.clrUsed = 1000, s.palette.assign(1000, 0);
       return bmpFile(s);
     }},
    {"bmpOnePaletteColourMoreThanEightBitsHold",
     [] {
       BmpRecipe s = smallBmp();
       s.bpp = 8, s.clrUsed = 257, s.palette.assign(257, 0);
       return bmpFile(s);
     }},
    {"bmpColourHintOverTheLimit",
     [] {
       BmpRecipe s = smallBmp();
       s.clrUsed = 65537, s.palette.assign(65537, 0);
       return bmpFile(s);
     }},
    {"bmpRleEndsWithoutEndMark",
     [] {
       BmpRecipe s = smallBmp();
       s.bpp = 8, s.compression = 1, s.height = 2, s.palette = kTwo, s.pixels = {1, 1, 0, 0};
       return bmpFile(s);
     }},
    {"bmpRle4OddLiteralPastTheEnd",
     [] {
       BmpRecipe s = smallBmp();
       // Three indexes take two bytes; the file ends after one.
       s.width = 4, s.bpp = 4, s.compression = 2, s.palette = kTwo, s.pixels = {0, 3, 0x10};
       return bmpFile(s);
     }},
    {"bmpRleAbsoluteRunPastTheEnd",
     [] {
       BmpRecipe s = smallBmp();
       // Wide enough for the run to reach past the last byte, were it not checked.
       s.width = 64, s.bpp = 8, s.compression = 1, s.palette = kTwo, s.pixels = {0, 200, 1};
       return bmpFile(s);
     }},
    // ICO
    {"icoImagePastTheEnd", [] { return iconWith([](ByteSet& b) { put32(b, 6 + 12, 5000); }); }},
    {"icoImageSizePastTheEnd", [] { return iconWith([](ByteSet& b) { put32(b, 6 + 8, 5000); }); }},
    {"icoDirectoryCut", [] { return iconWith([](ByteSet& b) { put16(b, 4, 2); }); }},
    {"icoTopDownImage",
     [] { return iconWith([](ByteSet& b) { put32(b, 22 + 8, std::uint32_t(-2)); }); }},
    {"icoImageShorterThanThePngSignature",
     [] {
       return iconFile({{1, 1, 24, {0x89, 'P', 'N', 'G'}}});
     }},
    {"icoImageBadDepth", [] { return iconWith([](ByteSet& b) { put16(b, 22 + 14, 3); }); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, Corrupted, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

// Random damage anywhere: whatever comes out must be a well-formed picture.
TEST(RandomDamage, GivesNothingOrAWellFormedPicture) {
  std::mt19937 random(2024);
  for (const char* file : {"quadrants.jpg", "quadrants-progressive.jpg", "anim.gif",
                           "noise-interlaced.gif", "rgb24.bmp", "pal8.bmp", "three.ico"}) {
    const ByteSet whole = readFixture(file);
    for (int round = 0; round < 150; ++round) {
      ByteSet b = whole;
      const int changes = 1 + int(random() % 8);
      for (int i = 0; i < changes; ++i) b[random() % b.size()] = std::uint8_t(random());
      const auto picture = decodePicture(b);
      if (!picture) continue;
      ASSERT_FALSE(picture->frames.empty()) << file;
      ASSERT_GT(picture->width, 0);
      ASSERT_GT(picture->height, 0);
      for (const auto& f : picture->frames)
        ASSERT_EQ(f.pixels.size(), std::size_t(picture->width) * picture->height)
            << file << " round " << round;
    }
  }
}

}  // namespace
}  // namespace forms::picture_test
