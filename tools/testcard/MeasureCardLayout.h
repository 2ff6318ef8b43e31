#pragma once
// The measuring card's geometry: what `vantrel-testcard --measure` draws, and what the tests
// that measure the card expect to read off it. Every number a test expects comes from here,
// never from the measuring code.
#include "graphics/Color.h"
#include "graphics/Types.h"

namespace measurecard {

using gfx::Rect;
using gfx::TColor;

constexpr int kWidth = 800;
constexpr int kHeight = 560;
constexpr TColor kGround = 0xD4D4D4;  // light grey

// One box of 137 x 41.
constexpr Rect kBox{40, 40, 40 + 137, 40 + 41};
constexpr TColor kBoxColor = 0xB46E3C;  // a mid blue

// A row of five 40 x 30 boxes with gaps 24, 24, 23 and 24; the fourth box sits a pixel low.
constexpr int kRowLeft = 40;
constexpr int kRowTop = 120;
constexpr int kRowBoxWidth = 40;
constexpr int kRowBoxHeight = 30;
constexpr int kRowGaps[4] = {24, 24, 23, 24};
constexpr int kRowLowBox = 3;  // 0-based
constexpr TColor kRowColor = 0x3C8C3C;
constexpr Rect RowBox(int i) {
  int left = kRowLeft;
  for (int k = 0; k < i; ++k) left += kRowBoxWidth + kRowGaps[k];
  const int top = kRowTop + (i == kRowLowBox ? 1 : 0);
  return {left, top, left + kRowBoxWidth, top + kRowBoxHeight};
}

// A one-pixel black hairline.
constexpr Rect kHairline{40, 200, 340, 201};

// A horizontal gradient from 0 to 255 grey, one step a pixel.
constexpr Rect kGradient{40, 230, 40 + 256, 230 + 40};

// A white panel with a soft drop shadow 6 pixels wide to its right and below, each shadow step
// 5 grey levels, the darkest next to the panel.
constexpr Rect kShadowPanel{400, 40, 400 + 160, 40 + 80};
constexpr int kShadowWidth = 6;
constexpr int kShadowStep = 5;

// Anti-aliased text.
constexpr int kTextLeft = 40;
constexpr int kTextTop = 300;
constexpr const char* kText = "Vantrel measures 137 x 41";

// A line rising at 30 degrees: 194 across and 112 up (atan(112/194) = 29.9997 degrees).
constexpr gfx::Point kLineStart{400, 320};
constexpr gfx::Point kLineEnd{400 + 194, 320 - 112};

// A scale bar 200 pixels long with end ticks.
constexpr Rect kScaleBar{400, 360, 400 + 200, 362};
constexpr int kScaleTick = 8;  // the end ticks reach this far above the bar

// Contrast swatches on white.
constexpr Rect kSwatchGround{40, 400, 40 + 300, 400 + 100};
constexpr Rect kSwatch767676{60, 420, 60 + 60, 420 + 60};
constexpr Rect kSwatch777777{140, 420, 140 + 60, 420 + 60};
constexpr Rect kSwatch336699{220, 420, 220 + 60, 420 + 60};

}  // namespace measurecard
