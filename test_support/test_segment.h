#pragma once
// Small template segments written in the tests, through the template writer.
#include <cstdint>
#include <vector>

#include "forms/template/model.h"

namespace test_support {

using forms::ByteSet;
using forms::kFlagVisible;
using forms::Text;
using forms::UnitKind;
namespace tpl = forms::tpl;

tpl::UnitRecord unitRecord(UnitKind type, tpl::Id id, int left, int top, int width, int height,
                           std::uint32_t flags = kFlagVisible);
void bind(tpl::UnitRecord& unit, int event, const char* handler);
// Sets one stored field of the unit's block by its source name.
void setNumber(tpl::UnitRecord& unit, const char* field, std::uint32_t value);
void setText(tpl::UnitRecord& unit, const char* field, const Text& value);
void setBytes(tpl::UnitRecord& unit, const char* field, const ByteSet& value);

tpl::WindowRecord windowRecord(tpl::Id window, tpl::UnitRecord own,
                               std::vector<tpl::UnitRecord> units);
ByteSet segmentOf(const std::vector<tpl::WindowRecord>& windows);

// A 24-bit BMP file of w x h pixels, each pixel from colourAt(x, y) as 0x00BBGGRR.
template <typename F>
ByteSet bmpFile(int w, int h, F colourAt) {
  const int row = (w * 3 + 3) & ~3;
  const std::uint32_t size = 54 + static_cast<std::uint32_t>(row * h);
  ByteSet b(size, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(w));
  put32(22, static_cast<std::uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = colourAt(x, y);
      std::size_t at = 54 + static_cast<std::size_t>((h - 1 - y) * row + x * 3);
      b[at] = static_cast<std::uint8_t>(c >> 16);
      b[at + 1] = static_cast<std::uint8_t>(c >> 8);
      b[at + 2] = static_cast<std::uint8_t>(c);
    }
  return b;
}

// A RIFF WAVE file of 8-bit mono sound at `rate` samples (bytes) per second with `data`
// bytes of silence; declaredData, when given, is the length its data chunk claims.
inline ByteSet wavFile(std::uint32_t rate, std::uint32_t data,
                       std::uint32_t declaredData = 0xFFFFFFFFu) {
  ByteSet b;
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
  tag("RIFF");
  put32(36 + data);
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put32(0x00010001u);  // PCM, one channel
  put32(rate);
  put32(rate);         // bytes per second
  put32(0x00080001u);  // block align 1, 8 bits
  tag("data");
  put32(declaredData == 0xFFFFFFFFu ? data : declaredData);
  b.insert(b.end(), data, 0x80);
  return b;
}

}  // namespace test_support
