// Canvas lines, rectangles, fills, clipping, origin and pixel access, checked pixel by pixel.
#include "graphics/Canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <utility>

#include "tests/graphics/CanvasTestSupport.h"

namespace gfx {
namespace {

using testing::Picture;
using testing::PixelsNot;
using testing::Rows;

const std::map<TColor, char> kLegend = {{clWhite, '.'}, {clBlack, '#'}, {clRed, 'r'}, {clBlue, 'b'}, {clLime, 'g'}};

std::set<std::pair<int, int>> BlackPixels(const Bitmap& bmp) {
  std::set<std::pair<int, int>> s;
  for (const Point& p : PixelsNot(bmp, clWhite)) s.insert({p.x, p.y});
  return s;
}

TEST(CanvasLine, EveryDirectionLeavesOutTheEndPointAndFollowsTheIdealLine) {
  // Every end point within 8 pixels of the centre: all eight octants, the axes, the diagonals
  // and the tie cases in between.
  for (int dx = -8; dx <= 8; ++dx) {
    for (int dy = -8; dy <= 8; ++dy) {
      if (dx == 0 && dy == 0) continue;
      SCOPED_TRACE(::testing::Message() << "dx=" << dx << " dy=" << dy);
      Bitmap bmp(41, 41, clWhite);
      Canvas c(bmp);
      c.MoveTo(20, 20);
      c.LineTo(20 + dx, 20 + dy);
      EXPECT_EQ(c.PenPos(), (Point{20 + dx, 20 + dy}));
      const auto px = BlackPixels(bmp);
      const int n = std::max(std::abs(dx), std::abs(dy));
      ASSERT_EQ(int(px.size()), n);
      EXPECT_TRUE(px.count({20, 20}));
      EXPECT_FALSE(px.count({20 + dx, 20 + dy}));
      // One pixel per step along the major axis, never more than half a pixel off the line.
      const bool xMajor = std::abs(dx) >= std::abs(dy);
      std::set<int> steps;
      for (const auto& [x, y] : px) {
        const int i = xMajor ? (x - 20) * (dx < 0 ? -1 : 1) : (y - 20) * (dy < 0 ? -1 : 1);
        EXPECT_GE(i, 0);
        EXPECT_LT(i, n);
        steps.insert(i);
        const double ideal = xMajor ? 20 + double(i) * dy / std::abs(dx) : 20 + double(i) * dx / std::abs(dy);
        EXPECT_LE(std::abs((xMajor ? y : x) - ideal), 0.5);
      }
      EXPECT_EQ(int(steps.size()), n);

      // The reverse line covers the same pixels, apart from the two end points.
      Bitmap back(41, 41, clWhite);
      Canvas cb(back);
      cb.MoveTo(20 + dx, 20 + dy);
      cb.LineTo(20, 20);
      auto fwd = px, rev = BlackPixels(back);
      fwd.insert({20 + dx, 20 + dy});
      rev.insert({20, 20});
      EXPECT_EQ(fwd, rev);
    }
  }
}

TEST(CanvasLine, AxisAndDiagonalLinesAndPolyline) {
  Bitmap bmp(8, 6, clWhite);
  Canvas c(bmp);
  c.MoveTo(1, 1);
  c.LineTo(6, 1);  // horizontal, x 1..5
  c.MoveTo(0, 5);
  c.LineTo(0, 2);  // vertical upwards, y 5..3
  c.Pen.Color = clRed;
  c.MoveTo(3, 2);
  c.LineTo(6, 5);  // diagonal, (3,2) (4,3) (5,4)
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "........",
                                                     ".#####..",
                                                     "...r....",
                                                     "#...r...",
                                                     "#....r..",
                                                     "#.......",
                                                 }));

  // A polyline joins its segments without gaps, leaves out only its last point and does not
  // move the pen.
  Bitmap pb(6, 5, clWhite);
  Canvas pc(pb);
  pc.MoveTo(5, 4);
  const Point pts[] = {{0, 0}, {4, 0}, {4, 3}, {1, 3}};
  pc.Polyline(pts);
  EXPECT_EQ(Picture(pb, pb.Bounds(), kLegend), Rows({
                                                   "#####.",
                                                   "....#.",
                                                   "....#.",
                                                   "..###.",
                                                   "......",
                                               }));
  EXPECT_EQ(pc.PenPos(), (Point{5, 4}));
}

