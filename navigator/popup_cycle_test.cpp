#include "navigator/popup_cycle.h"

#include <gtest/gtest.h>

namespace navigator {
namespace {

constexpr std::int32_t kPause = 100000;

// The popup as the glue would drive it: a position, a visibility and two timer intervals.
struct FakePopup {
  PopupView view{1024, 768, 387, 302};  // created centred
  bool visible = true;
  std::int32_t rise = 0;
  std::int32_t sink = 0;

  void apply(const PopupMoves& m) {
    if (m.left) view.left = *m.left;
    if (m.top) view.top = *m.top;
    if (m.visible) visible = *m.visible;
    if (m.riseInterval) rise = *m.riseInterval;
    if (m.sinkInterval) sink = *m.sinkInterval;
    EXPECT_FALSE(rise > 0 && sink > 0) << "both timers run";
  }
};

struct Driven {
  PopupCycle cycle;
  FakePopup popup;

  Driven() { popup.apply(cycle.start(popup.view, kPause)); }
  void riseTick() { popup.apply(cycle.riseTick(popup.view)); }
  void sinkTick() { popup.apply(cycle.sinkTick(popup.view)); }
  void close() { popup.apply(cycle.closePressed(popup.view)); }
  void riseTicks(int n) {
    for (int i = 0; i < n; ++i) riseTick();
  }
  void sinkTicks(int n) {
    for (int i = 0; i < n; ++i) sinkTick();
  }
};

TEST(PopupCycle, RunsTheWholeCycleInTwentyTicksEachWay) {
  Driven d;
  EXPECT_EQ(d.popup.view.left, 774);
  EXPECT_EQ(d.popup.view.top, 768);
  EXPECT_EQ(d.popup.rise, 70);

  d.riseTicks(19);
  EXPECT_EQ(d.popup.view.top, 578);
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Rising);
  d.riseTick();  // the 20th tick begins the rest at the top on the idle sink timer
  EXPECT_EQ(d.cycle.phase(), PopupPhase::RestingTop);
  EXPECT_EQ(d.popup.rise, 0);
  EXPECT_EQ(d.popup.sink, kPause);

  d.sinkTick();  // end of the rest
  EXPECT_EQ(d.popup.sink, 70);
  EXPECT_EQ(d.popup.view.top, 578);
  d.sinkTicks(19);
  EXPECT_EQ(d.popup.view.top, 768);
  EXPECT_TRUE(d.popup.visible);  // a sink leaves it shown, below the screen
  d.sinkTick();
  EXPECT_EQ(d.cycle.phase(), PopupPhase::RestingBelow);
  EXPECT_EQ(d.popup.sink, 0);
  EXPECT_EQ(d.popup.rise, kPopupRestBelowMs);

  d.riseTick();
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Rising);
  EXPECT_EQ(d.popup.rise, 70);
  d.riseTick();
  EXPECT_EQ(d.popup.view.top, 758);
}

TEST(PopupCycle, IgnoresTicksOfTheTimerThatIsNotRunning) {
  Driven d;
  d.sinkTick();
  EXPECT_EQ(d.popup.view.top, 768);
  d.riseTicks(20);
  d.riseTick();  // queued before the rise timer stopped: must not end the rest
  EXPECT_EQ(d.cycle.phase(), PopupPhase::RestingTop);
  EXPECT_EQ(d.popup.sink, kPause);
}

TEST(PopupCycle, SidewaysMoveRestsThenHaltsUntilAClose) {
  Driven d;
  d.riseTicks(5);
  d.popup.view.left -= 30;  // dragged
  d.riseTick();
  EXPECT_EQ(d.cycle.phase(), PopupPhase::RestingTop);
  EXPECT_EQ(d.popup.view.top, 718);
  d.sinkTick();
  d.sinkTick();
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Halted);
  EXPECT_EQ(d.popup.rise, 0);
  EXPECT_EQ(d.popup.sink, 0);
  EXPECT_EQ(d.popup.view.left, 744);

  d.close();
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Hidden);
  EXPECT_EQ(d.popup.view.left, 774);
  EXPECT_EQ(d.popup.view.top, 768);
  EXPECT_EQ(d.popup.rise, kPause);
}

TEST(PopupCycle, StraightDragOffTheStepsPassesTheRestLine) {
  Driven d;
  d.popup.view.top = 765;
  d.riseTicks(30);
  EXPECT_EQ(d.popup.view.top, 465);
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Rising);
}

TEST(PopupCycle, CloseEndsAnyPhaseWithOneNewRiseAfterThePause) {
  struct Case {
    const char* name;
    void (*reach)(Driven&);
  };
  const Case cases[] = {
      {"rising", [](Driven& d) { d.riseTicks(5); }},
      {"resting at the top", [](Driven& d) { d.riseTicks(20); }},
      {"sinking",
       [](Driven& d) {
         d.riseTicks(20);
         d.sinkTicks(4);
       }},
      {"resting below",
       [](Driven& d) {
         d.riseTicks(20);
         d.sinkTicks(21);
       }},
      {"hidden already", [](Driven& d) { d.close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driven d;
    c.reach(d);
    const std::int32_t riseBefore = d.popup.rise;
    const std::int32_t sinkBefore = d.popup.sink;
    d.close();
    EXPECT_FALSE(d.popup.visible);
    EXPECT_EQ(d.popup.view.left, 774);
    EXPECT_EQ(d.popup.view.top, 768);
    // The pause runs on the timer that was idle; a stray tick of the other changes nothing.
    const bool onRise = riseBefore == 0;
    EXPECT_EQ(onRise ? d.popup.rise : d.popup.sink, kPause);
    EXPECT_EQ(onRise ? d.popup.sink : d.popup.rise, 0);
    if (sinkBefore > 0 || riseBefore > 0) {
      onRise ? d.sinkTick() : d.riseTick();
      EXPECT_EQ(d.cycle.phase(), PopupPhase::Hidden);
    }

    onRise ? d.riseTick() : d.sinkTick();  // end of the pause
    EXPECT_EQ(d.cycle.phase(), PopupPhase::Rising);
    EXPECT_EQ(d.popup.rise, 70);
    EXPECT_EQ(d.popup.sink, 0);
    EXPECT_FALSE(d.popup.visible);
    d.riseTick();
    EXPECT_TRUE(d.popup.visible);
    EXPECT_EQ(d.popup.view.top, 758);
  }
}

TEST(PopupCycle, StartAgainResetsAPopupLoadedAnew) {
  Driven d;
  d.riseTicks(20);
  FakePopup fresh;
  fresh.apply(d.cycle.start(fresh.view, kPause));
  EXPECT_EQ(d.cycle.phase(), PopupPhase::Rising);
  EXPECT_EQ(fresh.rise, 70);
  fresh.apply(d.cycle.riseTick(fresh.view));
  EXPECT_EQ(fresh.view.top, 758);
}

}  // namespace
}  // namespace navigator
