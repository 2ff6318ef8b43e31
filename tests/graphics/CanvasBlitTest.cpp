// Canvas raster operations: PatBlt with stipple and hatch brushes, BitBlt and StretchBlt.
#include <gtest/gtest.h>

#include "graphics/Canvas.h"
#include "tests/graphics/CanvasTestSupport.h"

namespace gfx {
namespace {

using testing::PixelsNot;

constexpr std::array<std::uint8_t, 8> kStipple25 = {0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00};
constexpr std::array<std::uint8_t, 8> kStipple50 = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};

// Stipples the way the shape control does: white text colour, the stipple colour as background,
// a monochrome pattern brush and destination AND pattern.
void Stipple(Canvas& c, const std::array<std::uint8_t, 8>& pattern, TColor colour, const Rect& r) {
  c.TextColor = clWhite;
  c.BkColor = colour;
  c.Brush.Style = BrushStyle::Pattern;
  c.Brush.Pattern = pattern;
  c.PatBlt(r.left, r.top, r.Width(), r.Height(), PATAND);
}

TEST(CanvasPatBlt, StipplesAndOtherOperations) {
  // A 25% black stipple over white turns exactly 16 of every 64 pixels black.
  Bitmap bmp(64, 64, clWhite);
  Canvas c(bmp);
  Stipple(c, kStipple25, clBlack, bmp.Bounds());
  for (int by = 0; by < 64; by += 8)
    for (int bx = 0; bx < 64; bx += 8) {
      int black = 0;
      for (int y = by; y < by + 8; ++y)
        for (int x = bx; x < bx + 8; ++x) {
          ASSERT_TRUE(bmp.At(x, y) == clBlack || bmp.At(x, y) == clWhite);
          black += bmp.At(x, y) == clBlack;
        }
      ASSERT_EQ(black, 16) << bx << "," << by;
    }
  EXPECT_EQ(bmp.At(0, 0), clBlack);
  EXPECT_EQ(bmp.At(1, 0), clWhite);
  EXPECT_EQ(bmp.At(0, 1), clWhite);

  // 50%: a checkerboard. Pixels under 0 bits keep their colour, pixels under 1 bits are ANDed
  // with the stipple colour.
  const TColor ground = 0x336699;
  bmp.Fill(ground);
  Stipple(c, kStipple50, 0x0F0FF0, {3, 2, 40, 30});
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool inside = x >= 3 && x < 40 && y >= 2 && y < 30;
      const TColor want = inside && (x + y) % 2 == 0 ? (ground & 0x0F0FF0) : ground;
      ASSERT_EQ(bmp.At(x, y), want) << x << "," << y;
    }

  // The pattern follows device coordinates, and the clip holds.
  Bitmap sb(16, 16, clWhite);
  Canvas sc(sb);
  sc.Origin = {1, 0};
  sc.IntersectClipRect({0, 0, 8, 8});  // device 1..8
  Stipple(sc, kStipple25, clBlack, {-1, 0, 20, 20});
  EXPECT_EQ(sb.At(0, 0), clWhite);  // outside the clip
  EXPECT_EQ(sb.At(2, 0), clBlack);  // device column 2: a 1 bit of 0xAA
  EXPECT_EQ(sb.At(1, 0), clWhite);
  EXPECT_EQ(PixelsNot(sb, clWhite).size(), 16u);  // columns 2, 4, 6, 8 on rows 0, 2, 4, 6

