// Device-independent bitmaps: 1, 4 and 8 bits through a palette (also RLE8 and RLE4),
// 16 and 32 bits with default or stored channel masks, 24 bits.

#include "forms/picture/decoders.h"

namespace forms::picture_detail {
namespace {

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6
};

struct Header {
  std::int64_t width = 0, rows = 0;
  bool topDown = false;
  int bpp = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  std::size_t paletteAt = 0, paletteCount = 0, entrySize = 4;
  std::size_t end = 0;  // after header, masks and palette
};

bool readHeader(ByteView dib, bool inIcon, Header& h) {
  std::uint32_t size;
  if (!dib.u32(0, size)) return false;
  std::uint32_t clrUsed = 0;
  std::int64_t height;
  if (size == 12) {  // the old core header
    std::uint16_t w, hh, bpp;
    if (!dib.u16(4, w) || !dib.u16(6, hh) || !dib.u16(10, bpp)) return false;
    h.width = w;
    height = hh;
    h.bpp = bpp;
    h.entrySize = 3;
  } else if (size >= 40) {
    std::int32_t w, hh;
    std::uint16_t bpp;
    if (!dib.i32(4, w) || !dib.i32(8, hh) || !dib.u16(14, bpp) || !dib.u32(16, h.compression) ||
        !dib.u32(32, clrUsed))
      return false;
    h.width = w;
    height = hh;
    h.bpp = bpp;
  } else {
    return false;
  }
  h.end = size;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    // In a 40-byte header the masks follow it; larger headers hold them inside.
    const std::size_t count = h.compression == kAlphaBitFields ? 4 : 3;
    if (size == 40) h.end += count * 4;
    for (std::size_t i = 0; i < count; ++i)
      if (!dib.u32(40 + 4 * i, h.masks[i])) return false;
    if (size >= 56 && !dib.u32(52, h.masks[3])) return false;
    if (h.bpp != 16 && h.bpp != 32) return false;
  } else if (h.compression == kRle8) {
    if (h.bpp != 8) return false;
  } else if (h.compression == kRle4) {
    if (h.bpp != 4) return false;
  } else if (h.compression != kRgb) {
    return false;
  }
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
    return false;

  h.topDown = height < 0;
  h.rows = h.topDown ? -height : height;
  if (inIcon) {
    if (h.topDown) return false;
    h.rows /= 2;
  }
  if (!fitsLimits(h.width, h.rows)) return false;

  if (clrUsed > 256 && h.bpp <= 8) return false;
  h.paletteAt = h.end;
  h.paletteCount = clrUsed ? clrUsed : (h.bpp <= 8 ? (std::size_t(1) << h.bpp) : 0);
  // Colours listed for a true-colour bitmap are only a hint for palette displays. The
  // palette begins at the header's end, so this also holds a header to the bytes.
  if (clrUsed > 65536 || !dib.has(h.paletteAt, h.paletteCount * h.entrySize)) return false;
  h.end = h.paletteAt + h.paletteCount * h.entrySize;
  return true;
}

// A channel by its mask, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (!m) return;
    while (!(m & 1)) {
      m >>= 1;
      ++shift;
    }
    max = m;
  }
  std::uint8_t operator()(std::uint32_t v) const {
    return max ? std::uint8_t(((v & mask) >> shift) * 255 / max) : 0;
  }
};

class DibDecoder {
 public:
  DibDecoder(ByteView dib, const Header& h, bool inIcon) : dib_(dib), h_(h), inIcon_(inIcon) {
    for (std::size_t i = 0; i < 256; ++i) palette_[i] = opaque(0, 0, 0);
    const std::size_t n = h.bpp <= 8 ? h.paletteCount : 0;  // at most 256: readHeader
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t* p = dib.data() + h.paletteAt + i * h.entrySize;
      palette_[i] = opaque(p[2], p[1], p[0]);
    }
    width_ = std::size_t(h.width);
    rows_ = std::size_t(h.rows);
  }

  // Writes the picture's pixels from the data at 'at'; returns where the data ended.
  bool decode(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end);
  // True when the data carried a real alpha channel (one not zero everywhere).
  bool usedAlpha() const { return usedAlpha_; }

 private:
  std::uint32_t* row(std::vector<std::uint32_t>& out, std::size_t fileRow) const {
    return out.data() + (h_.topDown ? fileRow : rows_ - 1 - fileRow) * width_;
  }
  bool decodePlain(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end);
  bool decodeRle(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end);

  ByteView dib_;
  const Header& h_;
  bool inIcon_;
  std::uint32_t palette_[256];
  std::size_t width_ = 0, rows_ = 0;
  bool usedAlpha_ = false;
};

bool DibDecoder::decode(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end) {
  return h_.compression == kRle8 || h_.compression == kRle4 ? decodeRle(at, out, end)
                                                            : decodePlain(at, out, end);
}

