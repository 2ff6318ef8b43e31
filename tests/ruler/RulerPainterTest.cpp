// The ruler's painting, pixel for pixel, with the built-in face for fixed metrics.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "ruler/RulerLayout.h"
#include "ruler/RulerPainter.h"
#include "tests/ruler/RulerTestSupport.h"

using namespace rulertest;

namespace {

[[maybe_unused]] ::testing::Environment* const gBuiltinFont =
    ::testing::AddGlobalTestEnvironment(new BuiltinFontEnvironment);

// Checks the tick lines of a horizontal ruler hanging from the bottom: for every column, rows
// FROMROW..H-1 hold exactly the expected tick (LENGTHS by column) in kTick, else kBack.
void ExpectBottomTicks(const gfx::Bitmap& bmp, const std::map<int, int>& lengths, int fromRow) {
  const int h = bmp.Height();
  for (int x = 0; x < bmp.Width(); ++x) {
    auto it = lengths.find(x);
    const int len = it == lengths.end() ? 0 : it->second;
    for (int y = fromRow; y < h; ++y) {
      const gfx::TColor want = y >= h - len ? kTick : kBack;
      ASSERT_EQ(bmp.At(x, y), want) << "x=" << x << " y=" << y;
    }
  }
}

// Same for a vertical ruler with ticks from the right edge, columns FROMCOL..W-1.
void ExpectRightTicks(const gfx::Bitmap& bmp, const std::map<int, int>& lengths, int fromCol) {
  const int w = bmp.Width();
  for (int y = 0; y < bmp.Height(); ++y) {
    auto it = lengths.find(y);
    const int len = it == lengths.end() ? 0 : it->second;
    for (int x = fromCol; x < w; ++x) {
      const gfx::TColor want = x >= w - len ? kTick : kBack;
      ASSERT_EQ(bmp.At(x, y), want) << "x=" << x << " y=" << y;
    }
  }
}

// Tick lengths by pixel for ticks every 2 pixels starting at FIRST, big every 10th starting
// at FIRSTBIG, middle halfway between (lengths of a 41-pixel ruler: 20, 16, 10), up to but not
// including END (= L - 1: a tick there is not drawn).
std::map<int, int> TwoPixelTicks(int first, int firstBig, int end) {
  std::map<int, int> m;
  for (int p = first; p < end; p += 2) {
    const int k = ((p - firstBig) % 20 + 20) % 20;
    m[p] = k == 0 ? 20 : k == 10 ? 16 : 10;
  }
  return m;
}

}  // namespace

TEST(RulerPainter, WorkedExampleHorizontalAndVertical) {
  // The properties dialog's preview: S = -1.25, unit 20 counting pixels, thickness 41.
  TRulerPaintState look = TestLook();
  look.StartValue = -1.25;
  look.NumberIndent = 4;
  gfx::Bitmap bmp = Paint(look, 100, 41);

  // Ticks on odd pixels; big at 5, 25, 45, 65, 85 (20 px), middle at 15, 35... (16), small 10.
  auto lengths = TwoPixelTicks(-19, -15, 99);
  EXPECT_EQ(lengths.at(25), 20);
  EXPECT_EQ(lengths.at(35), 16);
  EXPECT_EQ(lengths.at(27), 10);
  ExpectBottomTicks(bmp, lengths, 14);

  // The numbers -40 (at -15, off the edge), -20, 0, 20, 40 and 60 centred on their ticks one
  // pixel above the indent: exactly their own text, nothing else in red.
  gfx::Bitmap want(100, 41, kBack);
  const int hd = Measure(look.Font, fr0, "0").Hd;
  EXPECT_EQ(hd, 10);
  std::vector<std::pair<int, std::string>> numbers{{-15, "-40"}, {5, "-20"}, {25, "0"}, {45, "20"}, {65, "40"}, {85, "60"}};
  for (auto& [c, text] : numbers) DrawText(want, look.Font, fr0, c - Measure(look.Font, fr0, text).W / 2, 3, text, kBack);
  EXPECT_EQ(MaskDifference(bmp, want, kInk), 0);

  // The same scale on a vertical ruler: ticks on odd rows from the right edge, numbers at
  // x = NI + 1 centred on their rows.
  look.Orientation = orVert;
  look.NumberIndent = 0;
  gfx::Bitmap vbmp = Paint(look, 41, 100);
  ExpectRightTicks(vbmp, lengths, 20);
  gfx::Bitmap vwant(41, 100, kBack);
  for (auto& [c, text] : numbers) DrawText(vwant, look.Font, fr0, 1, c - hd / 2, text, kBack);
  EXPECT_EQ(MaskDifference(vbmp, vwant, kInk), 0);
}

