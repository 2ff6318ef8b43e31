#pragma once
// Interval timers on the monotonic clock for the event loop. A timer fires at most once per
// pass, and a late timer is not fired again to catch up (as the classic timer message).
// Timers of one interval that fall due close together are fired in one pass, and stay so.
//
// A timer may be given an idle tolerance: while the loop knows that nothing can happen
// without waking it (the caller's IDLE), it may sleep past the timer's due time by that much,
// so a program that follows a still pointer wakes seldom. Input owes every timer one tick at
// its normal time (NoteInput), and whenever the loop does wake, every timer due fires.
#include <cstdint>
#include <functional>
#include <map>

namespace plat {

class X11TimerQueue {
 public:
  using Id = std::uint32_t;
  static constexpr unsigned kMinimumIntervalMs = 10;  // shorter intervals would spin the loop

  static std::uint64_t NowMs();  // CLOCK_MONOTONIC

  Id Start(unsigned intervalMs, std::function<void()> onTick, std::uint64_t now);
  void Stop(Id id);
  void SetIdleTolerance(Id id, unsigned ms);
  // Something arrived that a timer may need to see: each fires next at its normal time.
  void NoteInput();
  bool Empty() const { return FTimers.empty(); }
  // Milliseconds until the next timer is due (0 when one is due), -1 when there is none;
  // with IDLE, counting each timer's tolerance unless input came since it last fired.
  int TimeoutMs(std::uint64_t now, bool idle = false) const;
  // Fires every timer due at NOW once; answers whether any fired. Callbacks may start and
  // stop timers, their own included.
  bool FireDue(std::uint64_t now);

 private:
  struct Timer {
    unsigned Interval = 0;
    std::uint64_t Due = 0;
    unsigned Tolerance = 0;
    bool InputSinceTick = false;
    std::function<void()> OnTick;
  };
  std::map<Id, Timer> FTimers;
  Id FNextId = 1;
};

}  // namespace plat
