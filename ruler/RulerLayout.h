#pragma once
// The ruler's scale arithmetic, free of any drawing: where the ticks of one paint fall, what
// kind each is, which number a big tick carries, how long the ticks are, how a number is
// written and where numbers and the caption stand. Painting and the tests both build on it.
//
// The layout is computed afresh at every paint and walked tick by tick; the steps below keep
// the extended-precision intermediates and the stores to double exactly where they matter,
// because rounding errors are meant to accumulate along the ruler the same way every time.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Types.h"
#include "ruler/RulerTypes.h"

enum class TTickKind { Small, Middle, Big };

// Where a walk along the ticks stands; a walk resumed from it goes on exactly as the original
// one would have.
struct TRulerWalk {
  double Pos = 0;
  int Index = 0;
  long double Unit = 0;
};

struct TRulerTick {
  int Pos = 0;                  // pixel along the ruler
  TTickKind Kind = TTickKind::Small;
  long double Number = 0;       // big ticks only: the unit's index times UnitPrice
};

struct TTickLengths {
  int Big = 0;
  int Middle = 0;
  int Small = 0;
};

class TRulerLayout {
 public:
  // Coordinates are kept within +-kCoordLimit: anything beyond lies far off every screen, and
  // the headroom keeps later additions (text widths, indents, the canvas origin) from overflowing.
  static constexpr int kCoordLimit = 1 << 29;
  // More ticks than this on one ruler cannot be read and would stall the paint (ten thousand
  // numbers or more); such a scale (a UnitSize far below one pixel: under 0.5 on a ruler of
  // 5000 pixels) is treated like an invalid one and paints no ticks.
  static constexpr long double kMaxTicks = 100'000;

  // START = StartValue, UNIT = UnitSize (pixels per unit), PRICE = UnitPrice, LENGTH = the
  // ruler's length in pixels. A UnitSize of zero or below (or a value that is not finite)
  // gives a layout without ticks.
  TRulerLayout(double start, double unit, double price, int length);

  // True when the scale can be laid out at all.
  bool Valid() const { return FValid; }

  // Produces the next tick from one unit before the start to the end; false when done.
  bool Next(TRulerTick& tick);
  // Passes over the next tick without producing it; false when done.
  bool Advance();
  // Passes over every tick before POS (unrounded pixels), with the arithmetic of Next, so the
  // ticks after it come out exactly as a walk from the start gives them.
  void SkipTo(double pos);
  TRulerWalk Walk() const { return {FPos, FIndex, FUnit}; }
  void Resume(const TRulerWalk& walk);
  // True when LAYOUT was made from the same four values.
  bool SameScale(const TRulerLayout& layout) const;

  // The starting values, exposed for checking the arithmetic.
  long double FirstTenth() const { return FFirstTenth; }
  double FirstTenthValue() const { return FB; }
  double StartPos() const { return FStartPos; }
  int StartIndex() const { return FStartIndex; }
  long double StartUnit() const { return FStartUnit; }
  double Step() const { return FStep; }

 private:
  bool FValid = false;
  long double FFirstTenth = 0;
  double FB = 0;
  double FStartPos = 0;
  int FStartIndex = 0;
  long double FStartUnit = 0;
  double FStep = 0;
  double FStart = 0;
  double FUnitSize = 0;
  long double FPrice = 0;
  std::int64_t FLength = 0;
  // Walking state.
  double FPos = 0;
  int FIndex = 0;
  long double FUnit = 0;
};

// Every kStride-th walk state of the last scale laid out, so that painting a small part of a
// long ruler starts next to it instead of walking from the ruler's start. A control keeps one
// between paints; it starts again whenever the scale changes (each step of a roll), and goes
// only as far as a paint has asked for.
class TRulerWalkMarks {
 public:
  static constexpr int kStride = 256;
  // Brings LAYOUT (fresh from its constructor) to the first tick at or after POS.
  void SkipTo(TRulerLayout& layout, double pos);

 private:
  std::optional<TRulerLayout> FScale;
  std::optional<TRulerLayout> FWalk;  // at the last mark
  bool FWalkEnded = false;            // the walk has passed the ruler's end
  std::vector<TRulerWalk> FMarks;     // the walk before ticks 0, kStride, 2 kStride, ...
};

// Rounds to the nearest integer, halves to even, whatever the FPU rounding mode.
long double RoundHalfEven(long double v);
double RoundHalfEven(double v);
// A tick position rounded so, saturated to +-TRulerLayout::kCoordLimit (NaN gives 0).
int RoundToPixel(double v);

// Tick lengths in pixels from the thickness and the three percentages: multiply, then divide
// by 100 truncating, as integers.
TTickLengths TickLengths(int thickness, int bigPercent, int middlePercent, int smallPercent);

// Fixed-point text with PRECISION decimals ("%.*f"), '.' as the decimal separator whatever the
// locale, no thousands separators. Precision below 0 counts as 0; above kMaxPrecision it is cut
// to that, since no longer number fits on a ruler.
constexpr int kMaxPrecision = 100;
std::string FormatNumber(long double value, int precision);

// Reference point (the text cell's top-left in the text's own direction) of the number of a big
// tick at C along the ruler; W is the number's text width, HD the height of "0", NI the number
// indent, all in the rotated font.
gfx::Point NumberOrigin(TOrientation orientation, TNumberAlign align, TFontRotation rotation, int c,
                        int ni, int w, int hd);

// Reference point of the caption; CI1 is its offset along the ruler, CI2 across it, W its text
// width, HD the height of "0", WIDTH and HEIGHT the control's size.
gfx::Point CaptionOrigin(TOrientation orientation, TCaptionAlign align, TFontRotation rotation, int ci1,
                         int ci2, int w, int hd, int width, int height);
