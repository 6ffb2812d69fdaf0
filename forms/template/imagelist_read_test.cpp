// The image-list streams that the picture generator writes must be what the platform's
// ImageList_Read accepts: same count, size and pixels.
#include <windows.h>
// Before commctrl.h, which declares ImageList_Read only when IStream is known.
#include <objidl.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/com_ptr.h"
#include "base/gdi.h"

namespace {

std::vector<std::uint8_t> readFile(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f),
                                   std::istreambuf_iterator<char>());
}

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The colour at (x, y) of image `index` as the stream's own bitmap holds it: four images
// to a row, a 24-bit bottom-up BMP after the 28-byte header.
COLORREF streamPixel(const std::vector<std::uint8_t>& s, int cx, int cy, int index, int x, int y) {
  const std::size_t bmp = 28;
  std::uint32_t bits = u32At(s, bmp + 10);
  int width = static_cast<int>(u32At(s, bmp + 18));
  int height = static_cast<int>(u32At(s, bmp + 22));
  int stride = (width * 3 + 3) & ~3;
  int px = (index % 4) * cx + x;
  int py = (index / 4) * cy + y;
  const std::uint8_t* p =
      s.data() + bmp + bits + static_cast<std::size_t>(height - 1 - py) * stride + px * 3;
  return RGB(p[2], p[1], p[0]);
}

struct ImageListOwner {
  HIMAGELIST list = nullptr;
  ImageListOwner(const ImageListOwner&) = delete;
  ImageListOwner& operator=(const ImageListOwner&) = delete;
  explicit ImageListOwner(HIMAGELIST l) : list(l) {}
  ~ImageListOwner() {
    if (list) ImageList_Destroy(list);
  }
};

HIMAGELIST readStream(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  base::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put()))) return nullptr;
  return ImageList_Read(stream.get());
}

TEST(ImageListStreams, PlatformReaderAcceptsThem) {
  InitCommonControls();
  struct Case {
    const char* path;
    int count, cx, cy;
  } cases[] = {
      {"../../navigator/windows/pictures/tabs_60.il", 4, 60, 60},
      {"../../navigator/windows/pictures/tabs_70.il", 1, 70, 70},
      {"../../updater/windows/pictures/bar_1.il", 1, 12, 19},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = readFile(c.path);
    ASSERT_GT(bytes.size(), 28u) << c.path;
    ImageListOwner list(readStream(bytes));
    ASSERT_NE(list.list, nullptr) << c.path;
    EXPECT_EQ(ImageList_GetImageCount(list.list), c.count) << c.path;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.list, &cx, &cy);
    EXPECT_EQ(cx, c.cx) << c.path;
    EXPECT_EQ(cy, c.cy) << c.path;

    const base::PaintBuffer buffer(base::WindowDc(nullptr).get(), c.cx, c.cy);
    HDC dc = buffer.dc();
    for (int i = 0; i < c.count; ++i) {
      ASSERT_TRUE(ImageList_Draw(list.list, i, dc, 0, 0, ILD_NORMAL)) << c.path << " " << i;
      for (auto [x, y] :
           {std::pair{c.cx / 2, c.cy / 2}, std::pair{3, 3}, std::pair{c.cx - 4, c.cy / 3}})
        EXPECT_EQ(GetPixel(dc, x, y), streamPixel(bytes, c.cx, c.cy, i, x, y))
            << c.path << " image " << i << " at " << x << "," << y;
    }
  }
}

}  // namespace
