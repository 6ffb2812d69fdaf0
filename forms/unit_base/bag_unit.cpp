#include "forms/unit_base/bag_unit.h"

namespace forms {

std::optional<PropertyBag> decodeUnitBlock(const UnitPlan& plan) {
  return decodeProperties(plan.kind, plan.block);
}

}  // namespace forms
