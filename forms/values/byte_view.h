#pragma once
// Bounds-checked little-endian reads at an offset, for every reader of stored or received
// bytes: each read tells whether it stayed inside the bytes, so a hostile length never
// reads past them.
#include <cstddef>
#include <cstdint>

namespace forms {

class ByteView {
 public:
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

  // True when [at, at + n) lies inside the bytes (without overflowing).
  bool has(std::size_t at, std::size_t n) const { return at <= size_ && n <= size_ - at; }

  bool u8(std::size_t at, std::uint8_t& out) const {
    if (!has(at, 1)) return false;
    out = data_[at];
    return true;
  }
  bool u16(std::size_t at, std::uint16_t& out) const {
    if (!has(at, 2)) return false;
    out = std::uint16_t(data_[at] | (data_[at + 1] << 8));
    return true;
  }
  bool u32(std::size_t at, std::uint32_t& out) const {
    if (!has(at, 4)) return false;
    out = std::uint32_t(data_[at]) | (std::uint32_t(data_[at + 1]) << 8) |
          (std::uint32_t(data_[at + 2]) << 16) | (std::uint32_t(data_[at + 3]) << 24);
    return true;
  }
  bool i32(std::size_t at, std::int32_t& out) const {
    std::uint32_t u;
    if (!u32(at, u)) return false;
    out = std::int32_t(u);
    return true;
  }

  // The bytes from at on, or an empty view when at lies past the end.
  ByteView from(std::size_t at) const {
    return at <= size_ ? ByteView(data_ + at, size_ - at) : ByteView(data_, 0);
  }
  ByteView part(std::size_t at, std::size_t n) const {
    return has(at, n) ? ByteView(data_ + at, n) : ByteView(data_, 0);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace forms
