#include "forms/picture/picture_files.h"

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

namespace forms::picture_test {
namespace {

void put16(ByteSet& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void put32(ByteSet& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void putRgb(ByteSet& out, std::uint32_t rgb) {
  out.push_back(std::uint8_t(rgb >> 16));
  out.push_back(std::uint8_t(rgb >> 8));
  out.push_back(std::uint8_t(rgb));
}
int log2Entries(std::size_t n) {  // the packed size field of a colour table of n entries
  int bits = 0;
  while ((std::size_t(2) << bits) < n) ++bits;
  return bits;
}

}  // namespace

ByteSet readFixture(const std::string& name) {
  std::ifstream in("test_data/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + name);
  return ByteSet(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t pixelAt(const Picture& picture, int x, int y, std::size_t frame) {
  return picture.frames.at(frame).pixels.at(std::size_t(y) * picture.width + x);
}

std::vector<std::uint8_t> noiseIndexes(int width, int height) {
  std::vector<std::uint8_t> out;
  std::uint64_t s = 12345;
  for (int i = 0; i < width * height; ++i) {
    s = (s * 1103515245 + 12345) % (std::uint64_t(1) << 31);
    out.push_back(std::uint8_t((s >> 16) & 0xFF));
  }
  return out;
}

std::uint32_t noiseColour(std::uint8_t i) {
  return 0xFF000000u | (std::uint32_t(i) << 16) | (std::uint32_t(255 - i) << 8) | ((i * 3u) % 256);
}

ByteSet lzwEncode(const std::vector<std::uint8_t>& indexes, int minCodeSize, bool clearWhenFull) {
  const int clear = 1 << minCodeSize;
  ByteSet out;
  std::uint32_t bits = 0;
  int bitCount = 0;
  int width = minCodeSize + 1;
  auto emit = [&](int code) {
    bits |= std::uint32_t(code) << bitCount;
    bitCount += width;
    while (bitCount >= 8) {
      out.push_back(std::uint8_t(bits));
      bits >>= 8;
      bitCount -= 8;
    }
  };
  // The width follows the decoder: it reads a code, then adds an entry (except after a
  // clear), and widens once the next code no longer fits.
  std::map<std::pair<int, int>, int> table;
  int encoderNext = clear + 2, decoderNext = clear + 2;
  bool afterClear = true;
  auto emitData = [&](int code) {
    emit(code);
    if (!afterClear && decoderNext < 4096) {
      ++decoderNext;
      if (decoderNext == (1 << width) && width < 12) ++width;
    }
    afterClear = false;
  };
  auto reset = [&] {
    emit(clear);
    table.clear();
    width = minCodeSize + 1;
    encoderNext = decoderNext = clear + 2;
    afterClear = true;
  };
  reset();
  int current = -1;
  for (std::uint8_t k : indexes) {
    if (current < 0) {
      current = k;
      continue;
    }
    auto found = table.find({current, k});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emitData(current);
    if (encoderNext < 4096) {
      table[{current, k}] = encoderNext++;
    } else if (clearWhenFull) {
      reset();
    }
    current = k;
  }
  if (current >= 0) emitData(current);
  emit(clear + 1);
  if (bitCount > 0) out.push_back(std::uint8_t(bits));
  return out;
}

ByteSet gifFile(const GifRecipe& plan) {
  ByteSet out{'G', 'I', 'F', '8', '9', 'a'};
  put16(out, plan.width);
  put16(out, plan.height);
  out.push_back(plan.palette.empty() ? 0 : std::uint8_t(0x80 | log2Entries(plan.palette.size())));
  out.push_back(0);
  out.push_back(0);
  for (auto c : plan.palette) putRgb(out, c);
  if (plan.loop >= 0) {
    out.push_back(0x21);
    out.push_back(0xFF);
    out.push_back(11);
    for (char c : std::string("NETSCAPE2.0")) out.push_back(std::uint8_t(c));
    out.push_back(3);
    out.push_back(1);
    put16(out, plan.loop);
    out.push_back(0);
  }
  for (const GifImage& im : plan.images) {
    if (im.control) {
      out.push_back(0x21);
      out.push_back(0xF9);
      out.push_back(4);
      out.push_back(std::uint8_t((im.disposal << 2) | (im.transparent >= 0 ? 1 : 0)));
      put16(out, im.delayCs);
      out.push_back(std::uint8_t(im.transparent >= 0 ? im.transparent : 0));
      out.push_back(0);
    }
    out.push_back(0x2C);
    put16(out, im.left);
    put16(out, im.top);
    put16(out, im.width);
    put16(out, im.height);
    std::uint8_t packed = im.interlaced ? 0x40 : 0;
    if (!im.localPalette.empty())
      packed |= std::uint8_t(0x80 | log2Entries(im.localPalette.size()));
    out.push_back(packed);
    for (auto c : im.localPalette) putRgb(out, c);
    out.push_back(std::uint8_t(im.minCodeSize));
    const ByteSet data = im.lzw.empty() ? lzwEncode(im.indexes, im.minCodeSize) : im.lzw;
    for (std::size_t at = 0; at < data.size(); at += plan.subBlock) {
      const std::size_t n = std::min(plan.subBlock, data.size() - at);
      out.push_back(std::uint8_t(n));
      out.insert(out.end(), data.begin() + at, data.begin() + at + n);
    }
    out.push_back(0);
  }
  if (plan.trailer) out.push_back(0x3B);
  return out;
}

ByteSet dibBytes(const BmpRecipe& plan) {
  ByteSet out;
  put32(out, plan.headerSize);
  if (plan.headerSize == 12) {
    put16(out, std::uint32_t(plan.width));
    put16(out, std::uint32_t(plan.height));
    put16(out, 1);
    put16(out, plan.bpp);
  } else {
    put32(out, std::uint32_t(plan.width));
    put32(out, std::uint32_t(plan.height));
    put16(out, 1);
    put16(out, plan.bpp);
    put32(out, plan.compression);
    put32(out, std::uint32_t(plan.pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    // A palette shorter than the depth allows must be counted, or readers expect all.
    const bool shortPalette = plan.bpp <= 8 && plan.palette.size() < (std::size_t(1) << plan.bpp);
    put32(out, plan.clrUsed ? plan.clrUsed : shortPalette ? std::uint32_t(plan.palette.size()) : 0);
    put32(out, 0);
    if (plan.headerSize == 40) {
      for (auto m : plan.masks) put32(out, m);
    } else {
      for (std::size_t i = 0; i < 4; ++i) put32(out, i < plan.masks.size() ? plan.masks[i] : 0);
      out.resize(out.size() + plan.headerSize - 56, 0);
    }
  }
  for (auto c : plan.palette) {
    out.push_back(std::uint8_t(c));
    out.push_back(std::uint8_t(c >> 8));
    out.push_back(std::uint8_t(c >> 16));
    if (plan.headerSize != 12) out.push_back(0);
  }
  out.resize(out.size() + plan.gap, 0);
  out.insert(out.end(), plan.pixels.begin(), plan.pixels.end());
  return out;
}

ByteSet bmpFile(const BmpRecipe& plan) {
  const ByteSet dib = dibBytes(plan);
  ByteSet out{'B', 'M'};
  put32(out, std::uint32_t(14 + dib.size()));
  put32(out, 0);
  put32(out, std::uint32_t(14 + dib.size() - plan.pixels.size()));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

ByteSet iconFile(const std::vector<IconImage>& images, int type) {
  ByteSet out;
  put16(out, 0);
  put16(out, std::uint32_t(type));
  put16(out, std::uint32_t(images.size()));
  std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
  for (const IconImage& im : images) {
    out.push_back(std::uint8_t(im.width));
    out.push_back(std::uint8_t(im.height));
    out.push_back(0);
    out.push_back(0);
    put16(out, 1);
    put16(out, std::uint32_t(im.bpp));
    put32(out, std::uint32_t(im.image.size()));
    put32(out, offset);
    offset += std::uint32_t(im.image.size());
  }
  for (const IconImage& im : images) out.insert(out.end(), im.image.begin(), im.image.end());
  return out;
}

}  // namespace forms::picture_test