TEST(RulerPainter, StartValueEdgeCases) {
  TRulerPaintState look = TestLook();
  look.NumberIndent = 4;
  const int w0 = Measure(look.Font, fr0, "0").W;

  // S = 0: ticks on even pixels, the big tick of 0 on column 0, its number half cut off.
  look.StartValue = 0;
  gfx::Bitmap bmp = Paint(look, 100, 41);
  ExpectBottomTicks(bmp, TwoPixelTicks(-20, 0, 99), 14);
  gfx::Bitmap want(100, 41, kBack);
  for (auto [c, text] : std::vector<std::pair<int, std::string>>{{0, "0"}, {20, "20"}, {40, "40"}, {60, "60"}, {80, "80"}})
    DrawText(want, look.Font, fr0, c - Measure(look.Font, fr0, text).W / 2, 3, text, kBack);
  EXPECT_EQ(MaskDifference(bmp, want, kInk), 0);
  EXPECT_EQ(InkBox(bmp, kInk).left, 0);  // the visible right half of "0" starts at the edge
  // Only that half shows: "0" whole (drawn clear of the edge) is wider than what columns 0..9
  // (short of the "20" at 20 - w/2) hold of it.
  gfx::Bitmap whole(40, 41, kBack);
  DrawText(whole, look.Font, fr0, 10, 3, "0", kBack);
  const int wholeInk = InkBox(whole, kInk).Width();
  const int shownInk = InkBox(bmp.Copy(gfx::Rect{0, 0, 10, 41}), kInk).Width();
  EXPECT_GT(shownInk, 0);
  EXPECT_LT(shownInk, wholeInk);
  EXPECT_LE(shownInk, w0 - w0 / 2);

  // S = 0.95: the first tick (-19) is unit 0's big tick; unit 1 (number 20) is at pixel 1.
  look.StartValue = 0.95;
  bmp = Paint(look, 100, 41);
  ExpectBottomTicks(bmp, TwoPixelTicks(-19, 1, 99), 14);
  want = gfx::Bitmap(100, 41, kBack);
  for (auto [c, text] : std::vector<std::pair<int, std::string>>{{-19, "0"}, {1, "20"}, {21, "40"}, {41, "60"}, {61, "80"}, {81, "100"}})
    DrawText(want, look.Font, fr0, c - Measure(look.Font, fr0, text).W / 2, 3, text, kBack);
  EXPECT_EQ(MaskDifference(bmp, want, kInk), 0);

  // Zero at the far end: odd lengths tick on odd pixels, even ones on even pixels; the big
  // tick of 0 would be at L and is not drawn, so the last number is -20, 20 pixels before.
  for (int length : {101, 100}) {
    SCOPED_TRACE(length);
    look.StartValue = -double(length) / 20;
    bmp = Paint(look, length, 41);
    ExpectBottomTicks(bmp, TwoPixelTicks(length % 2 - 20, length % 2, length - 1), 14);
    EXPECT_EQ(bmp.At(length - 20, 40), kTick);
    EXPECT_EQ(bmp.At(length - 20, 21), kTick);
    EXPECT_EQ(bmp.At(length - 1, 40), kBack);
    const int wm20 = Measure(look.Font, fr0, "-20").W;
    gfx::Rect ink = InkBox(bmp, kInk);
    EXPECT_LE(ink.right, length - 20 - wm20 / 2 + wm20);  // nothing right of "-20"
  }
}

