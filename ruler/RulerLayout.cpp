#include "ruler/RulerLayout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

namespace {

int Saturate(std::int64_t v) {
  if (v > TRulerLayout::kCoordLimit) return TRulerLayout::kCoordLimit;
  if (v < -TRulerLayout::kCoordLimit) return -TRulerLayout::kCoordLimit;
  return int(v);
}

gfx::Point MakePoint(std::int64_t x, std::int64_t y) { return {Saturate(x), Saturate(y)}; }

}  // namespace

long double RoundHalfEven(long double v) {
  // Explicit, so that it does not depend on the current rounding mode. v - floor(v) is exact
  // for every v of interest (Sterbenz), and where it is not (-0.5 < v < 0) only a tie at 0
  // can come out, which rounds the same way.
  if (!std::isfinite(v) || std::fabs(v) >= 0x1p63L) return v;  // already a whole number
  const long double f = std::floor(v);
  const long double diff = v - f;
  if (diff > 0.5L) return f + 1;
  if (diff < 0.5L) return f;
  return std::floor(f / 2) * 2 == f ? f : f + 1;
}

double RoundHalfEven(double v) {
  // The same for doubles (tick positions), without the slower extended-precision library calls.
  if (!std::isfinite(v) || std::fabs(v) >= 0x1p52) return v;
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::floor(f / 2) * 2 == f ? f : f + 1;
}

int RoundToPixel(double v) {
  if (std::isnan(v)) return 0;
  const double r = RoundHalfEven(v);
  if (r > TRulerLayout::kCoordLimit) return TRulerLayout::kCoordLimit;
  if (r < -TRulerLayout::kCoordLimit) return -TRulerLayout::kCoordLimit;
  return int(r);
}

TRulerLayout::TRulerLayout(double start, double unit, double price, int length)
    : FStart(start), FUnitSize(unit), FPrice(price), FLength(length) {
  if (!std::isfinite(start) || !std::isfinite(unit) || !(unit > 0)) return;

  const long double s = start;
  // The first tenth at or after the start, and the tick one whole unit before it: drawing
  // starts there so a number centred just outside the edge still shows its visible part.
  FFirstTenth = std::ceil(s * 10);
  FB = double(FFirstTenth / 10);
  FStartPos = double((static_cast<long double>(FB) - s - 1) * unit);
  // Position of that tick within its unit, 0..10; starting one unit early does not change it.
  const long double index = RoundHalfEven((static_cast<long double>(FB) - std::floor(s)) * 10);
  FStartIndex = (index >= 0 && index <= 10) ? int(index) : 0;
  FStartUnit = std::ceil(s - 1);
  if (FStartUnit == 0) FStartUnit = 0;  // the counter is an integer: no -0 from ceil(-0.05)
  FStep = double(static_cast<long double>(unit) / 10);

  if (!std::isfinite(FStartPos) || !(FStep > 0) || !std::isfinite(FStep)) return;
  const long double ticks = (static_cast<long double>(FLength) - 1 - FStartPos) / FStep;
  if (ticks > kMaxTicks) return;

  FValid = true;
  FPos = FStartPos;
  FIndex = FStartIndex;
  FUnit = FStartUnit;
}

bool TRulerLayout::Next(TRulerTick& tick) {
  // Strict comparison on the unrounded position: a tick at L - 1 or beyond is not drawn.
  if (!FValid || !(static_cast<long double>(FLength - 1) > FPos)) return false;
  tick.Pos = RoundToPixel(FPos);
  if (FIndex > 9) FIndex = 0;
  if (FIndex == 0) {
    // Numbers come from the unit counter, never from the pixel position, so they stay exact
    // multiples of the price.
    tick.Kind = TTickKind::Big;
    tick.Number = FUnit * FPrice;
    FUnit += 1;
  } else {
    tick.Kind = FIndex == 5 ? TTickKind::Middle : TTickKind::Small;
    tick.Number = 0;
  }
  ++FIndex;
  // Stored as a double each time: the error accumulates along the ruler.
  FPos = double(static_cast<long double>(FPos) + FStep);
  return true;
}

bool TRulerLayout::Advance() {
  // Next without the tick: the same comparisons and the same stores.
  if (!FValid || !(static_cast<long double>(FLength - 1) > FPos)) return false;
  if (FIndex > 9) FIndex = 0;
  if (FIndex == 0) FUnit += 1;
  ++FIndex;
  FPos = double(static_cast<long double>(FPos) + FStep);
  return true;
}

void TRulerLayout::SkipTo(double pos) {
  while (FPos < pos && Advance()) {
  }
}

void TRulerLayout::Resume(const TRulerWalk& walk) {
  FPos = walk.Pos;
  FIndex = walk.Index;
  FUnit = walk.Unit;
}

bool TRulerLayout::SameScale(const TRulerLayout& o) const {
  return FStart == o.FStart && FUnitSize == o.FUnitSize && FPrice == o.FPrice && FLength == o.FLength;
}

void TRulerWalkMarks::SkipTo(TRulerLayout& layout, double pos) {
  if (!layout.Valid()) return;
  if (!FScale || !FScale->SameScale(layout)) {
    FScale = layout;
    FWalk = layout;
    FWalkEnded = false;
    FMarks.assign(1, FWalk->Walk());
  }
  // Marks up to the first one at or past POS: the walk from there on is the same either way.
  while (!FWalkEnded && FMarks.back().Pos < pos) {
    bool more = true;
    for (int i = 0; i < kStride && (more = FWalk->Advance()); ++i) {
    }
    if (more) FMarks.push_back(FWalk->Walk());
    else FWalkEnded = true;
  }
  // The last mark before POS; the walk goes on from there.
  auto after = std::partition_point(FMarks.begin(), FMarks.end(), [pos](const TRulerWalk& w) { return w.Pos < pos; });
  if (after != FMarks.begin()) layout.Resume(*(after - 1));
  layout.SkipTo(pos);
}

