#include "forms/drawing/property_bag.h"

#include "forms/template/property_block.h"
#include "forms/template/type_tables.h"

namespace forms {

std::optional<PropertyBag> decodeProperties(UnitKind kind, const ByteSet& block) {
  const auto type = static_cast<tpl::UnitType>(kind);
  std::optional<tpl::PropertyBlock> decoded = tpl::decodeBlock(type, block);
  if (!decoded) return std::nullopt;
  const tpl::TypeLayout& plan = tpl::typeLayout(type);
  PropertyBag bag;
  for (std::size_t i = 0; i < plan.fieldCount; ++i) {
    const int number = plan.fields[i].property;
    if (number < 8) continue;
    if (std::optional<Value> v = tpl::blockProperty(*decoded, number)) bag[number] = std::move(*v);
  }
  return bag;
}

}  // namespace forms
