#include "forms/controls/superbar_block.h"

#include "forms/controls/block_reader.h"

namespace forms {
namespace {

struct Word {
  int word;      // 1-based position among the 35 stored words
  int property;
  std::int32_t fallback;
  std::int32_t adjust;  // added when read back
};

// Which of the 35 words carry a property; the others carry none.
constexpr Word kWords[] = {
    {1, 13, 10, 0},  {2, 14, 1, 0},   {3, 15, 0, 0},   {4, 16, 100, 0}, {5, 17, 30, 0},  {6, 34, 0, 0},
    {7, 59, 0, 0},   {9, 49, 0, 0},   {10, 42, 0, 0},  {12, 44, 0, 0},  {13, 52, 0, 0},  {15, 54, 0, 0},
    {16, 62, 0, 0},  {18, 64, 0, 0},  {24, 8, 1, 0},   {25, 9, 0, 0},   {26, 10, 0, 0},  {27, 41, 1, -1},
    {28, 51, 1, -1}, {29, 61, 1, -1}, {30, 22, 0, 0},  {32, 18, 0, 0},  {33, 21, 0, 0},  {34, 19, 0, 0},
    {35, 65, 0, 0},
};

}  // namespace

std::optional<SuperBarBlock> decodeSuperBarBlock(const ByteSet& block) {
  SuperBarBlock out;
  for (const Word& w : kWords) out.numbers[w.property] = w.fallback + w.adjust;
  out.numbers[23] = 0;
  out.numbers[45] = 0;
  if (block.empty()) return out;

  BlockReader r(block);
  std::uint32_t version = 0;
  if (!r.u32(version)) return std::nullopt;
  for (ByteSet& list : out.pictures) {
    if (!r.bytes(list)) return std::nullopt;
  }
  std::int32_t words[35];
  for (std::int32_t& w : words) {
    if (!r.i32(w)) return std::nullopt;
  }
  if (!r.raw(60, out.font)) return std::nullopt;
  std::int32_t p23 = 0, p45 = 0;
  if (!r.i32(p23) || !r.i32(p45)) return std::nullopt;
  for (const Word& w : kWords) out.numbers[w.property] = words[w.word - 1] + w.adjust;
  out.numbers[23] = p23;
  out.numbers[45] = p45;
  return out;
}

}  // namespace forms
