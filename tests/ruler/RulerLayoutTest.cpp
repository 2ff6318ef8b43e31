// The scale arithmetic: tick positions, kinds and numbers, tick lengths, number text and the
// placement of numbers and captions, checked without drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "ruler/RulerLayout.h"

namespace {

std::vector<TRulerTick> Walk(double start, double unit, double price, int length) {
  TRulerLayout layout(start, unit, price, length);
  std::vector<TRulerTick> ticks;
  TRulerTick t;
  while (layout.Next(t)) {
    ticks.push_back(t);
    if (ticks.size() > 2'000'000) break;  // a runaway walk fails below instead of hanging
  }
  return ticks;
}

const TRulerTick* TickAt(const std::vector<TRulerTick>& ticks, int pos) {
  for (const auto& t : ticks)
    if (t.Pos == pos) return &t;
  return nullptr;
}

}  // namespace

TEST(RulerLayout, WorkedExampleStartMinusOneAndAQuarter) {
  TRulerLayout layout(-1.25, 20, 20, 100);
  ASSERT_TRUE(layout.Valid());
  EXPECT_EQ(layout.FirstTenth(), -12);
  EXPECT_EQ(layout.FirstTenthValue(), -1.2);
  EXPECT_EQ(layout.StartPos(), -19.0);  // -1.2 is not exact, but its error is far below a pixel
  EXPECT_EQ(layout.StartIndex(), 8);
  EXPECT_EQ(layout.StartUnit(), -2);
  EXPECT_EQ(layout.Step(), 2.0);

  auto ticks = Walk(-1.25, 20, 20, 100);
  ASSERT_FALSE(ticks.empty());
  // Every 2 pixels from -19 up to the last one before L - 1 = 99.
  ASSERT_EQ(ticks.size(), 59u);
  for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(ticks[i].Pos, -19 + 2 * int(i)) << i;

  std::vector<std::pair<int, long double>> bigs;
  std::vector<int> middles;
  for (const auto& t : ticks) {
    if (t.Kind == TTickKind::Big) bigs.emplace_back(t.Pos, t.Number);
    if (t.Kind == TTickKind::Middle) middles.push_back(t.Pos);
  }
  std::vector<std::pair<int, long double>> wantBigs{{-15, -40}, {5, -20}, {25, 0}, {45, 20}, {65, 40}, {85, 60}};
  EXPECT_EQ(bigs, wantBigs);
  EXPECT_EQ(middles, (std::vector<int>{-5, 15, 35, 55, 75, 95}));
}

TEST(RulerLayout, StartAtZeroAndJustBeforeAUnit) {
  // S = 0: the first tick drawn is the big tick of unit -1 one unit before the edge; 0 sits on
  // pixel 0.
  auto ticks = Walk(0, 20, 20, 200);
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(ticks[0].Pos, -20);
  EXPECT_EQ(ticks[0].Kind, TTickKind::Big);
  EXPECT_EQ(ticks[0].Number, -20);
  ASSERT_NE(TickAt(ticks, 0), nullptr);
  EXPECT_EQ(TickAt(ticks, 0)->Kind, TTickKind::Big);
  EXPECT_EQ(TickAt(ticks, 0)->Number, 0);
  EXPECT_EQ(TickAt(ticks, 10)->Kind, TTickKind::Middle);
  EXPECT_EQ(TickAt(ticks, 12)->Kind, TTickKind::Small);
  EXPECT_EQ(ticks.back().Pos, 198);

  // S = 0.95: index starts at 10 and is taken as 0, so the first tick (-19) is unit 0's big
  // tick and unit 1's is at pixel 1.
  TRulerLayout layout(0.95, 20, 1, 200);
  EXPECT_EQ(layout.FirstTenth(), 10);
  EXPECT_EQ(layout.StartIndex(), 10);
  EXPECT_EQ(layout.StartPos(), -19.0);
  ticks = Walk(0.95, 20, 1, 200);
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(ticks[0].Pos, -19);
  EXPECT_EQ(ticks[0].Kind, TTickKind::Big);
  EXPECT_EQ(ticks[0].Number, 0);
  EXPECT_FALSE(std::signbit(double(ticks[0].Number)));
  ASSERT_NE(TickAt(ticks, 1), nullptr);
  EXPECT_EQ(TickAt(ticks, 1)->Kind, TTickKind::Big);
  EXPECT_EQ(TickAt(ticks, 1)->Number, 1);
  EXPECT_EQ(TickAt(ticks, -9)->Kind, TTickKind::Middle);
}

TEST(RulerLayout, ZeroAtTheFarEndOnOddAndEvenLengths) {
  for (int length : {101, 100, 641, 640}) {
    SCOPED_TRACE(length);
    auto ticks = Walk(-double(length) / 20, 20, 20, length);
    ASSERT_FALSE(ticks.empty());
    for (const auto& t : ticks) EXPECT_EQ(std::abs(t.Pos % 2), length % 2) << t.Pos;
    // The zero's big tick would be at pixel L: not drawn, so the last number is -20 at L - 20.
    const TRulerTick* lastBig = nullptr;
    for (const auto& t : ticks)
      if (t.Kind == TTickKind::Big) lastBig = &t;
    ASSERT_NE(lastBig, nullptr);
    EXPECT_EQ(lastBig->Pos, length - 20);
    EXPECT_EQ(lastBig->Number, -20);
    EXPECT_EQ(ticks.back().Pos, length - 2);
  }
}

