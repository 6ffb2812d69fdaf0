#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "forms/picture/gif_lzw.h"
#include "forms/picture/picture_files.h"

namespace forms::picture_test {
namespace {

using picture_detail::decodeGifLzw;

// black, red, green, blue
const std::vector<std::uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

GifImage image(int left, int top, int width, int height, std::vector<std::uint8_t> indexes) {
  GifImage im;
  im.left = left, im.top = top, im.width = width, im.height = height;
  im.indexes = std::move(indexes);
  return im;
}

std::vector<std::uint32_t> frame(const Picture& p, std::size_t i) { return p.frames.at(i).pixels; }

TEST(GifFiles, NoiseDecodesPixelForPixel) {
  // 6144 pixels of noise fill the 4096-entry code table more than once.
  for (const char* file : {"noise.gif", "noise-interlaced.gif"}) {
    SCOPED_TRACE(file);
    const auto picture = decodePicture(readFixture(file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->kind, PictureKind::Gif);
    ASSERT_EQ(picture->width, 96);
    ASSERT_EQ(picture->height, 64);
    ASSERT_EQ(picture->frames.size(), 1u);
    EXPECT_FALSE(picture->hasTransparency);
    const auto indexes = noiseIndexes(96, 64);
    int wrong = 0;
    for (std::size_t i = 0; i < indexes.size(); ++i)
      wrong += picture->frames[0].pixels[i] != noiseColour(indexes[i]);
    EXPECT_EQ(wrong, 0);
  }
}

TEST(GifFiles, AnimationKeepsDelaysLoopAndDisposal) {
  const auto picture = decodePicture(readFixture("anim.gif"));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->frames.size(), 3u);
  EXPECT_TRUE(picture->animated());
  EXPECT_EQ(picture->loopCount, 3);
  EXPECT_EQ(picture->frames[0].delayMs, 100);
  EXPECT_EQ(picture->frames[1].delayMs, 200);
  EXPECT_EQ(picture->frames[2].delayMs, 300);
  EXPECT_EQ(pixelAt(*picture, 0, 0, 0), kRed);
  EXPECT_EQ(pixelAt(*picture, 11, 5, 1), kGreen);
  // The last frame covers only the right half; disposal 2 cleared the green before it.
  EXPECT_EQ(pixelAt(*picture, 0, 0, 2), kClear);
  EXPECT_EQ(pixelAt(*picture, 6, 3, 2), kBlue);
  EXPECT_TRUE(picture->hasTransparency);
}

struct DisposalCase {
  int disposal;
  std::vector<std::uint32_t> third;  // the last frame on a 4 x 1 screen
};

class GifDisposal : public ::testing::TestWithParam<DisposalCase> {};

// Red over the whole screen, then blue over x 0..1 with the disposal under test, then
// green at x 2: the last frame shows what the disposal of the blue left behind.
TEST_P(GifDisposal, ComposesTheNextFrameOnWhatTheMethodLeaves) {
  GifRecipe plan{4, 1, kFour};
  plan.images.push_back(image(0, 0, 4, 1, {1, 1, 1, 1}));
  plan.images.back().disposal = 1;
  plan.images.push_back(image(0, 0, 2, 1, {3, 3}));
  plan.images.back().disposal = GetParam().disposal;
  plan.images.push_back(image(2, 0, 1, 1, {2}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->frames.size(), 3u);
  EXPECT_EQ(frame(*picture, 1), (std::vector<std::uint32_t>{kBlue, kBlue, kRed, kRed}));
  EXPECT_EQ(frame(*picture, 2), GetParam().third);
}

INSTANTIATE_TEST_SUITE_P(Methods, GifDisposal,
                         ::testing::Values(DisposalCase{0, {kBlue, kBlue, kGreen, kRed}},
                                           DisposalCase{1, {kBlue, kBlue, kGreen, kRed}},
                                           DisposalCase{2, {kClear, kClear, kGreen, kRed}},
                                           DisposalCase{3, {kRed, kRed, kGreen, kRed}},
                                           DisposalCase{5, {kBlue, kBlue, kGreen, kRed}}));

TEST(GifFrames, TransparentIndexShowsWhatLiesBelow) {
  GifRecipe plan{4, 1, kFour};
  plan.images.push_back(image(0, 0, 4, 1, {0, 1, 0, 1}));
  plan.images.back().transparent = 0;  // on the empty screen: transparent
  plan.images.back().delayCs = 7;
  plan.images.push_back(image(0, 0, 4, 1, {2, 0, 2, 0}));
  plan.images.back().transparent = 0;
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(frame(*picture, 0), (std::vector<std::uint32_t>{kClear, kRed, kClear, kRed}));
  EXPECT_EQ(frame(*picture, 1), (std::vector<std::uint32_t>{kGreen, kRed, kGreen, kRed}));
  EXPECT_EQ(picture->frames[0].delayMs, 70);
  EXPECT_TRUE(picture->hasTransparency);
}

TEST(GifFrames, ControlBlockAppliesToTheNextImageOnly) {
  GifRecipe plan{2, 1, kFour};
  plan.images.push_back(image(0, 0, 2, 1, {0, 1}));
  plan.images.back().transparent = 0;
  plan.images.back().delayCs = 50;
  plan.images.push_back(image(0, 0, 2, 1, {0, 0}));
  plan.images.back().control = false;
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->frames[1].delayMs, 0);
  EXPECT_EQ(frame(*picture, 1), (std::vector<std::uint32_t>{kBlack, kBlack}));
}

TEST(GifFrames, LocalPaletteServesItsOwnImageOnly) {
  GifRecipe plan{2, 1, kFour};
  plan.images.push_back(image(0, 0, 2, 1, {0, 1}));
  plan.images.back().localPalette = {0x112233, 0x445566};
  plan.images.push_back(image(0, 0, 1, 1, {3}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(frame(*picture, 0), (std::vector<std::uint32_t>{0xFF112233, 0xFF445566}));
  EXPECT_EQ(frame(*picture, 1), (std::vector<std::uint32_t>{kBlue, 0xFF445566}));
}

TEST(GifFrames, InterlacedRowsLandInTheirPasses) {
  const struct {
    std::vector<std::uint8_t> stored;
    std::vector<std::uint32_t> rows;
  } cases[] = {
      // Five rows are stored in the order 0, 4, 2, 1, 3 (passes 1 to 4).
      {{1, 2, 3, 0, 1}, {kRed, kBlack, kBlue, kRed, kGreen}},
      // Four in the order 0, 2, 1, 3: the second pass, from row 4, holds none.
      {{1, 2, 3, 0}, {kRed, kBlue, kGreen, kBlack}},
  };
  for (const auto& c : cases) {
    const int h = int(c.rows.size());
    GifRecipe plan{1, h, kFour};
    plan.images.push_back(image(0, 0, 1, h, c.stored));
    plan.images.back().interlaced = true;
    const auto picture = decodePicture(gifFile(plan));
    ASSERT_TRUE(picture) << h;
    EXPECT_EQ(frame(*picture, 0), c.rows) << h;
  }
}

TEST(GifFrames, ImageReachingPastTheScreenIsClipped) {
  GifRecipe plan{2, 2, kFour};
  plan.images.push_back(image(1, 1, 3, 2, {1, 2, 3, 1, 2, 3}));
  plan.images.back().disposal = 2;  // which clears the clipped rectangle only
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(frame(*picture, 0), (std::vector<std::uint32_t>{kClear, kClear, kClear, kRed}));
}

TEST(GifFrames, AScreenOfThePixelBudgetDecodes) {
  GifRecipe plan{4096, 4096, kFour};
  plan.images.push_back(image(0, 0, 2, 1, {1, 2}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(pixelAt(*picture, 1, 0), kGreen);
}

TEST(GifFrames, ImageWithoutPixelsShowsTheScreenAsItIs) {
  GifRecipe plan{2, 1, kFour};
  plan.images.push_back(image(0, 0, 2, 1, {1, 2}));
  plan.images.push_back(image(1, 0, 0, 1, {}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->frames.size(), 2u);
  EXPECT_EQ(frame(*picture, 1), (std::vector<std::uint32_t>{kRed, kGreen}));
}

TEST(GifFrames, PixelIndexBeyondTheTableIsBlack) {
  GifRecipe plan{3, 1, {0xFF0000, 0x00FF00}};
  plan.images.push_back(image(0, 0, 3, 1, {1, 2, 3}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(frame(*picture, 0), (std::vector<std::uint32_t>{kGreen, kBlack, kBlack}));
}

struct LoopCase {
  int stored;  // -1: no NETSCAPE2.0 block
  std::size_t frames;
  int loopCount;
};

class GifLoop : public ::testing::TestWithParam<LoopCase> {};

TEST_P(GifLoop, CountComesFromTheApplicationBlock) {
  GifRecipe plan{1, 1, kFour};
  plan.loop = GetParam().stored;
  for (std::size_t i = 0; i < GetParam().frames; ++i) plan.images.push_back(image(0, 0, 1, 1, {1}));
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->loopCount, GetParam().loopCount);
}

INSTANTIATE_TEST_SUITE_P(Counts, GifLoop,
                         ::testing::Values(LoopCase{-1, 2, 1}, LoopCase{0, 2, 0}, LoopCase{5, 2, 5},
                                           LoopCase{0, 1, 1}));

// The count of 5 is taken from sub-block 1 of a block of either name only, and only when
// the sub-block holds it whole; otherwise the animation plays once.
TEST(GifStructure, RepeatCountComesOnlyFromAWholeRepeatBlock) {
  const struct {
    const char* name;
    ByteSet data;  // the first sub-block, its length byte included
    int loopCount;
  } cases[] = {
      {"NETSCAPE2.0", {3, 1, 5, 0}, 5}, {"ANIMEXTS1.0", {3, 1, 5, 0}, 5},
      {"NETSCAPE2.1", {3, 1, 5, 0}, 1}, {"NETSCAPE2.0", {3, 2, 5, 0}, 1},
      {"NETSCAPE2.0", {2, 1, 5}, 1},    {"NETSCAPE2.0", {1, 1}, 1},
  };
  for (const auto& c : cases) {
    GifRecipe plan{1, 1, kFour};
    plan.loop = 5;
    plan.images = {image(0, 0, 1, 1, {1}), image(0, 0, 1, 1, {1})};
    ByteSet bytes = gifFile(plan);
    const std::string stored = "NETSCAPE2.0";
    const auto at = std::search(bytes.begin(), bytes.end(), stored.begin(), stored.end());
    std::copy(c.name, c.name + 11, at);
    ASSERT_EQ(at[11], 3);
    bytes.insert(bytes.erase(at + 11, at + 15), c.data.begin(), c.data.end());
    const auto picture = decodePicture(bytes);
    ASSERT_TRUE(picture) << c.name << " " << c.data.size();
    EXPECT_EQ(picture->loopCount, c.loopCount) << c.name << " " << c.data.size();
  }
}

TEST(GifStructure, DataSplitIntoOneByteSubBlocksAndMissingTrailerStillDecode) {
  GifRecipe plan{4, 1, kFour};
  plan.images.push_back(image(0, 0, 4, 1, {3, 2, 1, 0}));
  plan.subBlock = 1;
  plan.trailer = false;
  const auto picture = decodePicture(gifFile(plan));
  ASSERT_TRUE(picture);
  EXPECT_EQ(frame(*picture, 0), (std::vector<std::uint32_t>{kBlue, kGreen, kRed, kBlack}));
}

struct LzwCase {
  int minCodeSize;
  bool clearWhenFull;
};

class GifLzw : public ::testing::TestWithParam<LzwCase> {};

// Long enough to fill the table; random data keeps the strings short, so both the
// clearing and the full-table path (codes stay 12 bits wide) are taken.
TEST_P(GifLzw, RoundTripsThroughTheEncoder) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> indexes(20000);
  for (auto& i : indexes) i = std::uint8_t(random() % (1u << GetParam().minCodeSize));
  // Runs make long strings, which exercise the code that is not in the table yet.
  indexes.insert(indexes.end(), 3000, 1);
  const ByteSet data = lzwEncode(indexes, GetParam().minCodeSize, GetParam().clearWhenFull);
  std::vector<std::uint8_t> decoded;
  ASSERT_TRUE(
      decodeGifLzw(data.data(), data.size(), GetParam().minCodeSize, indexes.size(), decoded));
  EXPECT_EQ(decoded, indexes);
}

INSTANTIATE_TEST_SUITE_P(CodeSizes, GifLzw,
                         ::testing::Values(LzwCase{2, true}, LzwCase{2, false}, LzwCase{4, true},
                                           LzwCase{5, false}, LzwCase{8, true}, LzwCase{8, false}));

TEST(GifLzwStreams, IndexesPastThePictureAreDropped) {
  std::vector<std::uint8_t> out;
  const ByteSet good = lzwEncode({1, 2, 3, 1, 2, 3}, 2);  // the fourth code stands for 1, 2
  ASSERT_TRUE(decodeGifLzw(good.data(), good.size(), 2, 4, out));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 1}));
}

TEST(GifLzwStreams, RefusesBrokenStreams) {
  std::vector<std::uint8_t> out;
  const ByteSet good = lzwEncode({1, 2, 3, 1, 2, 3}, 2);
  EXPECT_TRUE(decodeGifLzw(good.data(), good.size(), 2, 6, out));
  EXPECT_FALSE(decodeGifLzw(good.data(), good.size(), 2, 7, out))
      << "end code before the picture is full";
  EXPECT_FALSE(decodeGifLzw(good.data(), 1, 2, 6, out)) << "bytes end before the picture is full";
  EXPECT_FALSE(decodeGifLzw(good.data(), good.size(), 1, 6, out)) << "code size below 2";
  EXPECT_FALSE(decodeGifLzw(good.data(), good.size(), 9, 6, out)) << "code size above 8";
  // 10-bit codes: clear (512), then index 300, which no byte can hold.
  const ByteSet nine = {0x00, 0b10110010, 0b00000100};
  EXPECT_FALSE(decodeGifLzw(nine.data(), nine.size(), 9, 1, out)) << "code size above 8";
  // 3-bit codes: clear (4), index 1, then code 7 while the next free code is 6.
  const ByteSet ahead = {std::uint8_t(4 | (1 << 3) | (7 << 6)), std::uint8_t(7 >> 2)};
  EXPECT_FALSE(decodeGifLzw(ahead.data(), ahead.size(), 2, 4, out)) << "code beyond the table";
  // clear, then code 6 (a string) where a plain index must come.
  const ByteSet startsWithCode = {std::uint8_t(4 | (6 << 3))};
  EXPECT_FALSE(decodeGifLzw(startsWithCode.data(), startsWithCode.size(), 2, 2, out))
      << "string code after clear";
  // The same in a stream that goes on whole: clear, 6, index 1, end.
  const ByteSet thenWhole = {std::uint8_t(4 | (6 << 3) | (1 << 6)), std::uint8_t(5 << 1)};
  EXPECT_FALSE(decodeGifLzw(thenWhole.data(), thenWhole.size(), 2, 2, out))
      << "string code after clear";
}

}  // namespace
}  // namespace forms::picture_test