TEST(RulerPainter, TickExtentAndClipping) {
  // Thickness 41 and the default percentages 50/40/25 give 20, 16 and 10 pixels (checked in
  // the worked example). Ticks from the top edge run from row 0 down to the length.
  TRulerPaintState look = TestLook();
  look.TickAlign = taTopLeft;
  look.NumberIndent = 28;
  gfx::Bitmap bmp = Paint(look, 60, 41);
  for (int x = 0; x < 60; ++x) {
    const int len = x % 2 ? 0 : x % 20 == 0 ? 20 : x % 20 == 10 ? 16 : 10;
    for (int y = 0; y < 25; ++y) ASSERT_EQ(bmp.At(x, y), y < len ? kTick : kBack) << x << "," << y;
  }
  // Vertical from the left edge.
  look.Orientation = orVert;
  look.NumberIndent = 33;
  bmp = Paint(look, 41, 60);
  for (int y = 0; y < 60; ++y) {
    const int len = y % 2 ? 0 : y % 20 == 0 ? 20 : y % 20 == 10 ? 16 : 10;
    for (int x = 0; x < 25; ++x) ASSERT_EQ(bmp.At(x, y), x < len ? kTick : kBack) << x << "," << y;
  }

  // A ruler thinner than its percentages: big ticks (250 %) cross the whole thickness; a
  // negative percentage leaves only the base pixel; 0 % draws nothing.
  look = TestLook();
  look.TickSizeBig = 250;
  look.TickSizeMiddle = -30;
  look.TickSizeSmall = 0;
  look.NumberIndent = 100;  // numbers below the ruler, out of sight
  bmp = Paint(look, 60, 10);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(bmp.At(20, y), kTick) << y;
    EXPECT_EQ(bmp.At(30, y), y == 9 ? kTick : kBack) << y;
    EXPECT_EQ(bmp.At(22, y), kBack) << y;
  }
  EXPECT_EQ(InkBox(bmp, kInk), gfx::Rect{});

  // Painted through a canvas whose origin and clip put the ruler inside a larger surface,
  // nothing lands outside the ruler's rectangle, whatever the percentages and texts.
  look = TestLook();
  look.TickSizeBig = INT_MAX;
  look.TickSizeMiddle = INT_MIN;
  look.Caption = "A caption much longer than the ruler";
  look.CaptionIndent1 = -5;
  look.DrawFrame = true;
  look.FrameWidth = 7;
  gfx::Bitmap surface(140, 81, kOutside);
  gfx::Canvas canvas(surface);
  canvas.Origin = {20, 20};
  canvas.SetClipRegion(gfx::Region(gfx::Rect{20, 20, 120, 61}));
  PaintRuler(canvas, look, 100, 41);
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x)
      if (!gfx::Rect{20, 20, 120, 61}.Contains({x, y})) {
        ASSERT_EQ(surface.At(x, y), kOutside) << x << "," << y;
      }
  EXPECT_EQ(surface.At(20 + 20, 20 + 35), kTick);  // a big tick across the whole thickness
}

