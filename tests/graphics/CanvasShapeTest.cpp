// Canvas curved shapes, polygons, brushes, 3D edges and focus rectangles.
#include <gtest/gtest.h>

#include "graphics/Canvas.h"
#include "tests/graphics/CanvasTestSupport.h"

namespace gfx {
namespace {

using testing::Picture;
using testing::PixelsNot;
using testing::Rows;

// The outline pixels of a shape: pixels of the shape with a 4-neighbour outside it.
bool OnOutline(const Region& shape, int x, int y) {
  return shape.Contains(x, y) && (!shape.Contains(x - 1, y) || !shape.Contains(x + 1, y) ||
                                  !shape.Contains(x, y - 1) || !shape.Contains(x, y + 1));
}

// R with each pixel also covering its right, lower and lower-right neighbours; a box one pixel
// wide or high when R is empty.
Region Grown(const Region& r, const Rect& box) {
  if (r.IsEmpty()) return Region(box);
  return r.Union(r.Offset(1, 0)).Union(r.Offset(0, 1)).Union(r.Offset(1, 1));
}

TEST(CanvasEllipse, FigureOutlineAndSymmetryForOddAndEvenSizes) {
  for (int w = 1; w <= 17; ++w) {
    for (int h = 1; h <= 17; h += (h < 4 ? 1 : 3)) {
      SCOPED_TRACE(::testing::Message() << w << "x" << h);
      Bitmap bmp(24, 24, clWhite);
      Canvas c(bmp);
      c.Brush.Color = clRed;
      const Rect box{3, 2, 3 + w, 2 + h};
      c.Ellipse(box.left, box.top, box.right, box.bottom);
      // With a pen the figure fills its box like a rectangle: the region call's ellipse grown
      // by one pixel to the right and down, so that it holds the whole region.
      const Region shape = Grown(Region::Ellipse(box), box);
      EXPECT_EQ(shape.Bounds(), box);
      EXPECT_TRUE(Region::Ellipse(box).Subtract(shape).IsEmpty());
      for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
          const TColor want = !shape.Contains(x, y) ? clWhite : OnOutline(shape, x, y) ? clBlack : clRed;
          ASSERT_EQ(bmp.At(x, y), want) << x << "," << y;
          // Mirror images across both axes of the box.
          const int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
          if (mx >= 0 && mx < 24) {
            ASSERT_EQ(bmp.At(mx, y), bmp.At(x, y));
          }
          if (my >= 0 && my < 24) {
            ASSERT_EQ(bmp.At(x, my), bmp.At(x, y));
          }
        }
      }
      // The outline is closed: every outline pixel has at least two outline pixels among its
      // eight neighbours (for shapes big enough to have a hole).
      if (w >= 5 && h >= 5) {
        for (int y = box.top; y < box.bottom; ++y)
          for (int x = box.left; x < box.right; ++x) {
            if (bmp.At(x, y) != clBlack) continue;
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy)
              for (int dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && bmp.Get(x + dx, y + dy) == clBlack) ++n;
            EXPECT_GE(n, 2) << x << "," << y;
          }
      }
    }
  }
}

