#pragma once
// Little-endian reads and writes over a byte range, in order. Every read checks the range
// first and fails, consuming nothing, when it would run past the end.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "forms/values/byte_view.h"
#include "forms/values/text.h"

namespace forms::tpl {

class ByteCursor {
 public:
  ByteCursor(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::size_t position() const { return at_; }
  std::size_t left() const { return bytes_.size() - at_; }

  bool u32(std::uint32_t& out) { return bytes_.u32(at_, out) && skip(4); }
  bool i32(std::int32_t& out) { return bytes_.i32(at_, out) && skip(4); }
  bool u16(std::uint32_t& out) {
    std::uint16_t v;
    if (!bytes_.u16(at_, v)) return false;
    out = v;
    return skip(2);
  }
  bool skip(std::size_t n) {
    if (left() < n) return false;
    at_ += n;
    return true;
  }
  bool raw(std::size_t n, ByteSet& out) {
    if (left() < n) return false;
    if (n == 0) {
      out.clear();
      return true;
    }
    out.assign(data() + at_, data() + at_ + n);
    at_ += n;
    return true;
  }
  // lenBytes: a length of 0 or less is empty and followed by no bytes.
  bool lenBytes(ByteSet& out) {
    std::size_t start = at_;
    std::int32_t n;
    if (!i32(n)) return false;
    if (n <= 0) {
      out.clear();
      return true;
    }
    if (!raw(static_cast<std::size_t>(n), out)) {
      at_ = start;
      return false;
    }
    return true;
  }
  // lenText: as lenBytes, the text ending at its first zero byte.
  bool lenText(Text& out) {
    ByteSet bytes;
    if (!lenBytes(bytes)) return false;
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0) ++n;
    out.assign(reinterpret_cast<const char*>(bytes.data()), n);
    return true;
  }
  // cstr: bytes up to one zero byte, which must lie inside the range.
  bool cstr(Text& out) {
    if (left() == 0) return false;
    const void* zero = std::memchr(data() + at_, 0, left());
    if (!zero) return false;
    std::size_t n = static_cast<const std::uint8_t*>(zero) - (data() + at_);
    out.assign(reinterpret_cast<const char*>(data() + at_), n);
    at_ += n + 1;
    return true;
  }

 private:
  const std::uint8_t* data() const { return bytes_.data(); }

  ByteView bytes_;
  std::size_t at_ = 0;
};

class ByteWriter {
 public:
  ByteSet& bytes() { return out_; }

  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void u16(std::uint32_t v) {
    out_.push_back(static_cast<std::uint8_t>(v));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
  void raw(const std::uint8_t* p, std::size_t n) {
    if (n) out_.insert(out_.end(), p, p + n);
  }
  void raw(const ByteSet& b) { raw(b.data(), b.size()); }
  void lenBytes(const ByteSet& b) {
    u32(static_cast<std::uint32_t>(b.size()));
    raw(b);
  }
  void lenText(const Text& t) {
    u32(static_cast<std::uint32_t>(t.size()));
    raw(reinterpret_cast<const std::uint8_t*>(t.data()), t.size());
  }
  void cstr(const Text& t) {
    raw(reinterpret_cast<const std::uint8_t*>(t.data()), t.size());
    out_.push_back(0);
  }
  // Overwrites a u32 written earlier.
  void patch(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }

 private:
  ByteSet out_;
};

}  // namespace forms::tpl
