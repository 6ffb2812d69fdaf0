#include "forms/controls/block_reader.h"

#include <cstring>

namespace forms {

bool BlockReader::u32(std::uint32_t& out) {
  if (left() < 4) return false;
  const std::uint8_t* p = data_ + at_;
  out = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  at_ += 4;
  return true;
}

bool BlockReader::i32(std::int32_t& out) {
  std::uint32_t v;
  if (!u32(v)) return false;
  std::memcpy(&out, &v, sizeof(out));
  return true;
}

bool BlockReader::raw(std::size_t n, ByteSet& out) {
  if (left() < n) return false;
  out.assign(data_ + at_, data_ + at_ + n);
  at_ += n;
  return true;
}

bool BlockReader::skip(std::size_t n) {
  if (left() < n) return false;
  at_ += n;
  return true;
}

bool BlockReader::bytes(ByteSet& out) {
  const std::size_t start = at_;
  std::int32_t length;
  if (!i32(length)) return false;
  if (length <= 0) {
    out.clear();
    return true;
  }
  if (!raw(static_cast<std::size_t>(length), out)) {
    at_ = start;
    return false;
  }
  return true;
}

bool BlockReader::text(Text& out) {
  ByteSet b;
  if (!bytes(b)) return false;
  out.assign(b.begin(), b.end());
  out.resize(std::strlen(out.c_str()));
  return true;
}

}  // namespace forms