TTickLengths TickLengths(int thickness, int bigPercent, int middlePercent, int smallPercent) {
  auto len = [thickness](int percent) { return Saturate(std::int64_t(percent) * thickness / 100); };
  return {len(bigPercent), len(middlePercent), len(smallPercent)};
}

std::string FormatNumber(long double value, int precision) {
  if (precision < 0) precision = 0;
  if (precision > kMaxPrecision) precision = kMaxPrecision;
  if (value == 0) value = 0;  // no "-0" from a negative price times unit 0
  // Ruler numbers are short; only huge values need the heap.
  char small[64 + kMaxPrecision];
  auto [end, ec] = std::to_chars(small, small + sizeof small, value, std::chars_format::fixed, precision);
  if (ec == std::errc()) return std::string(small, end);
  std::vector<char> buf(2 * sizeof small);
  for (;;) {
    auto [bend, bec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, precision);
    if (bec == std::errc()) return std::string(buf.data(), bend);
    buf.resize(buf.size() * 2);
  }
}

gfx::Point NumberOrigin(TOrientation orientation, TNumberAlign align, TFontRotation rotation, int c,
                        int ni, int w, int hd) {
  const std::int64_t C = c, NI = ni, W = w, Hd = hd;
  if (orientation == orHoriz) {
    switch (align) {
      case naCenter:
        switch (rotation) {
          case fr0: return MakePoint(C - W / 2, NI - 1);
          case fr90: return MakePoint(C - Hd / 2, NI + W);
          case fr180: return MakePoint(C + W / 2, NI + Hd);
          case fr270: return MakePoint(C + Hd / 2, NI);
        }
        break;
      case naBottomRight:
        switch (rotation) {
          case fr0: return MakePoint(C + 2, NI);
          case fr90: return MakePoint(C, NI + W);
          case fr180: return MakePoint(C + W + 1, NI + Hd);
          case fr270: return MakePoint(C + Hd + 1, NI);
        }
        break;
      case naTopLeft:
        switch (rotation) {
          case fr0: return MakePoint(C - W, NI);
          case fr90: return MakePoint(C - Hd, NI + W);
          case fr180: return MakePoint(C, NI + Hd);
          case fr270: return MakePoint(C, NI);
        }
        break;
    }
  } else {
    switch (align) {
      case naCenter:
        switch (rotation) {
          case fr0: return MakePoint(NI + 1, C - Hd / 2);
          case fr90: return MakePoint(NI - 1, C + W / 2 + 1);
          case fr180: return MakePoint(NI + W, C + Hd / 2 + 1);
          case fr270: return MakePoint(NI + Hd, C - W / 2 + 1);
        }
        break;
      case naBottomRight:
        switch (rotation) {
          case fr0: return MakePoint(NI + 1, C);
          case fr90: return MakePoint(NI, C + W + 1);
          case fr180: return MakePoint(NI + W, C + Hd + 1);
          case fr270: return MakePoint(NI + Hd, C + 2);
        }
        break;
      case naTopLeft:
        switch (rotation) {
          case fr0: return MakePoint(NI, C - Hd);
          case fr90: return MakePoint(NI, C - 1);
          case fr180: return MakePoint(NI + W, C);
          case fr270: return MakePoint(NI + Hd, C + 2);
        }
        break;
    }
  }
  return MakePoint(C, NI);  // unreachable for valid enumerations
}

gfx::Point CaptionOrigin(TOrientation orientation, TCaptionAlign align, TFontRotation rotation, int ci1,
                         int ci2, int w, int hd, int width, int height) {
  const std::int64_t CI1 = ci1, CI2 = ci2, W = w, Hd = hd, CW = width, CH = height;
  if (orientation == orHoriz) {
    if (align == caTopLeft) {
      switch (rotation) {
        case fr0: return MakePoint(CI1, CI2);
        case fr90: return MakePoint(CI1, CI2 + W);
        case fr180: return MakePoint(CI1 + W, CI2 + Hd);
        case fr270: return MakePoint(CI1 + Hd, CI2);
      }
    } else {
      switch (rotation) {
        case fr0: return MakePoint(CW - CI1 - W, CI2);
        case fr90: return MakePoint(CW - CI1 - Hd, CI2 + W);
        case fr180: return MakePoint(CW - CI1, CI2 + Hd);
        case fr270: return MakePoint(CW - CI1, CI2);
      }
    }
  } else {
    if (align == caTopLeft) {
      switch (rotation) {
        case fr0: return MakePoint(CI2, CI1);
        case fr90: return MakePoint(CI2, CI1 + W);
        case fr180: return MakePoint(CI2 + W, CI1 + Hd);
        case fr270: return MakePoint(CI2 + Hd, CI1);
      }
    } else {
      switch (rotation) {
        case fr0: return MakePoint(CI2, CH - CI1 - Hd);
        case fr90: return MakePoint(CI2, CH - CI1);
        case fr180: return MakePoint(CI2 + W, CH - CI1);
        case fr270: return MakePoint(CI2 + Hd, CH - CI1 - W);
      }
    }
  }
  return MakePoint(CI1, CI2);  // unreachable for valid enumerations
}