TEST(RulerLayout, TickAtLastPixelIsNotDrawnAndEndIsStrict) {
  // Ticks every 2 px from 0: L = 11 allows 0..8 (10 is not below L - 1 = 10).
  auto ticks = Walk(0, 20, 1, 11);
  EXPECT_EQ(ticks.back().Pos, 8);
  ticks = Walk(0, 20, 1, 12);
  EXPECT_EQ(ticks.back().Pos, 10);
}

TEST(RulerLayout, HalvesRoundToEvenAndErrorsAccumulate) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-0.5L), 0);
  EXPECT_EQ(RoundHalfEven(-1.5L), -2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001L), 3);
  for (double v : {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, -0.49999999999999994, 1e17, -3.5})
    EXPECT_EQ(RoundHalfEven(v), double(RoundHalfEven(static_cast<long double>(v)))) << v;
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0.0);
  EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
  EXPECT_EQ(RoundToPixel(1e300L), TRulerLayout::kCoordLimit);
  EXPECT_EQ(RoundToPixel(-1e300L), -TRulerLayout::kCoordLimit);
  EXPECT_EQ(RoundToPixel(std::numeric_limits<long double>::quiet_NaN()), 0);

  // Unit 5: ticks every half pixel; the halves go to even pixels, so pixel pairs repeat in the
  // pattern 0, 0 (0.5), 1, 2 (1.5), 2, 2 (2.5), 3, 4 (3.5)...
  auto ticks = Walk(0, 5, 1, 6);
  std::vector<int> pos;
  for (const auto& t : ticks) pos.push_back(t.Pos);
  EXPECT_EQ(pos, (std::vector<int>{-5, -4, -4, -4, -3, -2, -2, -2, -1, 0, 0, 0, 1, 2, 2, 2, 3, 4, 4, 4}));

  // Unit 3: the step 0.3 is not exact in binary; the sum is stored as a double at every step
  // and the positions follow that running sum, not k * 0.3.
  TRulerLayout layout(0, 3, 1, 40);
  double pos2 = layout.StartPos();
  TRulerTick t;
  int n = 0;
  while (layout.Next(t)) {
    EXPECT_EQ(t.Pos, int(RoundHalfEven(pos2))) << n;
    pos2 = double(static_cast<long double>(pos2) + layout.Step());
    ++n;
  }
  // The running sum falls short: the tick meant for 39.0 lands at 38.99999999999998, below
  // L - 1 = 39, and is drawn (on pixel 39).
  EXPECT_EQ(n, 141);
  EXPECT_EQ(t.Pos, 39);
}

TEST(RulerLayout, ExtendedPrecisionFirstTenth) {
  // 0.1 as a double lies slightly above 0.1; times 10 in extended precision it stays above 1,
  // so the first tenth is 2 and the walk starts one unit before 0.2.
  TRulerLayout layout(0.1, 20, 20, 100);
  EXPECT_EQ(layout.FirstTenth(), 2);
  EXPECT_EQ(layout.StartIndex(), 2);
  EXPECT_EQ(layout.StartUnit(), 0);
  EXPECT_EQ(layout.StartPos(), -18.0);
  auto ticks = Walk(0.1, 20, 20, 100);
  ASSERT_NE(TickAt(ticks, -2), nullptr);
  EXPECT_EQ(TickAt(ticks, -2)->Kind, TTickKind::Big);
  EXPECT_EQ(TickAt(ticks, -2)->Number, 0);
  EXPECT_EQ(TickAt(ticks, 18)->Number, 20);
}

TEST(RulerLayout, UnusableScalesGiveNoTicks) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double unit : {0.0, -0.0, -20.0, -1e-300, nan, inf, -inf, 1e-9}) {
    SCOPED_TRACE(unit);
    TRulerLayout layout(0, unit, 1, 5000);
    EXPECT_FALSE(layout.Valid());
    TRulerTick t;
    EXPECT_FALSE(layout.Next(t));
  }
  for (double start : {nan, inf, -inf}) {
    TRulerLayout layout(start, 20, 1, 5000);
    EXPECT_FALSE(layout.Valid());
  }
  // Huge but finite values still lay out, with saturated coordinates and a bounded walk.
  auto ticks = Walk(0, 1e300, 1, 100);
  EXPECT_LE(ticks.size(), 12u);
  ticks = Walk(0, std::numeric_limits<double>::max(), 1, 100);
  EXPECT_LE(ticks.size(), 12u);
  ticks = Walk(1e300, 20, 1, 100);
  EXPECT_EQ(ticks.size(), 60u);
  ticks = Walk(-std::numeric_limits<double>::max(), 20, 3, 100);
  EXPECT_EQ(ticks.size(), 60u);
  // Lengths of zero or below draw at most the unit before the start.
  EXPECT_LE(Walk(0, 20, 1, 0).size(), 10u);
  EXPECT_TRUE(Walk(0, 20, 1, std::numeric_limits<int>::min()).empty());
}

