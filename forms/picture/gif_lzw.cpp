#include "forms/picture/gif_lzw.h"

#include <algorithm>
#include <array>

namespace forms::picture_detail {
namespace {

constexpr int kMaxCodes = 4096;

class BitReader {
 public:
  BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  // False once the bytes run out before width bits were gathered.
  bool read(int width, int& code) {
    while (bitCount_ < width) {
      if (at_ == size_) return false;
      bits_ |= std::uint32_t(data_[at_++]) << bitCount_;
      bitCount_ += 8;
    }
    code = int(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  std::uint32_t bits_ = 0;
  int bitCount_ = 0;
};

}  // namespace

bool decodeGifLzw(const std::uint8_t* data, std::size_t size, int minCodeSize,
                  std::size_t pixelCount, std::vector<std::uint8_t>& indexes) {
  if (minCodeSize < 2 || minCodeSize > 8) return false;
  indexes.clear();
  indexes.reserve(pixelCount);

  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  // Each code is a previous code (prefix) plus one index (suffix); first[] is the
  // first index of its whole string, which a new entry needs before it is written.
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes> first{};
  std::array<std::uint16_t, kMaxCodes> length{};
  for (int i = 0; i < clearCode; ++i) {
    suffix[i] = first[i] = std::uint8_t(i);
    length[i] = 1;
  }

  BitReader bits(data, size);
  int width = minCodeSize + 1;
  int nextCode = endCode + 1;
  int previous = -1;  // -1: right after a clear code
  std::vector<std::uint8_t> string;
  string.reserve(kMaxCodes);

  while (indexes.size() < pixelCount) {
    int code;
    if (!bits.read(width, code)) return false;
    if (code == clearCode) {
      width = minCodeSize + 1;
      nextCode = endCode + 1;
      previous = -1;
      continue;
    }
    if (code == endCode) return false;  // ended before the picture was full
    if (previous < 0) {
      if (code >= clearCode) return false;  // the first code after a clear is a plain index
      indexes.push_back(std::uint8_t(code));
      previous = code;
      continue;
    }
    // A code of 12 bits is below 4096, so even a full table has no code == nextCode.
    if (code > nextCode) return false;

    // code == nextCode is the one case where the string is not in the table yet: it is
    // the previous string plus the previous string's own first index.
    const int known = code < nextCode ? code : previous;
    string.resize(length[known]);
    for (int c = known, i = length[known] - 1; i >= 0; c = prefix[c], --i) string[i] = suffix[c];
    if (code == nextCode) string.push_back(first[previous]);

    if (nextCode < kMaxCodes) {
      prefix[nextCode] = std::uint16_t(previous);
      suffix[nextCode] = string[0];
      first[nextCode] = first[previous];
      length[nextCode] = std::uint16_t(length[previous] + 1);
      ++nextCode;
      // The table is full at 4096: the width stays 12 until the encoder clears it.
      if (nextCode == (1 << width) && width < 12) ++width;
    }
    const std::size_t room = pixelCount - indexes.size();
    indexes.insert(indexes.end(), string.begin(), string.begin() + std::min(room, string.size()));
    previous = code;
  }
  return true;
}

}  // namespace forms::picture_detail