bool DibDecoder::decodePlain(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end) {
  const std::uint64_t stride = (std::uint64_t(width_) * h_.bpp + 31) / 32 * 4;
  // Checked before any allocation: a header cannot make us reserve what the file lacks.
  if (!dib_.has(at, stride * rows_)) return false;
  out.assign(width_ * rows_, 0);

  std::uint32_t masks[4] = {h_.masks[0], h_.masks[1], h_.masks[2], h_.masks[3]};
  const bool fields = h_.compression == kBitFields || h_.compression == kAlphaBitFields;
  if (!fields && h_.bpp == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
  } else if (!fields && h_.bpp == 32) {
    // A plain 32-bit file bitmap has an unused fourth byte; in an icon it is alpha.
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = inIcon_ ? 0xFF000000 : 0;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

  bool anyAlpha = false;
  for (std::size_t r = 0; r < rows_; ++r) {
    const std::uint8_t* in = dib_.data() + at + r * stride;
    std::uint32_t* px = row(out, r);
    for (std::size_t x = 0; x < width_; ++x) {
      switch (h_.bpp) {
        case 1: px[x] = palette_[(in[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: px[x] = palette_[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
        case 8: px[x] = palette_[in[x]]; break;
        case 24: px[x] = opaque(in[3 * x + 2], in[3 * x + 1], in[3 * x]); break;
        default: {
          const std::uint32_t v = h_.bpp == 16 ? std::uint32_t(in[2 * x] | (in[2 * x + 1] << 8))
                                               : std::uint32_t(in[4 * x]) |
                                                     (std::uint32_t(in[4 * x + 1]) << 8) |
                                                     (std::uint32_t(in[4 * x + 2]) << 16) |
                                                     (std::uint32_t(in[4 * x + 3]) << 24);
          const std::uint8_t a = alpha(v);
          anyAlpha |= a != 0;
          px[x] = (std::uint32_t(a) << 24) | (std::uint32_t(red(v)) << 16) |
                  (std::uint32_t(green(v)) << 8) | blue(v);
        }
      }
    }
  }
  // A channel of alpha that is zero everywhere was never meant as one.
  usedAlpha_ = alpha.max && anyAlpha;
  if ((h_.bpp == 16 || h_.bpp == 32) && !usedAlpha_)
    for (auto& p : out) p |= 0xFF000000u;
  end = at + std::size_t(stride * rows_);
  return true;
}

bool DibDecoder::decodeRle(std::size_t at, std::vector<std::uint32_t>& out, std::size_t& end) {
  // Pixels that the runs skip (by delta or early line ends) stay transparent.
  out.assign(width_ * rows_, 0);
  const bool four = h_.compression == kRle4;
  std::size_t x = 0, y = 0;
  // The runs stop at the row's end and the loop at the last row; put checks both again so
  // that no write can leave the picture, whatever a later change to the runs does.
  auto put = [&](std::uint8_t index) {
    if (x < width_ && y < rows_) row(out, y)[x] = palette_[index];
    ++x;
  };
  for (;;) {
    if (y >= rows_) break;
    std::uint8_t count, value;
    if (!dib_.u8(at, count) || !dib_.u8(at + 1, value)) return false;
    at += 2;
    if (count > 0) {  // a run of one index, or of two alternating ones in RLE4
      for (int i = 0; i < count && x < width_; ++i)
        put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      std::uint8_t dx, dy;
      if (!dib_.u8(at, dx) || !dib_.u8(at + 1, dy)) return false;
      at += 2;
      x += dx;
      y += dy;
    } else {  // value literal indexes, padded to a 16-bit boundary
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      if (!dib_.has(at, bytes)) return false;
      const std::uint8_t* in = dib_.data() + at;
      for (int i = 0; i < value && x < width_; ++i)
        put(four ? ((i & 1) ? in[i / 2] & 0xF : in[i / 2] >> 4) : in[i]);
      at += (bytes + 1) & ~std::size_t(1);
    }
  }
  end = at;
  return true;
}

// An icon's AND mask: a set bit makes the pixel transparent.
bool applyMask(ByteView dib, std::size_t at, const Header& h, std::vector<std::uint32_t>& out) {
  const std::size_t width = std::size_t(h.width), rows = std::size_t(h.rows);
  const std::size_t stride = (width + 31) / 32 * 4;
  if (!dib.has(at, stride * rows)) return false;
  for (std::size_t r = 0; r < rows; ++r) {
    const std::uint8_t* in = dib.data() + at + r * stride;
    std::uint32_t* px = out.data() + (rows - 1 - r) * width;
    for (std::size_t x = 0; x < width; ++x)
      if ((in[x >> 3] >> (7 - (x & 7))) & 1) px[x] = 0;
  }
  return true;
}

}  // namespace

std::optional<Picture> decodeDib(ByteView dib, std::size_t pixelOffset, bool inIcon) {
  Header h;
  if (!readHeader(dib, inIcon, h)) return std::nullopt;
  const std::size_t at = pixelOffset >= h.end ? pixelOffset : h.end;
  std::vector<std::uint32_t> pixels;
  std::size_t end = 0;
  DibDecoder decoder(dib, h, inIcon);
  if (!decoder.decode(at, pixels, end)) return std::nullopt;
  if (inIcon) {
    // Icons whose colours carry alpha need no mask, and some writers leave it out.
    if (!decoder.usedAlpha() && !applyMask(dib, end, h, pixels)) return std::nullopt;
  }
  Picture picture;
  picture.kind = inIcon ? PictureKind::Icon : PictureKind::Bmp;
  picture.width = int(h.width);
  picture.height = int(h.rows);
  picture.frames.push_back(PictureFrame{std::move(pixels), 0});
  noteTransparency(picture);
  return picture;
}

std::optional<Picture> decodeBmpFile(ByteView bytes) {
  std::uint32_t offBits;
  if (!bytes.u32(10, offBits)) return std::nullopt;  // the file header's 14 bytes
  return decodeDib(bytes.from(14), offBits >= 14 ? offBits - 14 : 0, false);
}

}  // namespace forms::picture_detail