TEST(CanvasLine, PenStylesWidthsAndInvisiblePens) {
  // Dashes of 18 on and 6 off; gaps take the background colour in opaque mode.
  Bitmap bmp(64, 3, clWhite);
  Canvas c(bmp);
  c.Pen.Style = PenStyle::Dash;
  c.BkColor = clRed;
  c.BkMode = BkMode::Opaque;
  c.MoveTo(0, 0);
  c.LineTo(60, 0);
  c.BkMode = BkMode::Transparent;
  c.MoveTo(0, 1);
  c.LineTo(60, 1);
  c.Pen.Style = PenStyle::Dot;
  c.MoveTo(0, 2);
  c.LineTo(13, 2);
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend),
            Rows({
                "##################rrrrrr##################rrrrrr############....",
                "##################......##################......############....",
                "###...###...#...................................................",
            }));

  // The dash pattern runs on round the corners of a polyline.
  Bitmap pb(30, 30, clWhite);
  Canvas pc(pb);
  pc.Pen.Style = PenStyle::Dot;
  pc.BkMode = BkMode::Transparent;
  const Point pts[] = {{0, 0}, {4, 0}, {4, 10}};
  pc.Polyline(pts);
  // x 0..3 of row 0 are steps 0..3; (4, 0) is step 4 (off), (4, 1) step 5 (off), (4, 2) step 6 (on).
  EXPECT_EQ(Picture(pb, {0, 0, 6, 4}, kLegend), Rows({"###...", "......", "....#.", "....#."}));

  // Width 3: a 3-pixel band with the end points covered by the pen (round caps are square at
  // this width).
  Bitmap wb(20, 20, clWhite);
  Canvas wc(wb);
  wc.Pen.Width = 3;
  wc.MoveTo(5, 10);
  wc.LineTo(15, 10);
  auto px = PixelsNot(wb, clWhite);
  EXPECT_EQ(px.size(), 13u * 3u);
  for (const Point& p : px) {
    EXPECT_GE(p.x, 4);
    EXPECT_LE(p.x, 16);
    EXPECT_GE(p.y, 9);
    EXPECT_LE(p.y, 11);
  }
  // Width 5: the disc-shaped pen leaves the corners of its square out.
  wb.Fill(clWhite);
  wc.Pen.Width = 5;
  wc.MoveTo(10, 10);
  wc.LineTo(10, 10);
  EXPECT_EQ(Picture(wb, {7, 7, 14, 14}, kLegend), Rows({
                                                      ".......",
                                                      "..###..",
                                                      ".#####.",
                                                      ".#####.",
                                                      ".#####.",
                                                      "..###..",
                                                      ".......",
                                                  }));
  // A wide diagonal line is one connected band: each row holds one run of pen pixels.
  wb.Fill(clWhite);
  wc.Pen.Width = 4;
  wc.MoveTo(3, 3);
  wc.LineTo(16, 12);
  for (int y = 0; y < 20; ++y) {
    int runs = 0;
    for (int x = 0; x < 20; ++x)
      if (wb.At(x, y) == clBlack && (x == 0 || wb.At(x - 1, y) != clBlack)) ++runs;
    EXPECT_LE(runs, 1) << "row " << y;
  }

  // Clear pens and pens without colour draw nothing.
  Bitmap nb(10, 10, clWhite);
  Canvas nc(nb);
  nc.Pen.Style = PenStyle::Clear;
  nc.MoveTo(0, 0);
  nc.LineTo(9, 9);
  nc.Pen.Style = PenStyle::Solid;
  nc.Pen.Color = clNone;
  nc.LineTo(0, 9);
  EXPECT_TRUE(PixelsNot(nb, clWhite).empty());
  EXPECT_EQ(nc.PenPos(), (Point{0, 9}));
}