TEST(CanvasEllipse, PenVariantsAndRoundRect) {
  // Without a pen the fill loses the right column and bottom row: it is the region call's
  // ellipse of the same box.
  Bitmap bmp(20, 20, clWhite);
  Canvas c(bmp);
  c.Pen.Style = PenStyle::Clear;
  c.Brush.Color = clBlue;
  c.Ellipse(2, 3, 15, 13);
  const Region small = Region::Ellipse({2, 3, 15, 13});
  EXPECT_EQ(small.Bounds(), (Rect{2, 3, 14, 12}));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(bmp.At(x, y), small.Contains(x, y) ? clBlue : clWhite);

  // A 3-pixel pen widens the outline by one pixel on each side of the thin outline, and the
  // brush fills what is left inside.
  Bitmap wb(30, 30, clWhite);
  Canvas wc(wb);
  wc.Pen.Width = 3;
  wc.Brush.Color = clRed;
  wc.Ellipse(5, 5, 25, 24);
  const Region shape = Grown(Region::Ellipse({5, 5, 25, 24}), {5, 5, 25, 24});
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      bool nearOutline = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) nearOutline |= OnOutline(shape, x + dx, y + dy);
      const TColor want = nearOutline ? clBlack : shape.Contains(x, y) ? clRed : clWhite;
      ASSERT_EQ(wb.At(x, y), want) << x << "," << y;
    }
  }
  // Inside-frame keeps the wide outline within the box.
  wb.Fill(clWhite);
  wc.Pen.Style = PenStyle::InsideFrame;
  wc.Ellipse(5, 5, 25, 24);
  for (const Point& p : PixelsNot(wb, clWhite)) EXPECT_TRUE((Rect{5, 5, 25, 24}.Contains(p)));
  EXPECT_EQ(wb.At(5, 14), clBlack);
  EXPECT_EQ(wb.At(24, 14), clBlack);

  // A dashed ellipse outline alternates runs of outline pixels and gaps.
  wb.Fill(clWhite);
  wc.Pen = Pen{clBlack, 1, PenStyle::Dash};
  wc.BkMode = BkMode::Transparent;
  wc.Brush.Style = BrushStyle::Clear;
  wc.Ellipse(2, 2, 28, 28);
  const Region big = Grown(Region::Ellipse({2, 2, 28, 28}), {2, 2, 28, 28});
  int inked = 0, gaps = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      if (wb.At(x, y) == clBlack) {
        ++inked;
        EXPECT_TRUE(OnOutline(big, x, y));
      } else if (OnOutline(big, x, y)) {
        ++gaps;
      }
    }
  EXPECT_GT(inked, 2 * gaps);
  EXPECT_GT(gaps, 6);

  // Rounded rectangle: the figure is the rounded region, its boundary drawn with the pen.
  Bitmap rb(20, 16, clWhite);
  Canvas rc(rb);
  rc.Brush.Color = clLime;
  rc.RoundRect(1, 1, 19, 15, 8, 6);
  const Region rr = Grown(Region::RoundRect({1, 1, 19, 15}, 8, 6), {1, 1, 19, 15});
  EXPECT_EQ(rr.Bounds(), (Rect{1, 1, 19, 15}));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) {
      const TColor want = !rr.Contains(x, y) ? clWhite : OnOutline(rr, x, y) ? clBlack : clLime;
      ASSERT_EQ(rb.At(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(rb.At(1, 1), clWhite);  // the corner is cut off
  EXPECT_EQ(rb.At(10, 1), clBlack);
  // Without a pen it fills just the region call's shape of the same box.
  rb.Fill(clWhite);
  rc.Pen.Style = PenStyle::Clear;
  rc.RoundRect(1, 1, 19, 15, 8, 6);
  const Region rrFill = Region::RoundRect({1, 1, 19, 15}, 8, 6);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(rb.At(x, y), rrFill.Contains(x, y) ? clLime : clWhite);
}

TEST(CanvasPolygon, FillRulesAndOutline) {
  // A five-pointed star drawn in one stroke: its centre is enclosed twice.
  const Point star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  Bitmap alt(21, 21, clWhite), wind(21, 21, clWhite);
  Canvas ca(alt), cw(wind);
  for (Canvas* c : {&ca, &cw}) {
    c->Pen.Style = PenStyle::Clear;
    c->Brush.Color = clRed;
  }
  ca.Polygon(star, FillMode::Alternate);
  cw.Polygon(star, FillMode::Winding);
  EXPECT_EQ(alt.At(10, 10), clWhite);
  EXPECT_EQ(wind.At(10, 10), clRed);
  EXPECT_EQ(alt.At(10, 4), clRed);  // inside one tip
  EXPECT_EQ(wind.At(10, 4), clRed);
  const Region altRgn = Region::Polygon(star, FillMode::Alternate), windRgn = Region::Polygon(star, FillMode::Winding);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      EXPECT_EQ(alt.At(x, y) == clRed, altRgn.Contains(x, y));
      EXPECT_EQ(wind.At(x, y) == clRed, windRgn.Contains(x, y));
    }

  // With a pen the outline closes the figure: every vertex and the closing edge are drawn.
  Bitmap tri(12, 12, clWhite);
  Canvas ct(tri);
  ct.Brush.Color = clBlue;
  ct.Origin = {1, 1};
  const Point pts[] = {{0, 0}, {9, 0}, {0, 9}};
  ct.Polygon(pts);
  EXPECT_EQ(tri.At(1, 1), clBlack);
  EXPECT_EQ(tri.At(10, 1), clBlack);
  EXPECT_EQ(tri.At(1, 10), clBlack);
  EXPECT_EQ(tri.At(5, 6), clBlack);  // on the hypotenuse
  EXPECT_EQ(tri.At(3, 3), clBlue);
  EXPECT_EQ(tri.At(8, 8), clWhite);
  // Fewer than two points draw nothing.
  Bitmap none(5, 5, clWhite);
  Canvas cn(none);
  cn.Polygon(std::span<const Point>(pts, 1));
  EXPECT_TRUE(PixelsNot(none, clWhite).empty());
}

TEST(CanvasBrush, HatchPatternsAlignedToTheDevice) {
  auto onLine = [](BrushStyle s, int x, int y) {
    const int u = x & 7, v = y & 7;
    switch (s) {
      case BrushStyle::Horizontal: return v == 0;
      case BrushStyle::Vertical: return u == 0;
      case BrushStyle::FDiagonal: return u == v;          // running down to the right
      case BrushStyle::BDiagonal: return u + v == 7;      // running up to the right
      case BrushStyle::Cross: return u == 0 || v == 0;
      case BrushStyle::DiagCross: return u == v || u + v == 7;
      default: return false;
    }
  };
  for (BrushStyle s : {BrushStyle::Horizontal, BrushStyle::Vertical, BrushStyle::FDiagonal, BrushStyle::BDiagonal,
                       BrushStyle::Cross, BrushStyle::DiagCross}) {
    SCOPED_TRACE(int(s));
    Bitmap bmp(20, 20, clWhite);
    Canvas c(bmp);
    c.Brush = Brush{clBlue, s, {}};
    c.BkColor = clYellow;
    c.Origin = {3, 5};  // the pattern follows device, not logical, coordinates
    c.FillRect({0, 0, 10, 10});
    c.BkMode = BkMode::Transparent;
    c.FillRect({0, 10, 10, 15});
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        TColor want = clWhite;
        if (x >= 3 && x < 13 && y >= 5 && y < 15) want = onLine(s, x, y) ? clBlue : clYellow;
        if (x >= 3 && x < 13 && y >= 15) want = (y < 20 && onLine(s, x, y)) ? clBlue : clWhite;
        ASSERT_EQ(bmp.At(x, y), want) << x << "," << y;
      }
  }

  // A monochrome pattern: 0 bits take the text colour, 1 bits the background colour, in either
  // background mode; the hatch brush works in shapes too.
  Bitmap bmp(8, 2, clWhite);
  Canvas c(bmp);
  c.Brush.Style = BrushStyle::Pattern;
  c.Brush.Pattern = {0xF0, 0x3C, 0, 0, 0, 0, 0, 0};
  c.TextColor = clRed;
  c.BkColor = clBlue;
  c.BkMode = BkMode::Transparent;
  c.FillRect({0, 0, 8, 2});
  EXPECT_EQ(Picture(bmp, bmp.Bounds(), {{clRed, 'r'}, {clBlue, 'b'}}), Rows({"bbbbrrrr", "rrbbbbrr"}));

  Bitmap sh(12, 12, clWhite);
  Canvas cs(sh);
  cs.Brush = Brush{clRed, BrushStyle::Horizontal, {}};
  cs.BkMode = BkMode::Transparent;
  cs.Rectangle(0, 0, 12, 12);
  EXPECT_EQ(sh.At(5, 8), clRed);    // hatch line at row 8
  EXPECT_EQ(sh.At(5, 7), clWhite);  // gap left alone
  EXPECT_EQ(sh.At(0, 7), clBlack);  // outline
}

