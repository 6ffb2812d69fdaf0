#include "navigator/popup_cycle.h"

#include "forms/values/double_compare.h"
#include "forms/values/to_number.h"

namespace navigator {
namespace {

int cycleColumn(const PopupView& view) {
  return forms::toInteger(view.screenWidth - static_cast<double>(kPopupColumnOffset));
}

bool onColumn(const PopupView& view) {
  return forms::doublesEqual(view.left, view.screenWidth - static_cast<double>(kPopupColumnOffset));
}

}  // namespace

PopupMoves PopupCycle::start(const PopupView& view, std::int32_t pauseMs) {
  pauseMs_ = pauseMs;
  phase_ = PopupPhase::Rising;
  running_ = Timer::Rise;
  PopupMoves moves;
  moves.left = cycleColumn(view);
  moves.top = view.screenHeight;
  moves.riseInterval = kPopupTickMs;
  return moves;
}

PopupMoves PopupCycle::riseTick(const PopupView& view) {
  if (running_ != Timer::Rise) return {};  // a stray tick from before the timer stopped
  if (phase_ != PopupPhase::Rising) return endRest();
  if (forms::doublesEqual(view.top, view.screenHeight - static_cast<double>(kPopupRestRise)) ||
      !onColumn(view)) {
    return beginRest(PopupPhase::RestingTop, pauseMs_);
  }
  PopupMoves moves;
  moves.visible = true;
  moves.top = forms::toInteger(view.top - static_cast<double>(kPopupStep));
  return moves;
}

PopupMoves PopupCycle::sinkTick(const PopupView& view) {
  if (running_ != Timer::Sink) return {};
  if (phase_ != PopupPhase::Sinking) return endRest();
  PopupMoves moves;
  if (!onColumn(view)) {
    // Moved sideways: the cycle halts where the popup was left, until a close.
    phase_ = PopupPhase::Halted;
    running_ = Timer::None;
    moves.sinkInterval = 0;
  } else if (view.top == view.screenHeight) {
    moves = beginRest(PopupPhase::RestingBelow, kPopupRestBelowMs);
  } else {
    moves.top = forms::toInteger(view.top + static_cast<double>(kPopupStep));
  }
  return moves;
}

PopupMoves PopupCycle::closePressed(const PopupView& view) {
  PopupMoves moves = beginRest(PopupPhase::Hidden, pauseMs_);
  moves.visible = false;
  moves.left = cycleColumn(view);
  moves.top = view.screenHeight;
  return moves;
}

PopupMoves PopupCycle::beginRest(PopupPhase rest, std::int32_t ms) {
  PopupMoves moves;
  if (running_ == Timer::Rise) moves.riseInterval = 0;
  if (running_ == Timer::Sink) moves.sinkInterval = 0;
  running_ = running_ == Timer::Rise ? Timer::Sink : Timer::Rise;
  phase_ = rest;
  if (ms <= 0) {
    // No rest at all: the next phase starts at once.
    PopupMoves next = endRest();
    if (next.riseInterval) moves.riseInterval = next.riseInterval;
    if (next.sinkInterval) moves.sinkInterval = next.sinkInterval;
    return moves;
  }
  (running_ == Timer::Rise ? moves.riseInterval : moves.sinkInterval) = ms;
  return moves;
}

PopupMoves PopupCycle::endRest() {
  PopupMoves moves;
  const Timer next = phase_ == PopupPhase::RestingTop ? Timer::Sink : Timer::Rise;
  phase_ = next == Timer::Sink ? PopupPhase::Sinking : PopupPhase::Rising;
  if (running_ != next) (running_ == Timer::Rise ? moves.riseInterval : moves.sinkInterval) = 0;
  (next == Timer::Rise ? moves.riseInterval : moves.sinkInterval) = kPopupTickMs;
  running_ = next;
  return moves;
}

}  // namespace navigator
