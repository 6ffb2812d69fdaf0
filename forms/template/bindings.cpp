#include "forms/template/bindings.h"

namespace forms::tpl {

BindingLookup resolveBinding(const Segment& segment, Id window, Id unit, std::int32_t event) {
  const WindowRecord* w = segment.find(window);
  if (!w) return {BindingStatus::WindowMissing, kNoHandler};
  const UnitRecord* u = unit == 0 ? &w->ownUnit() : w->find(unit);
  if (!u) return {BindingStatus::UnitMissing, kNoHandler};
  u = bindingRecord(*w, *u);
  if (u->typeCode == kMenuItemTypeCode) {
    if (event == 0 && u->menuHandlerRef != kNoHandler)
      return {BindingStatus::Handled, u->menuHandlerRef};
    return {BindingStatus::NotHandled, kNoHandler};
  }
  if (!u->type) return {BindingStatus::UnitInvalid, kNoHandler};
  for (const EventBinding& b : u->bindings) {
    if (b.eventIndex != event) continue;
    if (b.handlerRef == kNoHandler) break;
    return {BindingStatus::Handled, b.handlerRef};
  }
  return {BindingStatus::NotHandled, kNoHandler};
}

const char* bindingFailureText(BindingStatus status) {
  switch (status) {
    case BindingStatus::WindowMissing: return kEventWindowMissing;
    case BindingStatus::UnitMissing: return kEventUnitMissing;
    case BindingStatus::UnitInvalid: return kEventUnitInvalid;
    default: return nullptr;
  }
}

}  // namespace forms::tpl
