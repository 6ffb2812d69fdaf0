#pragma once
// The SuperBar unit, as the updater uses it: a horizontal progress bar whose position
// (super_bar::kPosition) is clamped to its range and whose indicator moves there in steps.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>

#include "forms/units/controls/superbar_block.h"

namespace forms {

class SuperBar {
 public:
  // changed runs (the unit's position-changed event) when a write changed the stored position.
  SuperBar(HWND parent, const RECT& where, const SuperBarBlock& block,
           std::function<void()> changed);
  ~SuperBar();
  SuperBar(const SuperBar&) = delete;
  SuperBar& operator=(const SuperBar&) = delete;

  HWND window() const { return bar_; }

  // A stored integer property (0 for one the block does not carry).
  std::int32_t number(int property) const;
  // Stores an integer property. The position is raised to the minimum and lowered to the
  // maximum; a position written while the indicator still moves for an earlier write is
  // ignored. False when the write was ignored.
  bool setNumber(int property, std::int32_t value);
  // Whether the indicator is still on its way to the stored position.
  bool moving() const { return shown_ != target_; }

  static constexpr int kSteps = 6;
  static constexpr UINT kStepMs = 15;

 private:
  static void CALLBACK step(HWND w, UINT, UINT_PTR id, DWORD);
  void applyRange();

  std::map<int, std::int32_t> numbers_;
  std::function<void()> changed_;
  HWND bar_ = nullptr;
  int shown_ = 0;   // where the indicator stands now
  int target_ = 0;  // where it is going
  int stepsLeft_ = 0;
};

}  // namespace forms