TEST(RulerPainter, NumberCellCoversEarlierTicksAndCaptionCoversEverything) {
  // Every tick runs across the whole thickness, every 4 pixels (columns 2, 6, 10...). The
  // number 1000 stands centred on column 30 with its cell filled with Color: ticks drawn before
  // it vanish inside the cell, its own big tick and all later ticks are drawn over it.
  TRulerPaintState look = TestLook();
  look.TickAlign = taTopLeft;
  look.TickSizeBig = look.TickSizeMiddle = look.TickSizeSmall = 100;
  look.UnitPrice = 1000;
  look.UnitSize = 40;
  look.StartValue = 0.25;  // unit 1 at pixel 30, unit 0 off the edge at -10
  look.NumberIndent = 5;
  gfx::Bitmap bmp = Paint(look, 60, 30);
  const TextSize size = Measure(look.Font, fr0, "1000");
  const gfx::Rect cell{30 - size.W / 2, 4, 30 - size.W / 2 + size.W, 4 + size.Hd};
  ASSERT_GT(size.W, 12);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool tickColumn = x % 4 == 2;
      const gfx::TColor got = bmp.At(x, y);
      if (cell.Contains({x, y})) {
        if (tickColumn && x >= 30)
          ASSERT_EQ(got, kTick) << x << "," << y;  // the big tick and the ticks after it
        else
          ASSERT_NE(got, kTick) << x << "," << y;  // covered by the number's cell
      } else {
        ASSERT_EQ(got, tickColumn ? kTick : kBack) << x << "," << y;
      }
    }
  gfx::Bitmap want(60, 30, kBack);
  DrawText(want, look.Font, fr0, cell.left, 4, "1000", kBack);
  for (int y = cell.top; y < cell.bottom; ++y)
    for (int x = cell.left; x < 30; ++x) ASSERT_EQ(bmp.At(x, y), want.At(x, y)) << x << "," << y;

  // The cross ruler's caption (CI1 = 1, CI2 = 2, top-left, unrotated) starts at (1, 2) and
  // covers the ticks and numbers beneath it: its cell is exactly the caption on Color.
  look.Caption = "Angle 45";
  look.CaptionIndent1 = 1;
  look.CaptionIndent2 = 2;
  bmp = Paint(look, 60, 30);
  const TextSize csize = Measure(look.Font, fr0, look.Caption);
  want = gfx::Bitmap(60, 30, kBack);
  DrawText(want, look.Font, fr0, 1, 2, look.Caption, kBack);
  for (int y = 2; y < 2 + csize.Hd; ++y)
    for (int x = 1; x < std::min(60, 1 + csize.W); ++x) ASSERT_EQ(bmp.At(x, y), want.At(x, y)) << x << "," << y;
  EXPECT_EQ(bmp.At(2, 1), kTick);  // the ticks go on above and below its cell
  EXPECT_EQ(bmp.At(2, 2 + csize.Hd), kTick);

  // The outline comes last of all: the outermost rows and columns are black over everything,
  // and it changes nothing inside.
  gfx::Bitmap noFrame = bmp;
  look.DrawFrame = true;
  bmp = Paint(look, 60, 30);
  for (int x = 0; x < 60; ++x) {
    EXPECT_EQ(bmp.At(x, 0), 0u) << x;
    EXPECT_EQ(bmp.At(x, 29), 0u) << x;
  }
  for (int y = 0; y < 30; ++y) {
    EXPECT_EQ(bmp.At(0, y), 0u) << y;
    EXPECT_EQ(bmp.At(59, y), 0u) << y;
  }
  for (int y = 1; y < 29; ++y)
    for (int x = 1; x < 59; ++x) ASSERT_EQ(bmp.At(x, y), noFrame.At(x, y)) << x << "," << y;
  look.FrameColor = 0x00FF00;
  look.FrameWidth = 0;  // a zero-width pen still draws one pixel
  bmp = Paint(look, 60, 30);
  EXPECT_EQ(bmp.At(30, 0), 0x00FF00u);
  EXPECT_EQ(bmp.At(30, 1), noFrame.At(30, 1));
}

TEST(RulerPainter, UnusableUnitSizesPaintOnlyTheBackground) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double unit : {0.0, -20.0, -1e-300, nan, 1e-12}) {
    SCOPED_TRACE(unit);
    TRulerPaintState look = TestLook();
    look.UnitSize = unit;
    look.Caption = "caption";
    look.DrawFrame = true;
    gfx::Bitmap bmp = Paint(look, 80, 30);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 80; ++x) ASSERT_EQ(bmp.At(x, y), kBack) << x << "," << y;
  }
  TRulerPaintState look = TestLook();
  look.StartValue = std::numeric_limits<double>::infinity();
  gfx::Bitmap bmp = Paint(look, 80, 30);
  EXPECT_EQ(InkBox(bmp, kTick), gfx::Rect{});
}

TEST(RulerPainter, AbsurdValuesFinish) {
  // None of these can come from the program, but a paint must still end, without overflow.
  TRulerPaintState look = TestLook();
  look.UnitPrecision = 100000;
  look.NumberIndent = INT_MIN;
  look.CaptionIndent1 = INT_MAX;
  look.CaptionIndent2 = INT_MIN;
  look.Caption = "x";
  look.FrameWidth = INT_MAX;
  look.DrawFrame = true;
  for (double unit : {1e300, std::numeric_limits<double>::max(), 1e-4})
    for (double start : {0.0, 1e300, -std::numeric_limits<double>::max(), 123456.789}) {
      look.UnitSize = unit;
      look.StartValue = start;
      for (TOrientation o : {orHoriz, orVert}) {
        look.Orientation = o;
        Paint(look, 200, 41);
      }
    }
  // A dense scale far below a pixel per unit is still drawn, up to the tick limit.
  look = TestLook();
  look.UnitSize = 0.5;
  gfx::Bitmap dense = Paint(look, 200, 41);
  EXPECT_EQ(dense.At(100, 40), kTick);
  // Empty and negative sizes.
  gfx::Bitmap bmp(20, 20, kOutside);
  gfx::Canvas canvas(bmp);
  PaintRuler(canvas, look, 0, 0);
  PaintRuler(canvas, look, -5, 20);
  PaintRuler(canvas, look, 20, -5);
}