  // Named operations with a solid brush, on one pixel each.
  auto one = [](TColor dest, TColor brush, RasterOp rop) {
    Bitmap b(1, 1, dest);
    Canvas k(b);
    k.Brush.Color = brush;
    k.PatBlt(0, 0, 1, 1, rop);
    return b.At(0, 0);
  };
  EXPECT_EQ(one(0x123456, 0x0000FF, PATCOPY), 0x0000FFu);
  EXPECT_EQ(one(0x123456, 0x00FF0F, PATINVERT), 0x123456u ^ 0x00FF0Fu);
  EXPECT_EQ(one(0x123456, 0x00FF0F, DSTINVERT), 0xEDCBA9u);
  EXPECT_EQ(one(0x123456, 0x00FF0F, BLACKNESS), 0u);
  EXPECT_EQ(one(0x123456, 0x00FF0F, WHITENESS), 0xFFFFFFu);
  EXPECT_EQ(one(0x123456, 0x00FF0F, 0x00FA0089), 0x123456u | 0x00FF0Fu);  // pattern OR destination
  EXPECT_EQ(one(0x123456, 0x00FF0F, 0x000A0329), 0x123456u & ~0x00FF0Fu);  // destination AND NOT pattern
  EXPECT_EQ(one(0x123456, clBtnShadow, PATCOPY), 0x808080u);

  // Negative sizes name the rectangle from the other corner.
  Bitmap nb(8, 8, clWhite);
  Canvas nc(nb);
  nc.Brush.Color = clRed;
  nc.PatBlt(5, 5, -3, -2, PATCOPY);
  int red = 0;
  for (const Point& p : PixelsNot(nb, clWhite)) {
    EXPECT_TRUE((Rect{2, 3, 5, 5}.Contains(p)));
    ++red;
  }
  EXPECT_EQ(red, 6);
  // A clear brush paints nothing; a transparent hatch leaves its gaps.
  nb.Fill(clWhite);
  nc.Brush.Style = BrushStyle::Clear;
  nc.PatBlt(0, 0, 8, 8, PATCOPY);
  EXPECT_TRUE(PixelsNot(nb, clWhite).empty());
  nc.Brush.Style = BrushStyle::Vertical;
  nc.BkMode = BkMode::Transparent;
  nc.PatBlt(0, 0, 8, 8, PATCOPY);
  EXPECT_EQ(PixelsNot(nb, clWhite).size(), 8u);
  EXPECT_EQ(nb.At(0, 3), clRed);
}

Bitmap Source() {
  Bitmap s(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) s.At(x, y) = RGB(x * 50 + 10, y * 60 + 20, 5);
  return s;
}

