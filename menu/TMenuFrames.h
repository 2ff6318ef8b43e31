#pragma once
// The frames of a menu window's opening (or closing) animation: how much the window grows
// each frame and when each frame is due. Pure arithmetic, so it is tested without windows.
#include <cstdint>
#include <vector>

#include "graphics/Types.h"
#include "menu/TMenuOptions.h"

class TMenuFrames {
 public:
  // KIND is the animation actually run: anVSlide, anHSlide or anUnfold (anything else has
  // no frames).
  TMenuFrames(gfx::Size full, TMenuAnimation kind, bool doubleSpeed);

  // Growth per frame: height / 12 (/ 6 at double speed), less a quarter of itself above
  // 180 pixels; width / 12 (/ 6), never less than the vertical step.
  gfx::Size Step() const { return FStep; }
  // The size shown first: 0 x 0 for an unfold, no height (vertical) or no width (horizontal).
  gfx::Size Start() const;
  // The sizes of the frames after the start, before the full size: the growth stops as soon
  // as a growing dimension would reach its full size.
  std::vector<gfx::Size> Frames() const;

  // How long to sleep after frame FRAME (1-based) when the animation started at START and it
  // is NOW: the rest of that frame's TIMEOUT; nothing once late, so an overrun is made up by
  // the following frames.
  static unsigned SleepAfter(std::uint64_t start, int frame, unsigned timeout, std::uint64_t now);

 private:
  gfx::Size FFull;
  TMenuAnimation FKind;
  gfx::Size FStep;
};
