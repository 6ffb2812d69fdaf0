#pragma once
// The popup's slide cycle as a state machine: rise, rest at the top, sink, rest below the
// screen, rise again; the close mark hides it for a pause and starts a new rise.
//
// Rests are not pauses inside a handler (those would hold up every handler that runs
// inside them, the update check's box among them): a rest is one long period of the
// popup's idle slide timer, and its first tick continues the cycle. The rest goes on the
// timer that was not running just before, so a tick already queued by the timer that
// just stopped can only be a stray one, and the machine ignores it.
#include <cstdint>
#include <optional>

namespace navigator {

// The popup's cycle column, rest line and parking line, from the screen size.
constexpr int kPopupColumnOffset = 250;  // left = W - 250
constexpr int kPopupRestRise = 190;      // rest line: top = H - 190
constexpr int kPopupStep = 10;
constexpr int kPopupTickMs = 70;
constexpr std::int32_t kPopupRestBelowMs = 10000000;

enum class PopupPhase { Parked, Rising, RestingTop, Sinking, RestingBelow, Halted, Hidden };

// The screen size and the popup's position, read when a step begins.
struct PopupView {
  int screenWidth = 0;
  int screenHeight = 0;
  int left = 0;
  int top = 0;
};

// What to apply after a step, in this order: position, visibility, the interval of the
// rise timer (时钟1), the interval of the sink timer (时钟2). Unset fields stay as they are;
// a timer that is stopped is written before the one that starts.
struct PopupMoves {
  std::optional<int> left;
  std::optional<int> top;
  std::optional<bool> visible;
  std::optional<std::int32_t> riseInterval;
  std::optional<std::int32_t> sinkInterval;
};

class PopupCycle {
 public:
  // A fresh popup (also one loaded again after it was closed from outside): park it and
  // start the first rise. pauseMs is the rest at the top and the hidden pause.
  PopupMoves start(const PopupView& view, std::int32_t pauseMs);
  PopupMoves riseTick(const PopupView& view);
  PopupMoves sinkTick(const PopupView& view);
  // Ends whatever phase runs: both timers stop, the popup hides at the parking position,
  // and after the pause one new rise starts.
  PopupMoves closePressed(const PopupView& view);

  PopupPhase phase() const { return phase_; }

 private:
  enum class Timer { None, Rise, Sink };

  // Stops the running timer and starts the rest on the other one.
  PopupMoves beginRest(PopupPhase rest, std::int32_t ms);
  // Stops the rest's timer and starts the one of the next phase.
  PopupMoves endRest();

  PopupPhase phase_ = PopupPhase::Parked;
  Timer running_ = Timer::None;  // the timer that has a period now
  std::int32_t pauseMs_ = 0;
};

}  // namespace navigator
