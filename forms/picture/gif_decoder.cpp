// GIF 87a/89a, every image composited onto the logical screen. What lies outside any
// image, and what disposal 2 restores, is transparent rather than the stored
// background colour, as web browsers show it.
#include <algorithm>
#include <array>
#include <cstring>

#include "forms/picture/decoders.h"
#include "forms/picture/gif_lzw.h"

namespace forms::picture_detail {
namespace {

using Palette = std::array<std::uint32_t, 256>;

struct Control {  // graphic control extension, for the next image only
  int disposal = 0;
  int delayMs = 0;
  int transparent = -1;
};

class GifReader {
 public:
  explicit GifReader(ByteView bytes) : bytes_(bytes) {}

  std::optional<Picture> read();

 private:
  bool readPalette(int entries, Palette& palette, int& count);
  // Gathers the data sub-blocks from at_ into out (if given) up to the zero block.
  bool readSubBlocks(std::vector<std::uint8_t>* out);
  bool readExtension();
  bool readImage();

  ByteView bytes_;
  std::size_t at_ = 0;
  Picture picture_;
  Palette global_{};
  int globalCount_ = 0;
  Control control_;
  std::vector<std::uint32_t> canvas_;
};

bool GifReader::readPalette(int entries, Palette& palette, int& count) {
  if (!bytes_.has(at_, std::size_t(entries) * 3)) return false;
  const std::uint8_t* p = bytes_.data() + at_;
  for (int i = 0; i < entries; ++i, p += 3) palette[i] = opaque(p[0], p[1], p[2]);
  count = entries;
  at_ += std::size_t(entries) * 3;
  return true;
}

bool GifReader::readSubBlocks(std::vector<std::uint8_t>* out) {
  for (;;) {
    std::uint8_t n;
    if (!bytes_.u8(at_, n) || !bytes_.has(at_ + 1, n)) return false;
    ++at_;
    if (n == 0) return true;
    if (out) out->insert(out->end(), bytes_.data() + at_, bytes_.data() + at_ + n);
    at_ += n;
  }
}

bool GifReader::readExtension() {
  std::uint8_t label, size;
  if (!bytes_.u8(at_, label)) return false;
  ++at_;
  if (label == 0xF9) {
    std::uint8_t packed, index;
    std::uint16_t delay;
    // A block longer than the file is refused by the sub-block read after it.
    if (!bytes_.u8(at_, size) || size < 4 || !bytes_.u8(at_ + 1, packed) ||
        !bytes_.u16(at_ + 2, delay) || !bytes_.u8(at_ + 4, index))
      return false;
    control_.disposal = (packed >> 2) & 7;
    control_.delayMs = delay * 10;
    control_.transparent = (packed & 1) ? index : -1;
    at_ += 1 + std::size_t(size);
    return readSubBlocks(nullptr);
  }
  if (label == 0xFF) {
    std::vector<std::uint8_t> data;
    if (!bytes_.u8(at_, size) || !bytes_.has(at_ + 1, size)) return false;
    const bool netscape =
        size == 11 && (std::memcmp(bytes_.data() + at_ + 1, "NETSCAPE2.0", 11) == 0 ||
                       std::memcmp(bytes_.data() + at_ + 1, "ANIMEXTS1.0", 11) == 0);
    at_ += 1 + std::size_t(size);
    if (!readSubBlocks(&data)) return false;
    // Sub-block 1 holds the repeat count: 0 forever, n times otherwise.
    if (netscape && data.size() >= 3 && data[0] == 1) picture_.loopCount = data[1] | (data[2] << 8);
    return true;
  }
  return readSubBlocks(nullptr);  // comments, plain text and others: skipped
}

bool GifReader::readImage() {
  std::uint16_t left, top, w, h;
  std::uint8_t packed, minCodeSize;
  if (!bytes_.u16(at_, left) || !bytes_.u16(at_ + 2, top) || !bytes_.u16(at_ + 4, w) ||
      !bytes_.u16(at_ + 6, h) || !bytes_.u8(at_ + 8, packed))
    return false;
  at_ += 9;
  Palette local;
  int localCount = 0;
  if ((packed & 0x80) && !readPalette(2 << (packed & 7), local, localCount)) return false;
  const Palette& palette = localCount ? local : global_;
  const int paletteCount = localCount ? localCount : globalCount_;
  if (paletteCount == 0) return false;

  if (!bytes_.u8(at_, minCodeSize)) return false;
  ++at_;
  std::vector<std::uint8_t> data;
  if (!readSubBlocks(&data)) return false;

  const Control control = control_;
  control_ = Control{};
  if (!fitsLimits(picture_.width, picture_.height, picture_.frames.size() + 1)) return false;

  std::vector<std::uint8_t> indexes;
  const std::size_t count = std::size_t(w) * h;
  // The image's own rectangle may be far larger than the screen it is clipped to; its
  // index buffer must stay within the limits too.
  if (count > 0 && !fitsLimits(w, h)) return false;
  if (count > 0 && !decodeGifLzw(data.data(), data.size(), minCodeSize, count, indexes))
    return false;

  // Disposal 3 puts back what was there before this image.
  std::vector<std::uint32_t> before;
  if (control.disposal == 3) before = canvas_;

  const bool interlaced = packed & 0x40;
  static constexpr int kPassStart[] = {0, 4, 2, 1}, kPassStep[] = {8, 8, 4, 2};
  int pass = 0, y = 0;
  for (int row = 0; row < h; ++row) {
    if (interlaced) {
      // Few rows may skip whole passes. The four passes hold h rows together, so a row
      // that is left always lies in one; the pass bound keeps the index in the table even so.
      while (y >= h && pass < 3) y = kPassStart[++pass];
    } else {
      y = row;
    }
    const int sy = top + y;
    if (sy < picture_.height) {
      const std::uint8_t* in = indexes.data() + std::size_t(row) * w;
      std::uint32_t* out = canvas_.data() + std::size_t(sy) * picture_.width;
      for (int x = 0, sx = left; x < w && sx < picture_.width; ++x, ++sx) {
        const int index = in[x];
        if (index == control.transparent) continue;
        out[sx] = index < paletteCount ? palette[index] : opaque(0, 0, 0);
      }
    }
    if (interlaced) y += kPassStep[pass];
  }
  picture_.frames.push_back(PictureFrame{canvas_, control.delayMs});

  if (control.disposal == 2) {
    for (int yy = top; yy < std::min<int>(top + h, picture_.height); ++yy)
      for (int xx = left; xx < std::min<int>(left + w, picture_.width); ++xx)
        canvas_[std::size_t(yy) * picture_.width + xx] = 0;
  } else if (control.disposal == 3) {
    canvas_ = std::move(before);
  }
  return true;
}

std::optional<Picture> GifReader::read() {
  std::uint16_t w, h;
  std::uint8_t packed;
  if (!bytes_.u16(6, w) || !bytes_.u16(8, h) || !bytes_.u8(10, packed)) return std::nullopt;
  at_ = 13;
  if ((packed & 0x80) && !readPalette(2 << (packed & 7), global_, globalCount_))
    return std::nullopt;
  if (!fitsLimits(w, h)) return std::nullopt;
  picture_.kind = PictureKind::Gif;
  picture_.width = w;
  picture_.height = h;
  canvas_.assign(std::size_t(w) * h, 0);

  for (;;) {
    std::uint8_t introducer;
    if (!bytes_.u8(at_, introducer))
      break;  // a missing trailer after whole blocks is common and harmless
    ++at_;
    if (introducer == 0x3B) break;
    bool ok = false;
    if (introducer == 0x21)
      ok = readExtension();
    else if (introducer == 0x2C)
      ok = readImage();
    if (!ok) return std::nullopt;
  }
  if (picture_.frames.empty()) return std::nullopt;
  if (picture_.frames.size() == 1) picture_.loopCount = 1;
  noteTransparency(picture_);
  return std::move(picture_);
}

}  // namespace

std::optional<Picture> decodeGif(ByteView bytes) { return GifReader(bytes).read(); }

}  // namespace forms::picture_detail
