// The virtual clock: timers fire in due order as the clock advances, callbacks may start and
// stop timers, and the idle processor runs between ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/virtual/VirtualDesktop.h"
#include "tests/platform/TestListener.h"

namespace {

using plat::VirtualDesktop;
using Log = std::vector<std::string>;

TEST(VirtualClock, TimersFireInDueOrderAndRepeat) {
  VirtualDesktop d;
  Log log;
  auto tick = [&](const std::string& name) { return [&, name] { log.push_back(name + "@" + std::to_string(d.NowMs())); }; };
  EXPECT_EQ(d.NowMs(), 0u);
  auto t55 = d.StartTimer(55, tick("a"));
  auto t100 = d.StartTimer(100, tick("b"));
  auto t110 = d.StartTimer(110, tick("c"));  // due together with a's second tick, but started later
  EXPECT_EQ(d.TimerCount(), 3u);
  EXPECT_EQ(d.NextTimerDue(), 55u);

  // Nothing is due yet: waiting processes nothing and never moves the clock.
  EXPECT_TRUE(d.ProcessEvents(true));
  EXPECT_TRUE(d.ProcessEvents(false));
  d.AdvanceClock(54);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(d.NowMs(), 54u);

  d.AdvanceClock(166);  // to 220
  EXPECT_EQ(log, (Log{"a@55", "b@100", "a@110", "c@110", "a@165", "b@200", "a@220", "c@220"}));
  EXPECT_EQ(d.NowMs(), 220u);

  // A stopped timer is gone; stopping an unknown or stopped id is harmless.
  log.clear();
  d.StopTimer(t55);
  d.StopTimer(t55);
  d.StopTimer(9999);
  d.AdvanceClock(110);
  EXPECT_EQ(log, (Log{"b@300", "c@330"}));
  d.StopTimer(t100);
  d.StopTimer(t110);
  EXPECT_EQ(d.TimerCount(), 0u);
  EXPECT_FALSE(d.NextTimerDue().has_value());

  // Ids are never reused, so a stale id cannot stop a new timer.
  auto fresh = d.StartTimer(10, [] {});
  EXPECT_NE(fresh, t55);
  EXPECT_NE(fresh, t110);
  d.StopTimer(t110);
  EXPECT_EQ(d.TimerCount(), 1u);

  // A zero interval still lets the clock move.
  log.clear();
  d.StopTimer(fresh);
  auto zero = d.StartTimer(0, tick("z"));
  d.AdvanceClock(3);
  EXPECT_EQ(log, (Log{"z@331", "z@332", "z@333"}));
  d.StopTimer(zero);
  // An empty callback is allowed.
  d.StartTimer(5, nullptr);
  d.AdvanceClock(20);
}

TEST(VirtualClock, CallbacksMayStartAndStopTimers) {
  VirtualDesktop d;
  Log log;
  plat::Platform::TimerId self = 0, other = 0, later = 0;
  int selfTicks = 0;
  // Stops itself on its third tick.
  self = d.StartTimer(10, [&] {
    log.push_back("self@" + std::to_string(d.NowMs()));
    if (++selfTicks == 3) d.StopTimer(self);
  });
  // Starts a one-shot that stops itself, and stops the other timer, at 25.
  other = d.StartTimer(25, [&] {
    log.push_back("other@" + std::to_string(d.NowMs()));
    d.StopTimer(other);
    later = d.StartTimer(5, [&] {
      log.push_back("later@" + std::to_string(d.NowMs()));
      d.StopTimer(later);
    });
  });
  d.AdvanceClock(100);
  EXPECT_EQ(log, (Log{"self@10", "self@20", "other@25", "self@30", "later@30"}));
  EXPECT_EQ(d.TimerCount(), 0u);

  // A timer that replaces itself with a new one of the same callback keeps ticking.
  log.clear();
  plat::Platform::TimerId current = 0;
  std::function<void()> again;
  again = [&] {
    log.push_back("again@" + std::to_string(d.NowMs()));
    d.StopTimer(current);
    if (log.size() < 3) current = d.StartTimer(7, again);
  };
  current = d.StartTimer(7, again);
  d.AdvanceClock(50);
  EXPECT_EQ(log, (Log{"again@107", "again@114", "again@121"}));
}

TEST(VirtualClock, IdleProcessorRunsBetweenTicksAndInputs) {
  VirtualDesktop d({100, 100});
  Log log;
  d.SetIdleProcessor([&] { log.push_back("idle@" + std::to_string(d.NowMs())); });
  d.StartTimer(55, [&] { log.push_back("tick@" + std::to_string(d.NowMs())); });
  d.AdvanceClock(120);
  EXPECT_EQ(log, (Log{"idle@0", "tick@55", "idle@55", "tick@110", "idle@110", "idle@120"}));

  // Queued input is delivered at the start of the wait, before the clock moves; a move the
  // program makes from a tick is delivered before the next tick.
  log.clear();
  vtest::Journal journal;
  vtest::TestListener listener("W", journal);
  auto w = d.CreateWindow({.Title = "W", .Bounds = {0, 0, 100, 100}}, &listener);
  w->Show(false);
  d.SetIdleProcessor([&] { journal.push_back("idle@" + std::to_string(d.NowMs())); });
  d.StartTimer(10, [&] {
    journal.push_back("warp@" + std::to_string(d.NowMs()));
    d.SetCursorPos({50, 50});
  });
  d.InjectMouseMove(5, 5);
  d.AdvanceClock(10);
  EXPECT_EQ(journal, (vtest::Journal{"idle@120", "W move 5,5 screen 5,5 -", "idle@120", "warp@130", "idle@130",
                                     "W move 50,50 screen 50,50 -", "idle@130", "idle@130"}));

  // The idle processor is not re-entered when it works the queue itself.
  journal.clear();
  int depth = 0, maxDepth = 0;
  d.SetIdleProcessor([&] {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    d.ProcessEvents(false);
    --depth;
  });
  d.InjectMouseMove(1, 1);
  d.InjectMouseMove(2, 2);
  d.AdvanceClock(0);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(journal, (vtest::Journal{"W move 1,1 screen 1,1 -", "W move 2,2 screen 2,2 -"}));
}

TEST(VirtualClock, NestedClockAdvanceNeverGoesBack) {
  // A tick that runs a nested wait (a modal loop driven by a script) moves the clock past
  // the outer target; the outer wait then ends there without firing anything twice.
  VirtualDesktop d;
  Log log;
  bool nested = false;
  d.StartTimer(10, [&] {
    log.push_back("t@" + std::to_string(d.NowMs()));
    if (!nested) {
      nested = true;
      d.AdvanceClock(35);
    }
  });
  d.AdvanceClock(20);
  EXPECT_EQ(log, (Log{"t@10", "t@20", "t@30", "t@40"}));
  EXPECT_EQ(d.NowMs(), 45u);
  d.AdvanceClock(5);
  EXPECT_EQ(log.back(), "t@50");
}

}  // namespace