TEST(CanvasBitBlt, SourceOutsideIsBlackClippingAndOperations) {
  const Bitmap src = Source();
  Bitmap bmp(7, 6, clWhite);
  Canvas c(bmp);
  c.BitBlt(0, 0, 6, 5, src, -1, -1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x) {
      TColor want = clWhite;
      if (x < 6 && y < 5) want = (x >= 1 && x <= 4 && y >= 1 && y <= 3) ? src.At(x - 1, y - 1) : 0;
      ASSERT_EQ(bmp.At(x, y), want) << x << "," << y;
    }

  // Clip and origin.
  bmp.Fill(clWhite);
  c.SetClipRegion(Region(Rect{2, 1, 4, 3}));
  c.Origin = {1, 0};
  c.BitBlt(0, 0, 4, 3, src, 0, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x)
      ASSERT_EQ(bmp.At(x, y), (x >= 2 && x < 4 && y >= 1 && y < 3) ? src.At(x - 1, y) : clWhite) << x << "," << y;

  // Overlapping copies within one bitmap read the picture as it was before the copy.
  Bitmap row(10, 1);
  for (int x = 0; x < 10; ++x) row.At(x, 0) = TColor(x);
  Bitmap right = row, left = row;
  Canvas(right).BitBlt(2, 0, 8, 1, right, 0, 0);
  Canvas(left).BitBlt(0, 0, 8, 1, left, 2, 0);
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(right.At(x, 0), TColor(x < 2 ? x : x - 2));
    EXPECT_EQ(left.At(x, 0), TColor(x < 8 ? x + 2 : x));
  }

  // Operations combining source, destination and pattern.
  auto one = [](TColor dest, TColor source, RasterOp rop) {
    Bitmap d(1, 1, dest), s(1, 1, source);
    Canvas k(d);
    k.Brush.Color = 0x0F0F0F;
    k.BitBlt(0, 0, 1, 1, s, 0, 0, rop);
    return d.At(0, 0);
  };
  const TColor D = 0x123456, S = 0x3C5AF0;
  EXPECT_EQ(one(D, S, SRCCOPY), S);
  EXPECT_EQ(one(D, S, SRCPAINT), D | S);
  EXPECT_EQ(one(D, S, SRCAND), D & S);
  EXPECT_EQ(one(D, S, SRCINVERT), D ^ S);
  EXPECT_EQ(one(D, S, SRCERASE), S & (~D & 0xFFFFFF));
  EXPECT_EQ(one(D, S, NOTSRCCOPY), ~S & 0xFFFFFF);
  EXPECT_EQ(one(D, S, NOTSRCERASE), ~(D | S) & 0xFFFFFF);
  EXPECT_EQ(one(D, S, MERGECOPY), S & 0x0F0F0F);
  EXPECT_EQ(one(D, S, MERGEPAINT), (~S & 0xFFFFFF) | D);
  EXPECT_EQ(one(D, S, PATPAINT), (0x0F0F0F | (~S & 0xFFFFFF) | D) & 0xFFFFFF);
  EXPECT_EQ(one(D, S, DSTINVERT), ~D & 0xFFFFFF);
  // Non-copy operations treat source pixels outside the bitmap as black too.
  Bitmap d(2, 1, 0x00FF00);
  Canvas(d).BitBlt(0, 0, 2, 1, Bitmap(1, 1, 0x0000FF), 0, 0, SRCPAINT);
  EXPECT_EQ(d.At(0, 0), 0x00FFFFu);
  EXPECT_EQ(d.At(1, 0), 0x00FF00u);
}

