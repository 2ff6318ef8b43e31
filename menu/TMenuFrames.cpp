#include "menu/TMenuFrames.h"

#include <algorithm>

TMenuFrames::TMenuFrames(gfx::Size full, TMenuAnimation kind, bool doubleSpeed) : FFull(full), FKind(kind) {
  const int divisor = doubleSpeed ? 6 : 12;
  int v = full.cy / divisor;
  if (full.cy > 180) v -= v / 4;
  const int h = std::max(full.cx / divisor, v);
  FStep = {h, v};
}

gfx::Size TMenuFrames::Start() const {
  switch (FKind) {
    case anVSlide: return {FFull.cx, 0};
    case anHSlide: return {0, FFull.cy};
    case anUnfold: return {0, 0};
    default: return FFull;
  }
}

std::vector<gfx::Size> TMenuFrames::Frames() const {
  std::vector<gfx::Size> frames;
  const bool growX = FKind == anHSlide || FKind == anUnfold;
  const bool growY = FKind == anVSlide || FKind == anUnfold;
  if (!growX && !growY) return frames;
  // A step of 0 (a tiny menu) would never get anywhere: such a menu simply appears.
  if ((growX && FStep.cx <= 0) || (growY && FStep.cy <= 0)) return frames;
  gfx::Size s = Start();
  for (;;) {
    const gfx::Size next{growX ? s.cx + FStep.cx : s.cx, growY ? s.cy + FStep.cy : s.cy};
    if ((growX && next.cx >= FFull.cx) || (growY && next.cy >= FFull.cy)) break;
    s = next;
    frames.push_back(s);
  }
  return frames;
}

unsigned TMenuFrames::SleepAfter(std::uint64_t start, int frame, unsigned timeout, std::uint64_t now) {
  const std::uint64_t due = start + std::uint64_t(frame) * timeout;
  return now < due ? unsigned(due - now) : 0;
}