// Number placements: one visible number, 1000, on the tick at c = 60 of a 120 x 60 ruler whose
// ticks have no length, NI = 7. The red ink must be exactly the text
// drawn at the reference point of the placement table, and lie where the table means it to:
// centred on the tick, after it (right / below) or before it (left / above).
TEST(RulerPainter, AllNumberPlacements) {
  struct Case {
    TOrientation o;
    TNumberAlign a;
    TFontRotation r;
    int x, y;  // reference point expected, from c = 60, NI = 7 and the text's w and Hd
  };
  const TextSize s = Measure(TestLook().Font, fr0, "1000");
  const int w = s.W, hd = s.Hd, c = 60, ni = 7;
  const std::vector<Case> cases{
      {orHoriz, naCenter, fr0, c - w / 2, ni - 1},      {orHoriz, naCenter, fr90, c - hd / 2, ni + w},
      {orHoriz, naCenter, fr180, c + w / 2, ni + hd},   {orHoriz, naCenter, fr270, c + hd / 2, ni},
      {orHoriz, naBottomRight, fr0, c + 2, ni},         {orHoriz, naBottomRight, fr90, c, ni + w},
      {orHoriz, naBottomRight, fr180, c + w + 1, ni + hd}, {orHoriz, naBottomRight, fr270, c + hd + 1, ni},
      {orHoriz, naTopLeft, fr0, c - w, ni},             {orHoriz, naTopLeft, fr90, c - hd, ni + w},
      {orHoriz, naTopLeft, fr180, c, ni + hd},          {orHoriz, naTopLeft, fr270, c, ni},
      {orVert, naCenter, fr0, ni + 1, c - hd / 2},      {orVert, naCenter, fr90, ni - 1, c + w / 2 + 1},
      {orVert, naCenter, fr180, ni + w, c + hd / 2 + 1}, {orVert, naCenter, fr270, ni + hd, c - w / 2 + 1},
      {orVert, naBottomRight, fr0, ni + 1, c},          {orVert, naBottomRight, fr90, ni, c + w + 1},
      {orVert, naBottomRight, fr180, ni + w, c + hd + 1}, {orVert, naBottomRight, fr270, ni + hd, c + 2},
      {orVert, naTopLeft, fr0, ni, c - hd},             {orVert, naTopLeft, fr90, ni, c - 1},
      {orVert, naTopLeft, fr180, ni + w, c},            {orVert, naTopLeft, fr270, ni + hd, c + 2},
  };
  ASSERT_EQ(cases.size(), 24u);
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << OrientationName(k.o) << " " << NumberAlignName(k.a) << " " << FontRotationName(k.r));
    TRulerPaintState look = TestLook();
    look.Orientation = k.o;
    look.NumberAlign = k.a;
    look.FontRotation = k.r;
    look.NumberIndent = ni;
    look.TickSizeBig = look.TickSizeMiddle = look.TickSizeSmall = 0;
    look.UnitSize = 200;
    look.UnitPrice = 1000;
    look.StartValue = 0.7;  // unit 1 at pixel 60, unit 0 far off the start
    const bool h = k.o == orHoriz;
    const int width = h ? 120 : 60, height = h ? 60 : 120;
    EXPECT_EQ(NumberOrigin(k.o, k.a, k.r, c, ni, w, hd), (gfx::Point{k.x, k.y}));

    gfx::Bitmap bmp = Paint(look, width, height);
    gfx::Bitmap want(width, height, kBack);
    DrawText(want, look.Font, k.r, k.x, k.y, "1000", kBack);
    EXPECT_EQ(MaskDifference(bmp, want, kInk), 0);

    const gfx::Rect ink = InkBox(bmp, kInk);
    ASSERT_FALSE(ink.IsEmpty());
    const bool turned = k.r == fr90 || k.r == fr270;
    EXPECT_TRUE(Inside(ink, TextCell({k.x, k.y}, k.r, w, hd)));
    const int inkLo = h ? ink.left : ink.top, inkHi = h ? ink.right : ink.bottom;  // along
    const int acrossLo = h ? ink.top : ink.left;
    const int extentAlong = turned == h ? hd : w;  // the text's own extent along the ruler
    switch (k.a) {
      case naCenter: EXPECT_LE(std::abs((inkLo + inkHi) / 2 - c), 2) << inkLo << ".." << inkHi; break;
      case naBottomRight:
        EXPECT_GE(inkLo, c) << inkLo;
        EXPECT_LE(inkHi, c + extentAlong + 3);
        break;
      case naTopLeft:
        // Except that, turned by 270 degrees on a vertical ruler, it shares the place of
        // naBottomRight, below the tick.
        if (k.o == orVert && k.r == fr270) {
          EXPECT_GE(inkLo, c) << inkLo;
          break;
        }
        EXPECT_LE(inkHi, c + 1) << inkHi;
        EXPECT_GE(inkLo, c - extentAlong - 1);
        break;
    }
    // Across the ruler the text starts at the indent (one pixel before it for some).
    EXPECT_GE(acrossLo, ni - 1);
    EXPECT_LE(acrossLo, ni + 3);
  }
}

