#include "forms/units/controls/super_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace forms {
namespace {

constexpr char kOwnerProperty[] = "FormsSuperBar";
constexpr UINT_PTR kMoveTimer = 1;

}  // namespace

SuperBar::SuperBar(HWND parent, const RECT& where, const SuperBarBlock& block,
                   std::function<void()> changed)
    : numbers_(block.numbers), changed_(std::move(changed)) {
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&init);
  bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, where.left, where.top,
                         where.right - where.left, where.bottom - where.top, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
  if (!bar_) return;
  SetPropA(bar_, kOwnerProperty, this);
  applyRange();
  auto& position = numbers_[super_bar::kPosition];
  position = std::clamp(position, number(super_bar::kMinimum),
                        std::max(number(super_bar::kMinimum), number(super_bar::kMaximum)));
  shown_ = target_ = position;
  SendMessageA(bar_, PBM_SETPOS, shown_, 0);
}

SuperBar::~SuperBar() {
  // Only a bar that is still ours: its window may have gone with its parent.
  if (bar_ && GetPropA(bar_, kOwnerProperty) == this) {
    KillTimer(bar_, kMoveTimer);
    RemovePropA(bar_, kOwnerProperty);
    DestroyWindow(bar_);
  }
}

std::int32_t SuperBar::number(int property) const {
  const auto found = numbers_.find(property);
  return found == numbers_.end() ? 0 : found->second;
}

void SuperBar::applyRange() {
  if (bar_)
    SendMessageA(bar_, PBM_SETRANGE32, number(super_bar::kMinimum), number(super_bar::kMaximum));
}

bool SuperBar::setNumber(int property, std::int32_t value) {
  if (property != super_bar::kPosition) {
    numbers_[property] = value;
    if (property == super_bar::kMinimum || property == super_bar::kMaximum) applyRange();
    return true;
  }
  if (moving()) return false;
  const std::int32_t low = number(super_bar::kMinimum);
  const std::int32_t clamped = std::min(std::max(value, low), number(super_bar::kMaximum));
  const bool changed = clamped != number(super_bar::kPosition);
  numbers_[super_bar::kPosition] = clamped;
  target_ = clamped;
  if (bar_ && target_ != shown_) {
    stepsLeft_ = kSteps;
    SetTimer(bar_, kMoveTimer, kStepMs, step);
  } else {
    shown_ = target_;
  }
  if (changed && changed_) changed_();
  return true;
}

void CALLBACK SuperBar::step(HWND w, UINT, UINT_PTR id, DWORD) {
  auto* self = static_cast<SuperBar*>(GetPropA(w, kOwnerProperty));
  if (!self) {
    KillTimer(w, id);
    return;
  }
  // An even share of the way that is left, so that the last step lands exactly.
  self->shown_ += (self->target_ - self->shown_) / std::max(1, self->stepsLeft_);
  if (--self->stepsLeft_ <= 0) self->shown_ = self->target_;
  SendMessageA(w, PBM_SETPOS, self->shown_, 0);
  if (!self->moving()) KillTimer(w, id);
}

}  // namespace forms
