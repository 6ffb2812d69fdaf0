#include "forms/picture/icon_directory.h"

namespace forms {

std::optional<IconDirectory> readIconDirectory(ByteView file) {
  IconDirectory dir;
  std::uint16_t count;
  if (!file.u16(0, dir.reserved) || !file.u16(2, dir.type) || !file.u16(4, count) || count == 0)
    return std::nullopt;
  dir.entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * std::size_t{i};
    IconDirectoryEntry e;
    std::uint32_t size, offset;
    if (!file.u8(at, e.width) || !file.u8(at + 1, e.height) || !file.u16(at + 4, e.hotX) ||
        !file.u16(at + 6, e.hotY) || !file.u32(at + 8, size) || !file.u32(at + 12, offset) ||
        !file.has(offset, size))
      return std::nullopt;
    e.image = file.part(offset, size);
    dir.entries.push_back(e);
  }
  return dir;
}

}  // namespace forms
