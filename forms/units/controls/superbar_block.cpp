#include "forms/units/controls/superbar_block.h"

#include "forms/template/property_block.h"
#include "forms/template/type_tables.h"

namespace forms {

std::optional<SuperBarBlock> decodeSuperBarBlock(const ByteSet& block) {
  const auto stored = tpl::decodeBlock(UnitKind::SuperBar, block);
  if (!stored) return std::nullopt;
  SuperBarBlock out;
  const tpl::TypeLayout& plan = tpl::typeLayout(UnitKind::SuperBar);
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    const int property = plan.fields[i].property;
    if (property < common::kFirstTypeProperty) continue;
    const auto value = tpl::blockProperty(*stored, property);
    if (const auto* number = value ? std::get_if<std::int32_t>(&*value) : nullptr)
      out.numbers[property] = *number;
  }
  const int lists[] = {super_bar::kImageList1, super_bar::kImageList2, super_bar::kImageList3,
                       super_bar::kImageList4};
  for (int i = 0; i < 4; ++i)
    out.pictures[i] = std::get<ByteSet>(*tpl::blockProperty(*stored, lists[i]));
  out.font = tpl::blockField(*stored, super_bar::kFont)->bytes;
  return out;
}

}  // namespace forms
