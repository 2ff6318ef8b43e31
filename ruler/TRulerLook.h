#pragma once
// The part of a ruler's look that the user chooses: its colours, its three tick sizes, where
// its numbers stand and whether they are turned, and whether the mouse rolls it. The strip
// keeps it in the settings file, hands it to its cross ruler and edits it in the properties
// dialog, always whole: a new property is one field here (and a line each in TRuler's Look and
// SetLook), its key in the settings and its control in the dialog.
#include "graphics/Color.h"
#include "ruler/RulerTypes.h"

struct TRulerLook {
  gfx::TColor Color = 0x80FFFF;  // pale yellow
  int TickSizeBig = 50;          // percent of the ruler's thickness
  int TickSizeMiddle = 40;
  int TickSizeSmall = 25;
  gfx::TColor TickColor = gfx::clBlack;
  gfx::TColor FontColor = gfx::clBlack;
  bool RollEnabled = true;
  TFontRotation FontRotation = fr0;
  TNumberAlign NumberAlign = naTopLeft;

  friend bool operator==(const TRulerLook&, const TRulerLook&) = default;
};

// The look of a strip that starts without settings.
inline constexpr TRulerLook kNewStripLook{};
