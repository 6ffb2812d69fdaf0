// ICO and CUR files: a directory of images, each a DIB with an AND mask or a PNG file.
// PNG images are skipped (the runtime has no PNG decoder); a file of PNG images only
// therefore decodes to nothing.
#include <algorithm>
#include <cstring>

#include "forms/picture/decoders.h"
#include "forms/picture/icon_directory.h"

namespace forms::picture_detail {
namespace {

struct Entry {
  int side = 0;  // the larger of width and height
  int bpp = 0;
  ByteView image{nullptr, 0};
};

// Whether a is a better choice than b for wantedSize (0: the largest).
bool better(const Entry& a, const Entry& b, int wanted) {
  if (a.side != b.side) {
    if (wanted <= 0) return a.side > b.side;
    if (a.side == wanted || b.side == wanted) return a.side == wanted;
    const bool aLarger = a.side > wanted, bLarger = b.side > wanted;
    if (aLarger != bLarger) return aLarger;  // scaling down beats scaling up
    return aLarger ? a.side < b.side : a.side > b.side;
  }
  return a.bpp > b.bpp;
}

}  // namespace

std::optional<Picture> decodeIconFile(ByteView bytes, int wantedSize) {
  const std::optional<IconDirectory> dir = readIconDirectory(bytes);
  if (!dir) return std::nullopt;
  std::optional<Entry> best;
  for (const IconDirectoryEntry& entry : dir->entries) {
    Entry e;
    e.image = entry.image;
    if (e.image.size() >= 8 && std::memcmp(e.image.data(), "\x89PNG\r\n\x1A\n", 8) == 0) continue;
    // The stored depth is often 0 in the directory; the DIB header knows it.
    std::uint16_t bpp = 0;
    if (!e.image.u16(14, bpp)) return std::nullopt;
    e.bpp = bpp;
    e.side = std::max(entry.width ? entry.width : 256, entry.height ? entry.height : 256);
    if (!best || better(e, *best, wantedSize)) best = e;
  }
  if (!best) return std::nullopt;
  return decodeDib(best->image, 0, true);
}

}  // namespace forms::picture_detail