// Caption placements: only the caption is visible (no number on the ruler), 140 x 60 or
// 60 x 140, CI1 = 9, CI2 = 5.
TEST(RulerPainter, AllCaptionPlacements) {
  struct Case {
    TOrientation o;
    TCaptionAlign a;
    TFontRotation r;
    int x, y;
  };
  const std::string text = "Ab1";
  const TextSize s = Measure(TestLook().Font, fr0, text);
  const int w = s.W, hd = s.Hd, ci1 = 9, ci2 = 5, L = 140;
  const std::vector<Case> cases{
      {orHoriz, caTopLeft, fr0, ci1, ci2},               {orHoriz, caTopLeft, fr90, ci1, ci2 + w},
      {orHoriz, caTopLeft, fr180, ci1 + w, ci2 + hd},    {orHoriz, caTopLeft, fr270, ci1 + hd, ci2},
      {orHoriz, caBottomRight, fr0, L - ci1 - w, ci2},   {orHoriz, caBottomRight, fr90, L - ci1 - hd, ci2 + w},
      {orHoriz, caBottomRight, fr180, L - ci1, ci2 + hd}, {orHoriz, caBottomRight, fr270, L - ci1, ci2},
      {orVert, caTopLeft, fr0, ci2, ci1},                {orVert, caTopLeft, fr90, ci2, ci1 + w},
      {orVert, caTopLeft, fr180, ci2 + w, ci1 + hd},     {orVert, caTopLeft, fr270, ci2 + hd, ci1},
      {orVert, caBottomRight, fr0, ci2, L - ci1 - hd},   {orVert, caBottomRight, fr90, ci2, L - ci1},
      {orVert, caBottomRight, fr180, ci2 + w, L - ci1},  {orVert, caBottomRight, fr270, ci2 + hd, L - ci1 - w},
  };
  ASSERT_EQ(cases.size(), 16u);
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << OrientationName(k.o) << " " << CaptionAlignName(k.a) << " " << FontRotationName(k.r));
    TRulerPaintState look = TestLook();
    look.Orientation = k.o;
    look.CaptionAlign = k.a;
    look.FontRotation = k.r;
    look.Caption = text;
    look.CaptionIndent1 = ci1;
    look.CaptionIndent2 = ci2;
    look.TickSizeBig = look.TickSizeMiddle = look.TickSizeSmall = 0;
    look.UnitSize = 1e6;
    look.StartValue = 0.5;  // units at -500000 and +500000: no number in sight
    const bool h = k.o == orHoriz;
    const int width = h ? L : 60, height = h ? 60 : L;
    EXPECT_EQ(CaptionOrigin(k.o, k.a, k.r, ci1, ci2, w, hd, width, height), (gfx::Point{k.x, k.y}));

    gfx::Bitmap bmp = Paint(look, width, height);
    gfx::Bitmap want(width, height, kBack);
    DrawText(want, look.Font, k.r, k.x, k.y, text, kBack);
    EXPECT_EQ(MaskDifference(bmp, want, kInk), 0);

    // The caption keeps CI1 from its end of the ruler and CI2 from the top or left edge.
    const gfx::Rect ink = InkBox(bmp, kInk);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(Inside(ink, TextCell({k.x, k.y}, k.r, w, hd)));
    const int inkLo = h ? ink.left : ink.top, inkHi = h ? ink.right : ink.bottom;
    const int acrossLo = h ? ink.top : ink.left;
    if (k.a == caTopLeft) {
      EXPECT_GE(inkLo, ci1);
      EXPECT_LE(inkLo, ci1 + 3);
    } else {
      EXPECT_LE(inkHi, L - ci1 + 1);
      EXPECT_GE(inkHi, L - ci1 - 3);
    }
    EXPECT_GE(acrossLo, ci2);
    EXPECT_LE(acrossLo, ci2 + 3);
  }
}