TEST(CanvasStretchBlt, NearestPixelSamplingMirroringAndClipping) {
  const TColor a = 0x0000AA, b = 0x00BB00, cc = 0xCC0000, dd = 0x00DDDD;
  Bitmap src(2, 2);
  src.At(0, 0) = a;
  src.At(1, 0) = b;
  src.At(0, 1) = cc;
  src.At(1, 1) = dd;
  auto row = [&](int x, int width, int sx, int sw, int dwidth) {
    Bitmap d(dwidth, 1, clWhite);
    Canvas(d).StretchBlt(x, 0, width, 1, src, sx, 0, sw, 1);
    return std::vector<TColor>(d.Pixels());
  };
  using V = std::vector<TColor>;
  // Twice as large: each source pixel becomes a 2x2 block.
  Bitmap big(4, 4);
  Canvas(big).StretchBlt(0, 0, 4, 4, src, 0, 0, 2, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(big.At(x, y), src.At(x / 2, y / 2));
  // Three times, and sizes that do not divide: pixel i samples floor(i * sw / width).
  Bitmap src3(3, 1);
  src3.At(0, 0) = a;
  src3.At(1, 0) = b;
  src3.At(2, 0) = cc;
  Bitmap d9(9, 1);
  Canvas(d9).StretchBlt(0, 0, 9, 1, src3, 0, 0, 3, 1);
  EXPECT_EQ(std::vector<TColor>(d9.Pixels()), (V{a, a, a, b, b, b, cc, cc, cc}));
  Bitmap d4(4, 1);
  Canvas(d4).StretchBlt(0, 0, 4, 1, src3, 0, 0, 3, 1);
  EXPECT_EQ(std::vector<TColor>(d4.Pixels()), (V{a, a, b, cc}));
  Bitmap d2(2, 1);
  Canvas(d2).StretchBlt(0, 0, 2, 1, src3, 0, 0, 3, 1);
  EXPECT_EQ(std::vector<TColor>(d2.Pixels()), (V{a, b}));
  // Mirroring: a negative width on either side flips, on both sides it cancels.
  EXPECT_EQ(row(4, -4, 0, 2, 4), (V{b, b, a, a}));
  EXPECT_EQ(row(0, 4, 2, -2, 4), (V{b, b, a, a}));
  EXPECT_EQ(row(4, -4, 2, -2, 4), (V{a, a, b, b}));
  Bitmap flipped(2, 4);
  Canvas(flipped).StretchBlt(0, 4, 2, -4, src, 0, 0, 2, 2);
  EXPECT_EQ(flipped.At(0, 0), cc);
  EXPECT_EQ(flipped.At(1, 3), b);
  // Source columns outside the bitmap read as black.
  EXPECT_EQ(row(0, 4, 1, 2, 4), (V{b, b, 0, 0}));
  EXPECT_EQ(row(1, 4, -1, 2, 6), (V{clWhite, 0, 0, a, a, clWhite}));

  // The lens enlargement: a 50x50 capture into 212x199, every pixel checked.
  Bitmap cap(50, 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) cap.At(x, y) = RGB(x, y, 7);
  Bitmap lens(220, 200, clWhite);
  Canvas lc(lens);
  lc.StretchBlt(0, 0, 212, 199, cap, 0, 0, 50, 50);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 220; ++x) {
      const TColor want = (x < 212 && y < 199) ? cap.At(x * 50 / 212, y * 50 / 199) : clWhite;
      ASSERT_EQ(lens.At(x, y), want) << x << "," << y;
    }

  // Clipping by a region of several rectangles keeps exactly the unclipped pixels inside it.
  Bitmap clipped(220, 200, clWhite);
  Canvas cc2(clipped);
  const Region clip = Region::Ellipse({10, 20, 150, 190}).Union(Region(Rect{180, 0, 220, 40}));
  cc2.SetClipRegion(clip);
  cc2.StretchBlt(0, 0, 212, 199, cap, 0, 0, 50, 50);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 220; ++x) ASSERT_EQ(clipped.At(x, y), clip.Contains(x, y) ? lens.At(x, y) : clWhite);

  // Other operations combine the sampled source with the destination.
  Bitmap anded(4, 4, 0x00FFFF);
  Canvas(anded).StretchBlt(0, 0, 4, 4, src, 0, 0, 2, 2, SRCAND);
  EXPECT_EQ(anded.At(3, 3), dd & 0x00FFFF);
  EXPECT_EQ(anded.At(0, 0), a & 0x00FFFF);

  // Stretching a bitmap onto itself reads the picture as it was.
  Bitmap self(4, 4, clWhite);
  self.At(0, 0) = a;
  self.At(1, 0) = b;
  self.At(0, 1) = cc;
  self.At(1, 1) = dd;
  Canvas(self).StretchBlt(0, 0, 4, 4, self, 0, 0, 2, 2);
  EXPECT_EQ(self, big);

  // The destination is logical: the origin moves it, the source stays in bitmap coordinates.
  Bitmap moved(6, 4, clWhite);
  Canvas mc(moved);
  mc.Origin = {2, 1};
  mc.StretchBlt(0, 0, 4, 2, src, 0, 1, 2, 1);
  EXPECT_EQ(moved.At(1, 1), clWhite);
  EXPECT_EQ(moved.At(2, 1), cc);
  EXPECT_EQ(moved.At(5, 2), dd);
  EXPECT_EQ(moved.At(5, 3), clWhite);

  // Zero sizes draw nothing.
  Bitmap z(2, 2, clWhite);
  Canvas zc(z);
  zc.StretchBlt(0, 0, 0, 2, src, 0, 0, 2, 2);
  zc.StretchBlt(0, 0, 2, 2, src, 0, 0, 2, 0);
  EXPECT_TRUE(PixelsNot(z, clWhite).empty());
}

}  // namespace
}  // namespace gfx
