#include "platform/x11/X11TimerQueue.h"

#include <time.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace plat {

std::uint64_t X11TimerQueue::NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::uint64_t(ts.tv_sec) * 1000u + std::uint64_t(ts.tv_nsec) / 1000000u;
}

X11TimerQueue::Id X11TimerQueue::Start(unsigned intervalMs, std::function<void()> onTick, std::uint64_t now) {
  Id id = FNextId++;
  if (FNextId == 0) FNextId = 1;  // 0 never names a timer
  const unsigned interval = std::max(intervalMs, kMinimumIntervalMs);
  FTimers[id] = Timer{.Interval = interval, .Due = now + interval, .OnTick = std::move(onTick)};
  return id;
}

void X11TimerQueue::Stop(Id id) { FTimers.erase(id); }

void X11TimerQueue::SetIdleTolerance(Id id, unsigned ms) {
  auto it = FTimers.find(id);
  if (it != FTimers.end()) it->second.Tolerance = ms;
}

void X11TimerQueue::NoteInput() {
  for (auto& [id, t] : FTimers) t.InputSinceTick = true;
}

int X11TimerQueue::TimeoutMs(std::uint64_t now, bool idle) const {
  if (FTimers.empty()) return -1;
  std::uint64_t due = std::numeric_limits<std::uint64_t>::max();
  for (const auto& [id, t] : FTimers) due = std::min(due, idle && !t.InputSinceTick ? t.Due + t.Tolerance : t.Due);
  if (due <= now) return 0;
  return int(std::min<std::uint64_t>(due - now, 24u * 3600u * 1000u));
}

bool X11TimerQueue::FireDue(std::uint64_t now) {
  std::vector<std::pair<std::uint64_t, Id>> due;
  for (const auto& [id, t] : FTimers)
    if (t.Due <= now) due.emplace_back(t.Due, id);
  // A timer of the same interval as one that fires, due within half of it, fires in the same
  // pass: from then on they share their wake-ups (the strip's and the loupe's ticks).
  if (!due.empty())
    for (const auto& [id, t] : FTimers) {
      if (t.Due <= now || t.Due - now > t.Interval / 2) continue;
      for (const auto& d : due)
        if (FTimers.at(d.second).Interval == t.Interval) {
          due.emplace_back(t.Due, id);
          break;
        }
    }
  std::sort(due.begin(), due.end());
  bool fired = false;
  for (const auto& [when, id] : due) {
    auto it = FTimers.find(id);
    if (it == FTimers.end() || it->second.Due != when) continue;  // stopped or restarted meanwhile
    it->second.Due = now + it->second.Interval;
    it->second.InputSinceTick = false;
    // A copy, because the callback may stop (destroy) its own timer.
    std::function<void()> tick = it->second.OnTick;
    fired = true;
    if (tick) tick();
  }
  return fired;
}

}  // namespace plat