TEST(RulerLayout, TickLengthsFromThickness) {
  auto l = TickLengths(41, 50, 40, 25);
  EXPECT_EQ(l.Big, 20);
  EXPECT_EQ(l.Middle, 16);
  EXPECT_EQ(l.Small, 10);
  l = TickLengths(16, 45, 35, 15);  // the control's defaults: 7.2, 5.6, 2.4 truncated
  EXPECT_EQ(l.Big, 7);
  EXPECT_EQ(l.Middle, 5);
  EXPECT_EQ(l.Small, 2);
  l = TickLengths(10, 250, -30, 0);  // not clamped: longer than the thickness, or negative
  EXPECT_EQ(l.Big, 25);
  EXPECT_EQ(l.Middle, -3);
  EXPECT_EQ(l.Small, 0);
  l = TickLengths(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1);
  EXPECT_EQ(l.Big, TRulerLayout::kCoordLimit);
  EXPECT_EQ(l.Middle, -TRulerLayout::kCoordLimit);
}

TEST(RulerLayout, NumberText) {
  EXPECT_EQ(FormatNumber(-40, 0), "-40");
  EXPECT_EQ(FormatNumber(100, 0), "100");
  EXPECT_EQ(FormatNumber(0, 0), "0");
  EXPECT_EQ(FormatNumber(-0.0L, 0), "0");
  EXPECT_EQ(FormatNumber(2.5, 1), "2.5");
  EXPECT_EQ(FormatNumber(3, 2), "3.00");
  EXPECT_EQ(FormatNumber(-1.5, 0), "-2");  // "%.0f" rounds halves to even
  EXPECT_EQ(FormatNumber(2.5, 0), "2");
  EXPECT_EQ(FormatNumber(1234567, 0), "1234567");  // no thousands separators
  EXPECT_EQ(FormatNumber(7, -3), "7");
  EXPECT_EQ(FormatNumber(3 * 0.1L, 3), "0.300");
  EXPECT_EQ(FormatNumber(1, 1000).size(), 2u + kMaxPrecision);
  EXPECT_EQ(FormatNumber(1e300L, 0).size(), 301u);
  EXPECT_EQ(FormatNumber(std::numeric_limits<long double>::infinity(), 0), "inf");
}

TEST(RulerLayout, PlacementExamples) {
  // fr0, naCenter, horizontal, NI 4: number 100, 15 px wide, tick at 100 -> (93, 3).
  EXPECT_EQ(NumberOrigin(orHoriz, naCenter, fr0, 100, 4, 15, 11), (gfx::Point{93, 3}));
  // Vertical, fr0, naCenter, NI 4, Hd 11, tick at y 50 -> (5, 45).
  EXPECT_EQ(NumberOrigin(orVert, naCenter, fr0, 50, 4, 15, 11), (gfx::Point{5, 45}));
  // Cross ruler caption: CI1 1, CI2 2, caTopLeft, horizontal, fr0 -> (1, 2).
  EXPECT_EQ(CaptionOrigin(orHoriz, caTopLeft, fr0, 1, 2, 80, 11, 300, 41), (gfx::Point{1, 2}));
  // Halving truncates toward zero, also for negative widths a broken font might report.
  EXPECT_EQ(NumberOrigin(orHoriz, naCenter, fr0, 0, 0, -3, 0), (gfx::Point{1, -1}));
  // Huge indents saturate instead of overflowing.
  auto p = NumberOrigin(orVert, naCenter, fr180, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 0);
  EXPECT_EQ(p.x, TRulerLayout::kCoordLimit);
  p = CaptionOrigin(orHoriz, caBottomRight, fr0, std::numeric_limits<int>::min(), 0, 10, 10, 100, 10);
  EXPECT_EQ(p.x, TRulerLayout::kCoordLimit);
}

TEST(RulerLayout, EnumerationNamesAndOrdinals) {
  EXPECT_EQ(OrientationName(orVert), "orVert");
  EXPECT_EQ(CaptionAlignName(caBottomRight), "caBottomRight");
  EXPECT_EQ(NumberAlignName(naTopLeft), "naTopLeft");
  EXPECT_EQ(TickAlignName(taTopLeft), "taTopLeft");
  EXPECT_EQ(FontRotationName(fr180), "fr180");
  // Settings store ordinals; anything outside the list is refused, not cast.
  EXPECT_EQ(OrientationFromOrdinal(1), orVert);
  EXPECT_EQ(OrientationFromOrdinal(2), std::nullopt);
  EXPECT_EQ(CaptionAlignFromOrdinal(-1), std::nullopt);
  EXPECT_EQ(NumberAlignFromOrdinal(2), naTopLeft);
  EXPECT_EQ(NumberAlignFromOrdinal(3), std::nullopt);
  EXPECT_EQ(TickAlignFromOrdinal(1), taTopLeft);
  EXPECT_EQ(FontRotationFromOrdinal(3), fr270);
  EXPECT_EQ(FontRotationFromOrdinal(4), std::nullopt);
}