TEST(RulerPainter, ALongStripPaintsOnlyWhatItsCanvasShows) {
  // A vertical ruler 32767 pixels long, the longest strip there can be, of which a window
  // shows 600 rows. Painted whole, it draws a tick on every odd row from one unit before its
  // start, -19, to 32765: 16393 of them, numbers included. Seen
  // through a clip band or through a small bitmap placed by the canvas origin, it must draw
  // only the ticks near what shows, and those pixels exactly as the whole paint has them.
  TRulerPaintState look = TestLook();
  look.Orientation = orVert;
  look.StartValue = -0.05;  // ticks on odd rows
  look.DrawFrame = true;
  constexpr int kLength = 32767, kThick = 49, kFrom = 16000, kRows = 600;
  gfx::Bitmap whole(kThick, kLength, kOutside);
  gfx::Canvas wholeCanvas(whole);
  EXPECT_EQ(PaintRuler(wholeCanvas, look, kThick, kLength), 16393);

  gfx::Bitmap banded(kThick, kLength, kOutside);
  gfx::Canvas bandCanvas(banded);
  bandCanvas.SetClipRegion(gfx::Region(gfx::Rect{0, kFrom, kThick, kFrom + kRows}));
  const int bandTicks = PaintRuler(bandCanvas, look, kThick, kLength);
  EXPECT_GE(bandTicks, kRows / 2);
  EXPECT_LT(bandTicks, kRows);

  gfx::Bitmap window(kThick, kRows, kOutside);
  gfx::Canvas windowCanvas(window);
  windowCanvas.Origin = {0, -kFrom};
  EXPECT_EQ(PaintRuler(windowCanvas, look, kThick, kLength), bandTicks);

  // Through the walk marks a control keeps between paints: the same, the first time and again,
  // and again after the scale moved by one pixel and back.
  TRulerWalkMarks marks;
  for (double start : {-0.05, -0.05, 0.0, -0.05}) {
    look.StartValue = start;
    gfx::Bitmap again(kThick, kRows, kOutside);
    gfx::Canvas againCanvas(again);
    againCanvas.Origin = {0, -kFrom};
    const int ticks = PaintRuler(againCanvas, look, kThick, kLength, &marks);
    if (start != -0.05) continue;
    EXPECT_EQ(ticks, bandTicks);
    EXPECT_TRUE(again == window);
  }
  // The marks reach only as far as a paint asked; a window further down, at the ruler's end,
  // walks them on and must still match the whole paint there.
  {
    gfx::Bitmap tail(kThick, kRows, kOutside);
    gfx::Canvas tailCanvas(tail);
    tailCanvas.Origin = {0, -(kLength - kRows)};
    PaintRuler(tailCanvas, look, kThick, kLength, &marks);
    int tailDifferences = 0;
    for (int y = 0; y < kRows; ++y)
      for (int x = 0; x < kThick; ++x) tailDifferences += tail.At(x, y) != whole.At(x, kLength - kRows + y);
    EXPECT_EQ(tailDifferences, 0);
  }

  int differences = 0, outsideBand = 0;
  for (int y = 0; y < kLength; ++y)
    for (int x = 0; x < kThick; ++x) {
      const bool inBand = y >= kFrom && y < kFrom + kRows;
      if (inBand) {
        differences += banded.At(x, y) != whole.At(x, y);
        differences += window.At(x, y - kFrom) != whole.At(x, y);
      } else {
        outsideBand += banded.At(x, y) != kOutside;
      }
    }
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(outsideBand, 0);
  // The band holds ticks on odd rows (a small tick, 25 % of 49 = 12 pixels, from the right
  // edge's column 48 inward; the frame covers column 48 itself) and the background on even ones.
  EXPECT_EQ(window.At(40, 16001 - kFrom), kTick);
  EXPECT_EQ(window.At(40, 16002 - kFrom), kBack);
}
