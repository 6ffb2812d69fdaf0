#pragma once
// Bounds-checked reading of a unit's stored property block (little-endian fields).
#include <cstddef>
#include <cstdint>

#include "forms/core/text.h"

namespace forms {

class BlockReader {
 public:
  BlockReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit BlockReader(const ByteSet& block) : BlockReader(block.data(), block.size()) {}

  // Each read fails, leaving the output alone, when it would run past the block's end.
  bool u32(std::uint32_t& out);
  bool i32(std::int32_t& out);
  bool raw(std::size_t n, ByteSet& out);
  bool skip(std::size_t n);
  // A length, then that many bytes; a length of 0 or less is empty and has no bytes.
  bool bytes(ByteSet& out);
  // As bytes(), the text ending at its first zero byte.
  bool text(Text& out);

  std::size_t left() const { return size_ - at_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace forms
