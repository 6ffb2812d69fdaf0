// The Timer unit: its interval alone says whether it runs.
#include <map>

#include "forms/win/bag_unit.h"
#include "forms/win/core.h"
#include "forms/win/hidden_window.h"
#include "forms/win/timer_unit.h"

namespace forms {

namespace {

using timer::kInterval;

std::map<UINT_PTR, UnitSite*>& timers() {
  static std::map<UINT_PTR, UnitSite*> t;
  return t;
}

class TimerUnit : public BagUnit {
 public:
  TimerUnit(PropertyBag bag, UnitSite& site) : BagUnit(std::move(bag)), site_(site) {
    static UINT_PTR nextId = kUnitTimerBase;
    id_ = ++nextId;
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
    SetTimer(hiddenWindow(), id_, static_cast<UINT>(number(kInterval)), nullptr);
    timers()[id_] = &site_;
  }
  void stop() {
    KillTimer(hiddenWindow(), id_);
    timers().erase(id_);
  }

  UnitSite& site_;
  UINT_PTR id_ = 0;
};

}  // namespace

void timerElapsed(UINT_PTR id) {
  auto it = timers().find(id);
  if (it != timers().end()) it->second->raise(timer::kTick);
}

void stopAllTimers() {
  for (auto& [id, site] : timers()) KillTimer(hiddenWindow(), id);
  timers().clear();
}

std::unique_ptr<UnitControl> makeTimerUnit(const UnitPlan& plan, UnitSite& site) {
  std::optional<PropertyBag> bag = decodeUnitBlock(plan);
  if (!bag) return nullptr;
  return std::make_unique<TimerUnit>(std::move(*bag), site);
}

}  // namespace forms
