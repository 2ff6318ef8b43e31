#include "platform/Monitor.h"

#include <algorithm>
#include <cstdint>

namespace plat {

namespace {

std::int64_t Overlap(const gfx::Rect& a, const gfx::Rect& b) {
  const std::int64_t w = std::int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
  const std::int64_t h = std::int64_t(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between the nearest points of two rectangles (0 when they touch or meet).
std::int64_t Gap(const gfx::Rect& a, const gfx::Rect& b) {
  auto axis = [](std::int64_t lo1, std::int64_t hi1, std::int64_t lo2, std::int64_t hi2) -> std::int64_t {
    if (hi1 <= lo2) return lo2 - hi1 + 1;
    if (hi2 <= lo1) return lo1 - hi2 + 1;
    return 0;
  };
  const std::int64_t dx = axis(a.left, a.right, b.left, b.right);
  const std::int64_t dy = axis(a.top, a.bottom, b.top, b.bottom);
  return dx * dx + dy * dy;
}

}  // namespace

const Monitor* MonitorForRect(const std::vector<Monitor>& monitors, const gfx::Rect& r) {
  const Monitor* best = nullptr;
  std::int64_t bestOverlap = 0;
  for (const Monitor& m : monitors) {
    const std::int64_t o = Overlap(m.Bounds, r);
    if (o > bestOverlap) {
      best = &m;
      bestOverlap = o;
    }
  }
  if (best) return best;
  std::int64_t bestGap = 0;
  for (const Monitor& m : monitors) {
    const std::int64_t g = Gap(m.Bounds, r);
    if (!best || g < bestGap) {
      best = &m;
      bestGap = g;
    }
  }
  return best;
}

const Monitor* MonitorForPoint(const std::vector<Monitor>& monitors, gfx::Point p) {
  return MonitorForRect(monitors, gfx::Rect{p.x, p.y, p.x + 1, p.y + 1});
}

}  // namespace plat
