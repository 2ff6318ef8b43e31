#pragma once
// The units the strip measures in (pixels, or a real length from the monitor's size or the
// user's calibration), the ruler scale and the reading text of each, and the settings file's
// [Units] section that keeps the unit and the calibrations. All pure arithmetic, so it is tested
// without starting the program.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Monitor.h"
#include "platform/ProfileFile.h"

enum class TMeasureUnit { Pixel, Millimetre, Centimetre, Inch, Point, Pica };

// The next unit in the order U cycles through: px, mm, cm, in, pt, pc, back to px.
TMeasureUnit NextMeasureUnit(TMeasureUnit u);
// The short name: "px", "mm", "cm", "in", "pt", "pc" (as the settings file writes it).
const char* MeasureUnitName(TMeasureUnit u);
std::optional<TMeasureUnit> MeasureUnitFromName(std::string_view name);
// The caption's label: "Mouse at pixel:", "Mouse at mm:", ...
std::string ReadingLabel(TMeasureUnit u);
// Millimetres in one unit (25.4 for an inch); 0 for pixels, which have no length of their own.
double MillimetresPer(TMeasureUnit u);

// A monitor that reports no size is taken at 96 pixels an inch.
constexpr double kDefaultPixelsPerMm = 96.0 / 25.4;
// What a calibration may set: from a picture thrown across a wall (a tenth of a pixel a
// millimetre) to far beyond any phone's screen. Outside that, a typing slip is likelier.
constexpr double kMinPixelsPerMm = 0.1;
constexpr double kMaxPixelsPerMm = 100.0;

// The ruler's scale in unit U: UnitSize pixels carry the number UnitPrice, ticks every tenth.
struct TUnitScale {
  double UnitSize = 20;
  double UnitPrice = 20;
  int UnitPrecision = 0;
};
// PIXELSPERMM is the strip's monitor's density along the strip; UNITPIXELS the pixel unit
// (20, or 40 in the large size). Numbered ticks stand at round values of the unit (every 10 mm,
// every cm, inch, 20 pt, 2 pc), spread further (2, 5, 10 times...) where the monitor is so
// coarse that the ticks would crowd or the numbers run into each other.
TUnitScale UnitScale(TMeasureUnit u, double pixelsPerMm, int unitPixels);

// The reading as the caption shows it: VALUE in unit U with its decimals (none for pixels, one
// for mm and pt, two for cm, in and pc), never "-0.0".
std::string ReadingText(TMeasureUnit u, long double value);

// The [Units] section of the settings file.
struct TUnitSettings {
  TMeasureUnit Unit = TMeasureUnit::Pixel;
  // Pixels a millimetre the user measured, by MonitorKey.
  std::map<std::string, double> Calibrations;

  // A missing section, key or unknown value gives pixels and no calibration.
  static TUnitSettings Read(const plat::ProfileFile& ini);
  // Writes the section only when it holds something, or when the file has it already (so a
  // return to pixels is kept): a file of a program that never left pixels stays as it was.
  void Write(plat::ProfileFile& ini) const;

  // The density to use along a strip on MONITOR: the user's calibration, else the monitor's
  // reported size across its pixels (width for a horizontal strip, height for a vertical one),
  // else 96 pixels an inch.
  double PixelsPerMm(const plat::Monitor& monitor, bool vertical) const;

  friend bool operator==(const TUnitSettings&, const TUnitSettings&) = default;
};

// A density as the settings file keeps it (six decimals), so that what the running program
// uses is what the next start reads.
double StoredDensity(double pixelsPerMm);

// A monitor's key among the calibrations: its place and size on the screen, "X,Y,W,H".
std::string MonitorKey(const plat::Monitor& m);

// A length typed by a person: blanks around it, a decimal point or comma. Nullopt when it is no
// plain finite number.
std::optional<double> ParseTypedNumber(std::string_view text);