TEST(CanvasRectangle, OutlineInteriorAndPenVariants) {
  Bitmap bmp(8, 6, clWhite);
  Canvas c(bmp);
  c.Brush.Color = clRed;
  c.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "........",
                                                     ".#####..",
                                                     ".#rrr#..",
                                                     ".#rrr#..",
                                                     ".#####..",
                                                     "........",
                                                 }));
  // Reversed corners draw the same rectangle.
  Bitmap rev(8, 6, clWhite);
  Canvas rc(rev);
  rc.Brush.Color = clRed;
  rc.Rectangle(6, 5, 1, 1);
  EXPECT_EQ(rev, bmp);

  // Without a pen the filled area loses the right column and bottom row.
  bmp.Fill(clWhite);
  c.Pen.Style = PenStyle::Clear;
  c.Rectangle(Rect{1, 1, 6, 5});
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "........",
                                                     ".rrrr...",
                                                     ".rrrr...",
                                                     ".rrrr...",
                                                     "........",
                                                     "........",
                                                 }));
  // A clear brush leaves the inside alone.
  bmp.Fill(clBlue);
  c.Pen.Style = PenStyle::Solid;
  c.Brush.Style = BrushStyle::Clear;
  c.Rectangle(0, 0, 4, 3);
  EXPECT_EQ(Picture(bmp, {0, 0, 5, 4}, kLegend), Rows({"####b", "#bb#b", "####b", "bbbbb"}));

  // A 3-pixel pen is centred on the outline path; with the inside-frame style it stays inside.
  Bitmap wb(13, 13, clWhite);
  Canvas wc(wb);
  wc.Pen.Width = 3;
  wc.Brush.Color = clRed;
  wc.Rectangle(3, 3, 10, 10);
  const std::string wide = Rows({
      ".............",
      ".............",
      "..#########..",
      "..#########..",
      "..#########..",
      "..###rrr###..",
      "..###rrr###..",
      "..###rrr###..",
      "..#########..",
      "..#########..",
      "..#########..",
      ".............",
      ".............",
  });
  EXPECT_EQ(Picture(wb, wb.Bounds(), kLegend), wide);
  wb.Fill(clWhite);
  wc.Pen.Style = PenStyle::InsideFrame;
  wc.Rectangle(2, 2, 11, 11);
  EXPECT_EQ(Picture(wb, wb.Bounds(), kLegend), wide);

  // A dotted outline keeps its rhythm round the corners.
  Bitmap db(6, 4, clWhite);
  Canvas dc(db);
  dc.Pen.Style = PenStyle::Dot;
  dc.BkMode = BkMode::Transparent;
  dc.Brush.Style = BrushStyle::Clear;
  dc.Rectangle(0, 0, 6, 4);
  // Clockwise from the top-left: steps 0..4 on the top, 5..7 down the right, 8..12 along the
  // bottom, 13..15 up the left.
  EXPECT_EQ(Picture(db, db.Bounds(), kLegend), Rows({"###...", ".....#", "#....#", "##...#"}));

  // Empty rectangles draw nothing.
  Bitmap eb(5, 5, clWhite);
  Canvas ec(eb);
  ec.Rectangle(2, 0, 2, 5);
  ec.Rectangle(0, 3, 5, 3);
  EXPECT_TRUE(PixelsNot(eb, clWhite).empty());
}

