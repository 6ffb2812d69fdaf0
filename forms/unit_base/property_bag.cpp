#include "forms/unit_base/property_bag.h"

#include "forms/template/property_block.h"
#include "forms/template/type_tables.h"

namespace forms {

std::optional<PropertyBag> decodeProperties(UnitKind kind, const ByteSet& block) {
  std::optional<tpl::PropertyBlock> decoded = tpl::decodeBlock(kind, block);
  if (!decoded) return std::nullopt;
  const tpl::TypeLayout& plan = tpl::typeLayout(kind);
  PropertyBag bag;
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    const int number = plan.fields[i].property;
    if (number < common::kFirstTypeProperty) continue;
    if (std::optional<Value> v = tpl::blockProperty(*decoded, number)) bag[number] = std::move(*v);
  }
  return bag;
}

}  // namespace forms
