#pragma once
// The 22 values of the settings file, with their defaults, their limits and the mappings
// between the file's integers and what they mean. Reading and writing are pure: they work on
// an open profile, never on the window, so the file format is tested without starting the
// program.
//
// Every value is brought within its limits when read, and the same limits apply when writing,
// so what one close writes is exactly what the next start reads. The limits keep all later
// arithmetic exact: positions and lengths stay where the window system can place a window,
// and the zero offset (pixels per unit times MeasureStart) stays far inside int.
#include <cstdint>

#include "properties/CopyFormats.h"
#include "app/MeasureUnits.h"
#include "graphics/Color.h"
#include "platform/ProfileFile.h"
#include "ruler/TRulerLook.h"

struct TSettings {
  // Window positions and lengths: X11 carries them as 16-bit values.
  static constexpr int kMinPosition = -32768;
  static constexpr int kMaxPosition = 32767;
  static constexpr int kMinLength = 1;
  static constexpr int kMaxLength = 32767;
  // Ruler units either side of the zero; 40 pixels a unit times this is still far from 2^31.
  static constexpr int kMaxMeasureStart = 10'000'000;
  // Tick lengths are percentages of the ruler's thickness; beyond 100 they look the same.
  static constexpr int kMinTickSize = 0;
  static constexpr int kMaxTickSize = 100;
  static constexpr int kMinMagnification = 2;
  static constexpr int kMaxMagnification = 4;

  // A strip that starts vertical without a length.
  static constexpr int kVerticalLength = 400;

  // [Application]
  int Top = 0;
  int Left = 0;
  bool Vertical = false;          // "Orientation": 0 horizontal, anything else vertical
  int Length = 640;               // kVerticalLength by default when vertical
  bool RulerFlip = false;         // only 1 turns it on
  bool Loupe = true;              // only 1 turns it on
  bool MouseLoupe = true;         // only 1 turns it on
  bool OnTop = false;             // only 1 turns it on
  double MeasureStart = 0;        // the ruler's StartValue; written rounded, halves to even
  int PgDnGap = 10;               // carried from start to close, used by nothing
  int PgUpGap = 10;
  int Magnification = 2;
  // [Ruler]: "Roll" is off only at 0; "FontRotation" 90 is fr90, anything else fr0;
  // "NumberAlign" 2 is naCenter, 3 naBottomRight, anything else naTopLeft.
  TRulerLook Look = kNewStripLook;
  bool Large = false;             // anything but 0 turns it on
  // [Units], after the others: the unit and the calibrations.
  TUnitSettings Units;
  // [Copy], after [Units]: how readings and colours are copied.
  TCopyFormats Copy;

  // Missing keys and values that do not parse give the defaults above, the look's from
  // kNewStripLook.
  static TSettings Read(const plat::ProfileFile& ini);
  // Writes all 22 keys in the file's fixed order, then [Units] when it holds anything; values
  // outside the limits are written as the next start would read them.
  void Write(plat::ProfileFile& ini) const;

  // The same values brought within the limits.
  TSettings Clamped() const;
  // A window coordinate within the limits, from any sum the program forms.
  static int ClampPosition(std::int64_t v);

  friend bool operator==(const TSettings&, const TSettings&) = default;
};