TEST(CanvasEdge, ClassicColoursSidesAndAdjust) {
  const std::map<TColor, char> legend = {{0xFFFFFF, 'w'}, {0xC0C0C0, 'g'}, {0x808080, 's'}, {0x000000, 'k'}, {clRed, '.'}};
  auto draw = [&](unsigned edge, unsigned flags, Rect* adjusted = nullptr) {
    Bitmap bmp(8, 8, clRed);
    Canvas c(bmp);
    Rect r{1, 1, 7, 7};
    c.DrawEdge(r, edge, flags);
    if (adjusted) *adjusted = r;
    return Picture(bmp, bmp.Bounds(), legend);
  };
  // Raised: light / dark shadow outside, highlight / shadow inside; the top-right and
  // bottom-left corners belong to the bottom-right lines.
  Rect r;
  EXPECT_EQ(draw(EDGE_RAISED, BF_RECT | BF_ADJUST, &r), Rows({
                                                          "........",
                                                          ".gggggk.",
                                                          ".gwwwsk.",
                                                          ".gw..sk.",
                                                          ".gw..sk.",
                                                          ".gssssk.",
                                                          ".kkkkkk.",
                                                          "........",
                                                      }));
  EXPECT_EQ(r, (Rect{3, 3, 5, 5}));
  EXPECT_EQ(draw(EDGE_SUNKEN, BF_RECT | BF_MIDDLE), Rows({
                                                      "........",
                                                      ".sssssw.",
                                                      ".skkkgw.",
                                                      ".skgggw.",
                                                      ".skgggw.",
                                                      ".sggggw.",
                                                      ".wwwwww.",
                                                      "........",
                                                  }));
  // Soft raised edges put the highlight outermost.
  EXPECT_EQ(draw(EDGE_RAISED, BF_RECT | BF_SOFT), Rows({
                                                   "........",
                                                   ".wwwwwk.",
                                                   ".wgggsk.",
                                                   ".wg..sk.",
                                                   ".wg..sk.",
                                                   ".wssssk.",
                                                   ".kkkkkk.",
                                                   "........",
                                               }));
  // Single sides, and adjusting by the borders actually drawn.
  EXPECT_EQ(draw(BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST, &r), Rows({
                                                                       "........",
                                                                       "......g.",
                                                                       "......g.",
                                                                       "......g.",
                                                                       "......g.",
                                                                       "......g.",
                                                                       ".gggggg.",
                                                                       "........",
                                                                   }));
  EXPECT_EQ(r, (Rect{1, 1, 6, 6}));
  EXPECT_EQ(draw(BDR_SUNKENOUTER, BF_RECT | BF_ADJUST, &r), Rows({
                                                             "........",
                                                             ".sssssw.",
                                                             ".s....w.",
                                                             ".s....w.",
                                                             ".s....w.",
                                                             ".s....w.",
                                                             ".wwwwww.",
                                                             "........",
                                                         }));
  EXPECT_EQ(r, (Rect{2, 2, 6, 6}));
  // Flat and mono edges.
  EXPECT_EQ(draw(EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE), Rows({
                                                               "........",
                                                               ".ssssss.",
                                                               ".sggggs.",
                                                               ".sggggs.",
                                                               ".sggggs.",
                                                               ".sggggs.",
                                                               ".ssssss.",
                                                               "........",
                                                           }));
  EXPECT_EQ(draw(EDGE_SUNKEN, BF_RECT | BF_MONO), Rows({
                                                   "........",
                                                   ".kkkkkk.",
                                                   ".kwwwwk.",
                                                   ".kw..wk.",
                                                   ".kw..wk.",
                                                   ".kwwwwk.",
                                                   ".kkkkkk.",
                                                   "........",
                                               }));
  // No border flags: only the middle is filled.
  EXPECT_EQ(draw(0, BF_MIDDLE | BF_ADJUST, &r), Rows({
                                                 "........",
                                                 ".gggggg.",
                                                 ".gggggg.",
                                                 ".gggggg.",
                                                 ".gggggg.",
                                                 ".gggggg.",
                                                 ".gggggg.",
                                                 "........",
                                             }));
  EXPECT_EQ(r, (Rect{1, 1, 7, 7}));
}

