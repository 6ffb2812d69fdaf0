#pragma once
// The directory at the start of an ICO or CUR file, read once for the icon decoder and
// for the runtime's cursor files.
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/values/byte_view.h"

namespace forms {

struct IconDirectoryEntry {
  std::uint8_t width = 0, height = 0;  // 0 stands for 256
  // A cursor's hot spot; in an icon the same two words hold planes and depth.
  std::uint16_t hotX = 0, hotY = 0;
  ByteView image{nullptr, 0};
};

struct IconDirectory {
  std::uint16_t reserved = 0;
  std::uint16_t type = 0;                   // 1 icon, 2 cursor
  std::vector<IconDirectoryEntry> entries;  // never empty
};

// Nothing when the file names no image, its directory is cut short, or an image lies
// outside the file.
std::optional<IconDirectory> readIconDirectory(ByteView file);

}  // namespace forms