TEST(CanvasFill, FillRectFrameRectAndColours) {
  Bitmap bmp(6, 5, clWhite);
  Canvas c(bmp);
  c.Brush.Color = clRed;
  c.FillRect({1, 1, 4, 3});
  c.Brush.Color = clBlue;
  c.FillRect({3, 3, 3, 5});  // empty
  c.FillRect({5, 4, 2, 1});  // inverted: nothing
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "......",
                                                     ".rrr..",
                                                     ".rrr..",
                                                     "......",
                                                     "......",
                                                 }));
  bmp.Fill(clWhite);
  c.Brush.Color = clBlack;
  c.FrameRect({0, 0, 5, 4});
  c.FrameRect({5, 4, 6, 5});  // a one-pixel frame is one pixel
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "#####.",
                                                     "#...#.",
                                                     "#...#.",
                                                     "#####.",
                                                     ".....#",
                                                 }));

  // System colours are resolved when drawing; clNone and the clear brush draw nothing.
  c.Brush.Color = clBtnFace;
  c.FillRect({0, 0, 1, 1});
  EXPECT_EQ(bmp.At(0, 0), 0xC0C0C0u);
  c.Brush.Color = clNone;
  c.FillRect({0, 0, 6, 5});
  c.Brush.Color = clRed;
  c.Brush.Style = BrushStyle::Clear;
  c.FillRect({0, 0, 6, 5});
  EXPECT_EQ(bmp.At(0, 0), 0xC0C0C0u);
  EXPECT_EQ(bmp.At(1, 1), clWhite);
}

TEST(CanvasClip, RegionClipOriginAndPixelAccess) {
  Bitmap bmp(10, 6, clWhite);
  Canvas c(bmp);
  c.SetClipRegion(Region::FromRects(std::vector<Rect>{{1, 1, 3, 3}, {6, 2, 9, 5}}));
  c.Brush.Color = clRed;
  c.FillRect({-100, -100, 100, 100});
  c.MoveTo(0, 4);
  c.LineTo(10, 4);
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "..........",
                                                     ".rr.......",
                                                     ".rr...rrr.",
                                                     "......rrr.",
                                                     "......###.",
                                                     "..........",
                                                 }));
  EXPECT_EQ(c.GetPixel(1, 1), clRed);
  EXPECT_EQ(c.GetPixel(0, 0), CLR_INVALID);  // outside the clip
  EXPECT_FALSE(c.InClip(3, 1));
  EXPECT_TRUE(c.InClip(8, 4));
  c.SetPixel(0, 0, clBlue);  // outside the clip: ignored
  EXPECT_EQ(bmp.At(0, 0), clWhite);

  // The origin moves logical coordinates; the clip stays in device coordinates, but
  // IntersectClipRect takes logical ones.
  bmp.Fill(clWhite);
  c.SetClipRegion(std::nullopt);
  c.Origin = {3, 2};
  c.IntersectClipRect({0, 0, 4, 2});  // device 3..6 x 2..3
  ASSERT_TRUE(c.ClipRegion().has_value());
  EXPECT_EQ(c.ClipRegion()->Bounds(), (Rect{3, 2, 7, 4}));
  c.FillRect({-1, -1, 2, 9});
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), kLegend), Rows({
                                                     "..........",
                                                     "..........",
                                                     "...rr.....",
                                                     "...rr.....",
                                                     "..........",
                                                     "..........",
                                                 }));
  EXPECT_EQ(c.GetPixel(0, 0), clRed);
  EXPECT_EQ(c.GetPixel(2, 0), clWhite);
  EXPECT_EQ(c.GetPixel(4, 0), CLR_INVALID);
  c.SetClipRegion(std::nullopt);
  c.SetPixel(-3, -2, clBtnShadow);
  EXPECT_EQ(bmp.At(0, 0), 0x808080u);
  c.SetPixel(0, 0, clNone);
  EXPECT_EQ(bmp.At(3, 2), clRed);
  EXPECT_EQ(c.GetPixel(7, 0), CLR_INVALID);  // device x 10: outside the bitmap
  EXPECT_EQ(c.GetPixel(-4, 0), CLR_INVALID);
  c.PutDevicePixel(9, 5, clBlue);
  c.PutDevicePixel(10, 5, clBlue);  // outside: ignored
  EXPECT_EQ(bmp.At(9, 5), clBlue);

  // A line through a clip with several rectangles is the unclipped line cut to the clip.
  Bitmap full(30, 20, clWhite), cut(30, 20, clWhite);
  Canvas cf(full), cc(cut);
  const Region clip = Region::FromRects(std::vector<Rect>{{0, 0, 10, 20}, {14, 3, 30, 8}, {20, 12, 25, 20}});
  cc.SetClipRegion(clip);
  for (Canvas* k : {&cf, &cc}) {
    k->MoveTo(-5, 19);
    k->LineTo(33, 1);
    k->MoveTo(2, -3);
    k->LineTo(26, 22);
  }
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      EXPECT_EQ(cut.At(x, y), clip.Contains(x, y) ? full.At(x, y) : clWhite) << x << "," << y;

  // An empty clip region hides everything.
  cc.SetClipRegion(Region());
  cc.Brush.Color = clRed;
  Bitmap before = cut;
  cc.FillRect({0, 0, 30, 20});
  cc.LineTo(0, 0);
  cc.Rectangle(0, 0, 30, 20);
  EXPECT_EQ(cut, before);
}

