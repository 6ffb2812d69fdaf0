#pragma once
// The variable-width LZW of GIF image data.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace forms::picture_detail {

// Decodes the concatenated data sub-blocks of one image into exactly pixelCount colour
// indexes. False for a minimum code size outside 2..8, a code that the table cannot
// hold yet, or a stream that ends (by its end code or its bytes) before pixelCount
// indexes came out. Indexes beyond pixelCount are dropped, as GIF readers do.
bool decodeGifLzw(const std::uint8_t* data, std::size_t size, int minCodeSize,
                  std::size_t pixelCount, std::vector<std::uint8_t>& indexes);

}  // namespace forms::picture_detail
