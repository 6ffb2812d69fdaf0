#include "forms/units/controls/superbar_block.h"

#include "forms/template/property_block.h"

namespace forms {

std::optional<SuperBarBlock> decodeSuperBarBlock(const ByteSet& block) {
  const auto stored = tpl::decodeBlock(tpl::UnitType::SuperBar, block);
  if (!stored) return std::nullopt;
  SuperBarBlock out;
  // The type's numbers all lie between 8 and 65.
  for (int property = 8; property <= 65; ++property) {
    const auto value = tpl::blockProperty(*stored, property);
    if (const auto* number = value ? std::get_if<std::int32_t>(&*value) : nullptr) out.numbers[property] = *number;
  }
  const char* lists[] = {"imageList1", "imageList2", "imageList3", "imageList4"};
  for (int i = 0; i < 4; ++i) out.pictures[i] = tpl::blockField(*stored, lists[i])->bytes;
  out.font = tpl::blockField(*stored, "font")->bytes;
  return out;
}

}  // namespace forms
