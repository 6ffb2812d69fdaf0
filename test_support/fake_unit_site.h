#pragma once
// Test double for the runtime's side of a unit: records raised events, answers for the
// other units from maps.
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "forms/runtime/unit.h"

namespace test_support {

using forms::HandlerResult;
using forms::UnitId;
using forms::UnitSite;

class FakeUnitSite : public UnitSite {
 public:
  HandlerResult raise(int event, std::vector<std::int32_t> args = {}) override {
    raised.emplace_back(event, std::move(args));
    return answer;
  }
  HWND unitWindow(UnitId unit) const override {
    const auto found = windows.find(unit);
    return found == windows.end() ? nullptr : found->second;
  }
  bool unitVisible(UnitId unit) const override {
    return visible.count(unit) ? visible.at(unit) : true;
  }
  std::uint32_t unitTabOrder(UnitId unit) const override {
    return tabOrder.count(unit) ? tabOrder.at(unit) : 0;
  }
  void setTimer(UINT periodMs, std::function<void()> elapsed) override {
    timerPeriod = periodMs;
    timerElapsed = std::move(elapsed);
  }
  void killTimer() override {
    timerPeriod = 0;
    timerElapsed = nullptr;
  }
  HWND taskbarlessOwner() const override { return nullptr; }

  std::vector<std::pair<int, std::vector<std::int32_t>>> raised;
  HandlerResult answer;
  std::map<UnitId, HWND> windows;
  std::map<UnitId, bool> visible;
  std::map<UnitId, std::uint32_t> tabOrder;
  UINT timerPeriod = 0;  // 0: no timer set
  std::function<void()> timerElapsed;
};

}  // namespace test_support