TEST(CanvasRobustness, ExtremeCoordinatesAndSizesDoNotCrash) {
  Bitmap bmp(16, 16, clWhite);
  Canvas c(bmp);
  c.Brush.Color = clRed;
  c.MoveTo(INT_MIN, INT_MIN);
  c.LineTo(INT_MAX, INT_MAX);
  c.MoveTo(INT_MIN, 5);
  c.LineTo(INT_MAX, 5);
  c.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  c.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  c.RoundRect(-100000, -100000, 100000, 100000, INT_MAX, INT_MIN);
  c.Pen.Width = INT_MAX;
  c.MoveTo(0, 0);
  c.LineTo(5, 5);
  c.Pen.Width = -7;
  c.LineTo(9, 9);
  // A line far outside, whose device row is 2^32 below row 3, must not wrap onto row 3.
  Bitmap wrap(16, 16, clWhite);
  Canvas wc(wrap);
  wc.Origin = {0, INT_MIN};
  wc.MoveTo(0, INT_MIN + 3);
  wc.LineTo(12, INT_MIN + 3);
  wc.MoveTo(-5, INT_MIN + 3);
  wc.LineTo(12, INT_MIN + 4);
  EXPECT_TRUE(PixelsNot(wrap, clWhite).empty());
  c.Origin = {INT_MAX, INT_MIN};
  c.FillRect({INT_MAX, INT_MIN, 5, 5});
  c.PatBlt(INT_MAX, INT_MAX, INT_MIN, INT_MIN, PATCOPY);
  c.StretchBlt(INT_MIN, INT_MIN, INT_MIN, INT_MAX, bmp, INT_MAX, INT_MIN, INT_MIN, INT_MAX);
  c.BitBlt(0, 0, INT_MAX, INT_MAX, bmp, INT_MIN, INT_MIN);
  Rect r{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  c.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  c.DrawFocusRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  EXPECT_EQ(c.GetPixel(INT_MAX, INT_MAX), CLR_INVALID);
  // An empty bitmap takes every call quietly.
  Bitmap empty;
  Canvas e(empty);
  e.FillRect({0, 0, 10, 10});
  e.LineTo(10, 10);
  e.Ellipse(0, 0, 10, 10);
  e.StretchBlt(0, 0, 10, 10, bmp, 0, 0, 16, 16);
  EXPECT_EQ(e.GetPixel(0, 0), CLR_INVALID);
}

}  // namespace
}  // namespace gfx
