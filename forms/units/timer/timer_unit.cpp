// The Timer unit: its interval alone says whether it runs.
#include "forms/units/timer/timer_unit.h"

#include <algorithm>

#include "forms/unit_base/bag_unit.h"

namespace forms {

namespace {

using timer::kInterval;

class TimerUnit : public BagUnit {
 public:
  TimerUnit(PropertyBag bag, UnitSite& site) : BagUnit(std::move(bag)), site_(site) {
    bag_[kInterval] = std::max(0, number(kInterval));
    start();
  }
  ~TimerUnit() override { stop(); }

  HWND window() const override { return nullptr; }

  bool setProperty(int index, const Value& value) override {
    if (index != kInterval) return BagUnit::setProperty(index, value);
    const std::int32_t ms = std::max(0, valueToInt(value));
    if (ms == number(kInterval)) return true;  // a running period is not restarted
    bag_[kInterval] = ms;
    stop();
    start();
    return true;
  }

 private:
  void start() {
    if (number(kInterval) <= 0) return;
    site_.setTimer(static_cast<UINT>(number(kInterval)), [this] { site_.raise(timer::kTick); });
  }
  void stop() { site_.killTimer(); }

  UnitSite& site_;
};

}  // namespace

std::unique_ptr<UnitControl> makeTimerUnit(const UnitPlan& plan, UnitSite& site) {
  std::optional<PropertyBag> bag = decodeUnitBlock(plan);
  if (!bag) return nullptr;
  return std::make_unique<TimerUnit>(std::move(*bag), site);
}

}  // namespace forms