TEST(CanvasFocusRect, DottedXorFrameRestoresWhenDrawnTwice) {
  Bitmap bmp(10, 8, clWhite);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) bmp.At(x, y) = RGB(x * 20, y * 30, 77);
  const Bitmap original = bmp;
  Canvas c(bmp);
  c.DrawFocusRect({1, 1, 9, 6});
  int changed = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool onFrame = (x >= 1 && x <= 8 && y >= 1 && y <= 5) && (x == 1 || x == 8 || y == 1 || y == 5);
      const bool dotted = onFrame && ((x - 1) + (y - 1)) % 2 == 0;
      ASSERT_EQ(bmp.At(x, y), dotted ? original.At(x, y) ^ 0xFFFFFF : original.At(x, y)) << x << "," << y;
      changed += dotted;
    }
  EXPECT_EQ(changed, 11);  // 22 frame pixels, every other one
  c.DrawFocusRect({1, 1, 9, 6});
  EXPECT_EQ(bmp, original);
  // Clipped and offset frames restore just the same.
  c.Origin = {-3, 2};
  c.IntersectClipRect({2, -1, 9, 4});  // device -1..5 x 1..5: part of the bottom row
  c.DrawFocusRect({0, -2, 12, 4});
  EXPECT_NE(bmp, original);
  c.DrawFocusRect({0, -2, 12, 4});
  EXPECT_EQ(bmp, original);
}

}  // namespace
}  // namespace gfx
