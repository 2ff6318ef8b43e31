// Drawing primitives of Canvas: lines, shapes, brushes, raster operations and blits.
// Text drawing lives in CanvasText.cpp.
//
// Everything is drawn in device coordinates (logical + Origin) through a Painter that holds the
// clip as a short list of rectangles already cut to the bitmap, so fills run row by row over
// raw row pointers and only per-pixel primitives (thin lines) test points against the clip.
#include "graphics/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace gfx {
namespace {

using i64 = std::int64_t;

// Coordinates far outside any bitmap are pulled in so that rectangle arithmetic cannot overflow;
// for axis-aligned rectangles this changes nothing that can be seen.
constexpr i64 kCoordLimit = i64(1) << 28;
int ClampCoord(i64 v) { return int(std::clamp(v, -kCoordLimit, kCoordLimit)); }

Rect DeviceRect(i64 l, i64 t, i64 r, i64 b) { return {ClampCoord(l), ClampCoord(t), ClampCoord(r), ClampCoord(b)}; }

// Shapes (ellipses, rounded rectangles) larger than this are not drawn: their region would be
// absurdly large and no control asks for one.
constexpr i64 kMaxShapeExtent = 1 << 15;
// Wider pens than this are treated as this wide; stamping costs width squared per pixel.
constexpr int kMaxPenWidth = 1024;

// ---------------------------------------------------------------------------------------------
// Clip

// The device clip: the clip region's rectangles cut to the bitmap (the whole bitmap when there is
// no clip region). A one-rectangle clip needs no heap memory.
class ClipRects {
 public:
  ClipRects(const Bitmap& bmp, const std::optional<Region>& clip) {
    const Rect b = bmp.Bounds();
    if (!clip) {
      FOne = b;
      FBounds = b;
      return;
    }
    const std::vector<Rect>& rs = clip->Rects();
    if (rs.size() == 1) {
      FOne = rs[0].Intersect(b);
      FBounds = FOne;
      return;
    }
    FMany.reserve(rs.size());
    for (const Rect& r : rs) {
      const Rect i = r.Intersect(b);
      if (!i.IsEmpty()) {
        FMany.push_back(i);
        FBounds = FBounds.Union(i);
      }
    }
  }

  std::span<const Rect> Rects() const {
    if (!FMany.empty()) return FMany;
    if (FOne.IsEmpty()) return {};
    return {&FOne, 1};
  }
  const Rect& Bounds() const { return FBounds; }
  bool IsEmpty() const { return FBounds.IsEmpty(); }

  bool Contains(int x, int y) const {
    if (x < FBounds.left || x >= FBounds.right || y < FBounds.top || y >= FBounds.bottom) return false;
    if (FMany.empty()) return true;
    // The rectangles keep the region's bands (bottoms never decrease), so the first one ending
    // below Y starts the only band that can hold the point.
    auto it = std::partition_point(FMany.begin(), FMany.end(), [y](const Rect& r) { return r.bottom <= y; });
    if (it == FMany.end() || it->top > y) return false;
    for (const int top = it->top; it != FMany.end() && it->top == top; ++it) {
      if (x < it->left) return false;
      if (x < it->right) return true;
    }
    return false;
  }

 private:
  Rect FOne;
  Rect FBounds;
  std::vector<Rect> FMany;
};

// ---------------------------------------------------------------------------------------------
// Brushes

// Hatch lines, one byte a row, bit 7 = leftmost pixel, in BrushStyle order from Horizontal.
constexpr std::uint8_t kHatchBits[6][8] = {
    {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // Horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // Vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // FDiagonal: down from left to right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // BDiagonal: up from left to right
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // Cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // DiagCross
};

// What a brush puts on each device pixel: nothing, one colour, or an 8x8 tile aligned to the
// device origin whose unmasked pixels are left alone (hatch gaps in transparent mode).
struct Tile {
  bool Empty = true;
  bool Solid = false;
  TColor Color = 0;
  TColor Colors[8][8] = {};
  std::uint8_t Mask[8] = {};  // bit (7 - (x & 7)) set: the pixel is painted

  bool Paints(int x, int y) const { return Solid || (Mask[y & 7] & (0x80u >> (x & 7))); }
  TColor At(int x, int y) const { return Solid ? Color : Colors[y & 7][x & 7]; }
};

Tile SolidTile(TColor c) {
  Tile t;
  if (c == clNone) return t;
  t.Empty = false;
  t.Solid = true;
  t.Color = ColorToRGB(c);
  return t;
}

// A two-colour 8x8 tile: 1 bits of BITS take ONE, 0 bits take ZERO; clNone leaves those pixels.
Tile TwoColourTile(const std::uint8_t (&bits)[8], TColor one, TColor zero) {
  Tile t;
  if (one == clNone && zero == clNone) return t;
  const TColor c1 = one == clNone ? 0 : ColorToRGB(one);
  const TColor c0 = zero == clNone ? 0 : ColorToRGB(zero);
  for (int y = 0; y < 8; ++y) {
    std::uint8_t m = 0;
    for (int x = 0; x < 8; ++x) {
      const bool set = bits[y] & (0x80u >> x);
      t.Colors[y][x] = set ? c1 : c0;
      if (set ? one != clNone : zero != clNone) m |= std::uint8_t(0x80u >> x);
    }
    t.Mask[y] = m;
  }
  t.Empty = false;
  return t;
}

Tile BrushTile(const Brush& brush, TColor textColor, TColor bkColor, BkMode mode) {
  switch (brush.Style) {
    case BrushStyle::Clear:
      return {};
    case BrushStyle::Solid:
      return SolidTile(brush.Color);
    case BrushStyle::Pattern: {
      // A monochrome pattern brush: 0 bits take the text colour, 1 bits the background colour,
      // whatever the background mode.
      std::uint8_t bits[8];
      for (int i = 0; i < 8; ++i) bits[i] = brush.Pattern[std::size_t(i)];
      return TwoColourTile(bits, bkColor, textColor);
    }
    default: {
      const int index = int(brush.Style) - int(BrushStyle::Horizontal);
      if (index < 0 || index >= 6) return {};
      // Hatch lines in the brush colour; the gaps take the background colour only when opaque.
      return TwoColourTile(kHatchBits[index], brush.Color, mode == BkMode::Opaque ? bkColor : clNone);
    }
  }
}

void FillRow(TColor* row, int y, int x0, int x1, const Tile& t) {
  if (t.Solid) {
    std::fill(row + x0, row + x1, t.Color);
    return;
  }
  const TColor* c = t.Colors[y & 7];
  const unsigned m = t.Mask[y & 7];
  if (m == 0xFF) {
    for (int x = x0; x < x1; ++x) row[x] = c[x & 7];
  } else if (m != 0) {
    for (int x = x0; x < x1; ++x)
      if (m & (0x80u >> (x & 7))) row[x] = c[x & 7];
  }
}

// ---------------------------------------------------------------------------------------------
// Raster operations

unsigned RopIndex(RasterOp rop) { return (rop >> 16) & 0xFF; }
bool RopUsesPattern(unsigned idx) { return (idx >> 4) != (idx & 0x0F); }
bool RopUsesSource(unsigned idx) { return ((idx >> 2) & 0x33) != (idx & 0x33); }

// Result bit for pattern P, source S and destination D is bit (P << 2 | S << 1 | D) of the
// operation index, applied to each bit of the colour.
inline TColor Rop3(unsigned idx, TColor p, TColor s, TColor d) {
  TColor r = 0;
  if (idx & 0x01) r |= ~p & ~s & ~d;
  if (idx & 0x02) r |= ~p & ~s & d;
  if (idx & 0x04) r |= ~p & s & ~d;
  if (idx & 0x08) r |= ~p & s & d;
  if (idx & 0x10) r |= p & ~s & ~d;
  if (idx & 0x20) r |= p & ~s & d;
  if (idx & 0x40) r |= p & s & ~d;
  if (idx & 0x80) r |= p & s & d;
  return r & 0xFFFFFF;
}

// ---------------------------------------------------------------------------------------------
// Pens

// Classic cosmetic pen styles: alternating on and off run lengths, starting with "on".
struct DashPattern {
  bool On[24] = {};
  int Length = 0;  // 0: solid
};

DashPattern MakeDash(PenStyle style) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  std::span<const int> runs;
  switch (style) {
    case PenStyle::Dash: runs = kDash; break;
    case PenStyle::Dot: runs = kDot; break;
    case PenStyle::DashDot: runs = kDashDot; break;
    case PenStyle::DashDotDot: runs = kDashDotDot; break;
    default: return {};
  }
  DashPattern d;
  bool on = true;
  for (int run : runs) {
    for (int i = 0; i < run; ++i) d.On[d.Length++] = on;
    on = !on;
  }
  return d;
}

struct PenInfo {
  bool Visible = false;   // anything to draw at all
  bool Present = false;   // the pen takes part in the geometry (not the clear pen)
  TColor Color = 0;
  int Width = 1;
  bool InsideFrame = false;
  DashPattern Dash;       // width 1 only
  bool FillGaps = false;  // opaque mode: the gaps of a styled line take the background colour
  TColor GapColor = 0;
};

PenInfo ResolvePen(const Pen& pen, TColor bkColor, BkMode mode) {
  PenInfo p;
  if (pen.Style == PenStyle::Clear) return p;
  p.Present = true;
  p.Width = std::clamp(pen.Width, 1, kMaxPenWidth);
  p.InsideFrame = pen.Style == PenStyle::InsideFrame;
  if (pen.Color == clNone) return p;
  p.Visible = true;
  p.Color = ColorToRGB(pen.Color);
  if (p.Width == 1) {
    p.Dash = MakeDash(pen.Style);
    if (p.Dash.Length && mode == BkMode::Opaque && bkColor != clNone) {
      p.FillGaps = true;
      p.GapColor = ColorToRGB(bkColor);
    }
  }
  return p;
}

// The pixels a pen of WIDTH covers around a path pixel: a disc of that diameter (a full square
// up to width 3), rows Lo..Lo+Width-1 relative to the path, each row a span [Left, Right].
struct Stamp {
  int Lo = 0;
  std::vector<std::pair<int, int>> Rows;
};

Stamp MakeStamp(int width) {
  Stamp s;
  s.Lo = -(width / 2);
  const int hi = s.Lo + width - 1;
  const double centre = (s.Lo + hi) / 2.0;
  const double r2 = (width / 2.0) * (width / 2.0);
  for (int dy = s.Lo; dy <= hi; ++dy) {
    int l = hi + 1, r = s.Lo - 1;
    for (int dx = s.Lo; dx <= hi; ++dx) {
      const double ex = dx - centre, ey = dy - centre;
      if (ex * ex + ey * ey <= r2 + 1e-9) {
        l = std::min(l, dx);
        r = std::max(r, dx);
      }
    }
    s.Rows.emplace_back(l, r);
  }
  return s;
}

// ---------------------------------------------------------------------------------------------
// Line rasterising

// Walks the pixels of the line A -> B: max(|dx|, |dy|) pixels from A, plus B itself when WITHEND.
// Pixel i lies at major coordinate A + i and minor coordinate A + round(i * minor / major);
// halves round toward the smaller coordinate, so a line covers the same pixels whichever way it is
// drawn. Only pixels whose major coordinate lies inside WINDOW (inclusive range lo..hi on that axis)
// are visited. F(x, y, i) gets 64-bit coordinates.
template <class F>
void WalkLine(i64 ax, i64 ay, i64 bx, i64 by, bool withEnd, const Rect& window, F&& f) {
  const i64 dx = bx - ax, dy = by - ay;
  const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const i64 D = xMajor ? adx : ady, M = xMajor ? ady : adx;
  const i64 count = withEnd ? D + 1 : D;
  if (count <= 0) return;
  const int sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const i64 maj0 = xMajor ? ax : ay, min0 = xMajor ? ay : ax;
  const i64 lo = xMajor ? window.left : window.top, hi = xMajor ? window.right - 1 : window.bottom - 1;
  i64 i0, i1;
  if (sMaj > 0) {
    i0 = std::max<i64>(0, lo - maj0);
    i1 = std::min<i64>(count, hi - maj0 + 1);
  } else {
    i0 = std::max<i64>(0, maj0 - hi);
    i1 = std::min<i64>(count, maj0 - lo + 1);
  }
  if (i0 >= i1) return;
  if (D == 0) {
    f(ax, ay, i64(0));
    return;
  }
  using i128 = __int128;
  const i128 twoIM = i128(2) * i0 * M;
  const i64 k = i64(sMin > 0 ? (twoIM + D - 1) / (i128(2) * D) : (twoIM + D) / (i128(2) * D));
  i64 err = i64(i128(2) * (i0 + 1) * M - i128(2 * k + 1) * D);
  i64 maj = maj0 + sMaj * i0, mnr = min0 + sMin * k;
  for (i64 i = i0; i < i1; ++i) {
    if (xMajor) f(maj, mnr, i); else f(mnr, maj, i);
    if (err > 0 || (err == 0 && sMin < 0)) {
      mnr += sMin;
      err -= 2 * D;
    }
    err += 2 * M;
    maj += sMaj;
  }
}

// ---------------------------------------------------------------------------------------------
// Painter: device-coordinate drawing into a bitmap through the clip.

class Painter {
 public:
  Painter(Bitmap& bmp, const std::optional<Region>& clip) : FBmp(bmp), FClip(bmp, clip) {}

  const ClipRects& Clip() const { return FClip; }
  Bitmap& Target() { return FBmp; }

  void Fill(const Rect& r, const Tile& t) {
    if (t.Empty || r.IsEmpty()) return;
    for (const Rect& c : FClip.Rects()) {
      const Rect d = r.Intersect(c);
      if (d.IsEmpty()) continue;
      for (int y = d.top; y < d.bottom; ++y) FillRow(FBmp.Row(y), y, d.left, d.right, t);
    }
  }
  void Fill(const Region& rgn, const Tile& t) {
    if (t.Empty) return;
    const Rect& b = FClip.Bounds();
    for (const Rect& r : rgn.Rects()) {
      if (r.top >= b.bottom) break;
      if (r.bottom <= b.top) continue;
      Fill(r, t);
    }
  }
  void Plot(i64 x, i64 y, TColor c) {
    const Rect& b = FClip.Bounds();
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return;
    if (!FClip.Contains(int(x), int(y))) return;
    FBmp.At(int(x), int(y)) = c;
  }
  void Invert(int x, int y) {
    if (FClip.Contains(x, y)) FBmp.At(x, y) ^= 0xFFFFFF;
  }

  // A pen line from A to B (device coordinates). Thin lines leave out B and carry the dash
  // position in STYLEPOS from one segment to the next; wide lines stamp the pen at every pixel
  // of the path, B included (their ends are round, like the classic geometric pen).
  void Line(i64 ax, i64 ay, i64 bx, i64 by, const PenInfo& pen, i64& stylePos) {
    if (!pen.Visible || FClip.IsEmpty()) return;
    if (pen.Width > 1) {
      WideLine(ax, ay, bx, by, pen);
      return;
    }
    const Rect window = FClip.Bounds();
    const i64 start = stylePos;
    if (!pen.Dash.Length) {
      WalkLine(ax, ay, bx, by, false, window, [&](i64 x, i64 y, i64) { Plot(x, y, pen.Color); });
    } else {
      const int len = pen.Dash.Length;
      WalkLine(ax, ay, bx, by, false, window, [&](i64 x, i64 y, i64 i) {
        if (pen.Dash.On[(start + i) % len]) Plot(x, y, pen.Color);
        else if (pen.FillGaps) Plot(x, y, pen.GapColor);
      });
    }
    stylePos += std::max(std::abs(bx - ax), std::abs(by - ay));
    if (pen.Dash.Length) stylePos %= pen.Dash.Length;
  }

  void WideLine(i64 ax, i64 ay, i64 bx, i64 by, const PenInfo& pen) {
    const Stamp stamp = MakeStamp(pen.Width);
    const int w = pen.Width;
    const Rect window = FClip.Bounds().Inflate(w, w);
    std::vector<std::pair<int, int>> pts;
    WalkLine(ax, ay, bx, by, true, window, [&](i64 x, i64 y, i64) {
      if (x >= window.left && x < window.right && y >= window.top && y < window.bottom)
        pts.emplace_back(int(x), int(y));
    });
    if (pts.empty()) return;
    int y0 = pts.front().second, y1 = y0;
    for (const auto& p : pts) {
      y0 = std::min(y0, p.second);
      y1 = std::max(y1, p.second);
    }
    y0 += stamp.Lo;
    y1 += stamp.Lo + w - 1;
    // The stamped shape is convex, so every row is one span.
    std::vector<std::pair<int, int>> rows(std::size_t(y1 - y0 + 1),
                                          {std::numeric_limits<int>::max(), std::numeric_limits<int>::min()});
    for (const auto& [x, y] : pts) {
      for (int k = 0; k < w; ++k) {
        auto& row = rows[std::size_t(y + stamp.Lo + k - y0)];
        row.first = std::min(row.first, x + stamp.Rows[std::size_t(k)].first);
        row.second = std::max(row.second, x + stamp.Rows[std::size_t(k)].second);
      }
    }
    const Tile t = SolidTile(pen.Color);
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].first <= rows[i].second)
        Fill(Rect{rows[i].first, y0 + int(i), rows[i].second + 1, y0 + int(i) + 1}, t);
  }

 private:
  Bitmap& FBmp;
  ClipRects FClip;
};

// ---------------------------------------------------------------------------------------------
// Shape outlines

// The pixels of R that have a 4-neighbour outside R: a thin, 8-connected outline.
Region Boundary(const Region& r) {
  const Region inner = r.Intersect(r.Offset(1, 0)).Intersect(r.Offset(-1, 0)).Intersect(r.Offset(0, 1)).Intersect(r.Offset(0, -1));
  return r.Subtract(inner);
}

// The pen stamped at every pixel of OUTLINE.
Region Thicken(const Region& outline, int width) {
  const Stamp stamp = MakeStamp(width);
  std::vector<Rect> rects;
  rects.reserve(outline.Rects().size() * std::size_t(width));
  for (const Rect& r : outline.Rects()) {
    for (int k = 0; k < width; ++k) {
      const int dy = stamp.Lo + k;
      const auto& [l, h] = stamp.Rows[std::size_t(k)];
      rects.push_back({r.left + l, r.top + dy, r.right + h, r.bottom + dy});
    }
  }
  return Region::FromRects(rects);
}

// Draws a closed curved outline (ellipse, rounded rectangle) given as the shape's region.
void DrawShapeOutline(Painter& p, const Region& shape, const Region& boundary, const PenInfo& pen) {
  if (!pen.Visible) return;
  if (pen.Width > 1) {
    p.Fill(Thicken(boundary, pen.Width), SolidTile(pen.Color));
    return;
  }
  if (!pen.Dash.Length) {
    p.Fill(boundary, SolidTile(pen.Color));
    return;
  }
  // Styled outline: walk the outline pixels in order round the centre; for these convex shapes
  // the angle about the centre orders them along the curve.
  const Rect b = shape.Bounds();
  const double cx = (b.left + b.right - 1) / 2.0, cy = (b.top + b.bottom - 1) / 2.0;
  std::vector<std::pair<double, Point>> pts;
  for (const Rect& r : boundary.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pts.push_back({std::atan2(y - cy, x - cx), Point{x, y}});
  std::sort(pts.begin(), pts.end(), [](const auto& a, const auto& c) {
    return a.first != c.first ? a.first < c.first : (a.second.y != c.second.y ? a.second.y < c.second.y : a.second.x < c.second.x);
  });
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const Point q = pts[i].second;
    if (pen.Dash.On[i % std::size_t(pen.Dash.Length)]) p.Plot(q.x, q.y, pen.Color);
    else if (pen.FillGaps) p.Plot(q.x, q.y, pen.GapColor);
  }
}

// Normalised device box of a shape call; false when there is nothing to draw.
bool ShapeBox(int l, int t, int r, int b, Point origin, Rect& box) {
  i64 L = i64(l) + origin.x, T = i64(t) + origin.y, R = i64(r) + origin.x, B = i64(b) + origin.y;
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  if (L == R || T == B) return false;
  box = DeviceRect(L, T, R, B);
  return true;
}

// With the inside-frame style a wide pen stays inside the box: the path moves inward.
Rect InsideFrameBox(const Rect& box, const PenInfo& pen) {
  if (!pen.InsideFrame || pen.Width <= 1) return box;
  const int lo = -(pen.Width / 2), hi = lo + pen.Width - 1;
  return {box.left - lo, box.top - lo, box.right - hi, box.bottom - hi};
}

}  // namespace

// =============================================================================================

Canvas::Canvas(Bitmap& target) : FTarget(&target) {}

void Canvas::SetClipRegion(std::optional<Region> deviceRegion) { FClip = std::move(deviceRegion); }

void Canvas::IntersectClipRect(const Rect& r) {
  Rect d = DeviceRect(i64(r.left) + Origin.x, i64(r.top) + Origin.y, i64(r.right) + Origin.x, i64(r.bottom) + Origin.y);
  const Region rr = d.IsEmpty() ? Region() : Region(d);
  FClip = FClip ? FClip->Intersect(rr) : rr;
}

bool Canvas::InClip(int dx, int dy) const {
  if (dx < 0 || dy < 0 || dx >= FTarget->Width() || dy >= FTarget->Height()) return false;
  return !FClip || FClip->Contains(dx, dy);
}

void Canvas::PutDevicePixel(int dx, int dy, TColor color) {
  if (color == clNone || !InClip(dx, dy)) return;
  FTarget->At(dx, dy) = ColorToRGB(color);
}

void Canvas::SetPixel(int x, int y, TColor color) {
  const i64 dx = i64(x) + Origin.x, dy = i64(y) + Origin.y;
  if (dx < 0 || dy < 0 || dx >= FTarget->Width() || dy >= FTarget->Height()) return;
  PutDevicePixel(int(dx), int(dy), color);
}

TColor Canvas::GetPixel(int x, int y) const {
  const i64 dx = i64(x) + Origin.x, dy = i64(y) + Origin.y;
  if (dx < 0 || dy < 0 || dx >= FTarget->Width() || dy >= FTarget->Height()) return CLR_INVALID;
  if (FClip && !FClip->Contains(int(dx), int(dy))) return CLR_INVALID;
  return FTarget->At(int(dx), int(dy));
}

// ---------------------------------------------------------------------------------------------
// Lines

void Canvas::MoveTo(int x, int y) { FPenPos = {x, y}; }

void Canvas::LineTo(int x, int y) {
  Painter p(*FTarget, FClip);
  const PenInfo pen = ResolvePen(Pen, BkColor, BkMode);
  i64 style = 0;
  p.Line(i64(FPenPos.x) + Origin.x, i64(FPenPos.y) + Origin.y, i64(x) + Origin.x, i64(y) + Origin.y, pen, style);
  FPenPos = {x, y};
}

void Canvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  Painter p(*FTarget, FClip);
  const PenInfo pen = ResolvePen(Pen, BkColor, BkMode);
  i64 style = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    p.Line(i64(points[i - 1].x) + Origin.x, i64(points[i - 1].y) + Origin.y, i64(points[i].x) + Origin.x,
           i64(points[i].y) + Origin.y, pen, style);
}

// ---------------------------------------------------------------------------------------------
// Shapes

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  Rect box;
  if (!ShapeBox(left, top, right, bottom, Origin, box)) return;
  Painter p(*FTarget, FClip);
  const PenInfo pen = ResolvePen(Pen, BkColor, BkMode);
  const Tile brush = BrushTile(Brush, TextColor, BkColor, BkMode);
  if (!pen.Present) {
    // Without a pen the figure loses its outline row and column: the fill covers the box less
    // its right and bottom pixel lines.
    p.Fill(Rect{box.left, box.top, box.right - 1, box.bottom - 1}, brush);
    return;
  }
  box = InsideFrameBox(box, pen);
  if (box.IsEmpty()) return;
  p.Fill(Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, brush);
  if (!pen.Visible) return;
  const Tile ink = SolidTile(pen.Color);
  if (pen.Width == 1 && !pen.Dash.Length) {
    p.Fill(Rect{box.left, box.top, box.right, box.top + 1}, ink);
    p.Fill(Rect{box.left, box.bottom - 1, box.right, box.bottom}, ink);
    p.Fill(Rect{box.left, box.top + 1, box.left + 1, box.bottom - 1}, ink);
    p.Fill(Rect{box.right - 1, box.top + 1, box.right, box.bottom - 1}, ink);
  } else if (pen.Width == 1) {
    // A styled outline runs clockwise from the top-left corner, one pattern for the whole way.
    const i64 l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
    i64 style = 0;
    if (l == r || t == b) {
      p.Line(l, t, r, b, pen, style);
      if (pen.Dash.On[style]) p.Plot(r, b, pen.Color);
      else if (pen.FillGaps) p.Plot(r, b, pen.GapColor);
      return;
    }
    p.Line(l, t, r, t, pen, style);
    p.Line(r, t, r, b, pen, style);
    p.Line(r, b, l, b, pen, style);
    p.Line(l, b, l, t, pen, style);
  } else {
    // The wide pen is centred on the path through the box's outer pixel lines; its corners are
    // square.
    const int lo = -(pen.Width / 2), hi = lo + pen.Width - 1;
    const Rect outer{box.left + lo, box.top + lo, box.right + hi, box.bottom + hi};
    const Rect hole{box.left + hi + 1, box.top + hi + 1, box.right + lo - 1, box.bottom + lo - 1};
    if (hole.IsEmpty()) {
      p.Fill(outer, ink);
      return;
    }
    p.Fill(Rect{outer.left, outer.top, outer.right, hole.top}, ink);
    p.Fill(Rect{outer.left, hole.bottom, outer.right, outer.bottom}, ink);
    p.Fill(Rect{outer.left, hole.top, hole.left, hole.bottom}, ink);
    p.Fill(Rect{hole.right, hole.top, outer.right, hole.bottom}, ink);
  }
}

namespace {

// Ellipses and rounded rectangles. SHAPEOF(box) is the classic region call, whose region lies
// one pixel inside the right and bottom edges of its box; without a pen exactly that region is
// filled (one pixel smaller than the box, as for rectangles). Drawn with a pen, the figure takes
// the whole box: the region grown by one pixel to the right and down, so it holds every pixel of
// the region (a surface filled through the region never shows outside the outline) and stays
// symmetric. Its boundary pixels are the outline.
Region GrowRightDown(const Region& r) {
  std::vector<Rect> rects(r.Rects());
  for (Rect& x : rects) {
    ++x.right;
    ++x.bottom;
  }
  return Region::FromRects(rects);
}

template <class ShapeOf>
void DrawCurvedShape(Bitmap& bmp, const std::optional<Region>& clip, Rect box, const PenInfo& pen,
                     const Tile& brush, ShapeOf shapeOf) {
  if (i64(box.right) - box.left > kMaxShapeExtent || i64(box.bottom) - box.top > kMaxShapeExtent) return;
  Painter p(bmp, clip);
  if (p.Clip().IsEmpty()) return;
  if (!pen.Present) {
    if (!brush.Empty) p.Fill(shapeOf(box), brush);
    return;
  }
  if (!pen.Visible && brush.Empty) return;
  box = InsideFrameBox(box, pen);
  if (box.IsEmpty()) return;
  Region shape = GrowRightDown(shapeOf(box));
  if (shape.IsEmpty()) shape = Region(box);  // one pixel wide or high: a plain line
  const Region outline = Boundary(shape);
  if (!brush.Empty) p.Fill(shape.Subtract(outline), brush);
  DrawShapeOutline(p, shape, outline, pen);
}

}  // namespace

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  Rect box;
  if (!ShapeBox(left, top, right, bottom, Origin, box)) return;
  DrawCurvedShape(*FTarget, FClip, box, ResolvePen(Pen, BkColor, BkMode), BrushTile(Brush, TextColor, BkColor, BkMode),
                  [](const Rect& b) { return Region::Ellipse(b); });
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  Rect box;
  if (!ShapeBox(left, top, right, bottom, Origin, box)) return;
  DrawCurvedShape(*FTarget, FClip, box, ResolvePen(Pen, BkColor, BkMode), BrushTile(Brush, TextColor, BkColor, BkMode),
                  [=](const Rect& b) { return Region::RoundRect(b, ellipseWidth, ellipseHeight); });
}

void Canvas::Polygon(std::span<const Point> points, FillMode mode) {
  if (points.size() < 2) return;
  std::vector<Point> dev(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    dev[i] = {ClampCoord(i64(points[i].x) + Origin.x), ClampCoord(i64(points[i].y) + Origin.y)};
  Painter p(*FTarget, FClip);
  if (p.Clip().IsEmpty()) return;
  const Tile brush = BrushTile(Brush, TextColor, BkColor, BkMode);
  if (!brush.Empty) p.Fill(Region::Polygon(dev, mode), brush);
  const PenInfo pen = ResolvePen(Pen, BkColor, BkMode);
  if (!pen.Visible) return;
  i64 style = 0;
  for (std::size_t i = 0; i < dev.size(); ++i) {
    const Point a = dev[i], b = dev[(i + 1) % dev.size()];
    p.Line(a.x, a.y, b.x, b.y, pen, style);
  }
}

// ---------------------------------------------------------------------------------------------
// Brush-only operations

void Canvas::FillRect(const Rect& r) {
  Painter p(*FTarget, FClip);
  p.Fill(DeviceRect(i64(r.left) + Origin.x, i64(r.top) + Origin.y, i64(r.right) + Origin.x, i64(r.bottom) + Origin.y),
         BrushTile(Brush, TextColor, BkColor, BkMode));
}

void Canvas::FrameRect(const Rect& r) {
  const Rect d = DeviceRect(i64(r.left) + Origin.x, i64(r.top) + Origin.y, i64(r.right) + Origin.x, i64(r.bottom) + Origin.y);
  if (d.IsEmpty()) return;
  Painter p(*FTarget, FClip);
  const Tile t = BrushTile(Brush, TextColor, BkColor, BkMode);
  p.Fill(Rect{d.left, d.top, d.right, d.top + 1}, t);
  if (d.bottom - 1 > d.top) p.Fill(Rect{d.left, d.bottom - 1, d.right, d.bottom}, t);
  p.Fill(Rect{d.left, d.top + 1, d.left + 1, d.bottom - 1}, t);
  if (d.right - 1 > d.left) p.Fill(Rect{d.right - 1, d.top + 1, d.right, d.bottom - 1}, t);
}

void Canvas::FillRgn(const Region& rgn) {
  Painter p(*FTarget, FClip);
  p.Fill(rgn.Offset(Origin.x, Origin.y), BrushTile(Brush, TextColor, BkColor, BkMode));
}

void Canvas::DrawFocusRect(const Rect& r) {
  const Rect d = DeviceRect(i64(r.left) + Origin.x, i64(r.top) + Origin.y, i64(r.right) + Origin.x, i64(r.bottom) + Origin.y);
  if (d.IsEmpty()) return;
  Painter p(*FTarget, FClip);
  const Rect vis = d.Intersect(p.Clip().Bounds());
  if (vis.IsEmpty()) return;
  // Every other pixel of the 1-pixel frame is inverted, starting with the top-left corner; each
  // frame pixel is visited once so that drawing twice restores the picture.
  auto dot = [&](int x, int y) {
    if (((x - d.left) + (y - d.top)) % 2 == 0) p.Invert(x, y);
  };
  for (int x = vis.left; x < vis.right; ++x) {
    if (d.top >= vis.top) dot(x, d.top);
    if (d.bottom - 1 > d.top && d.bottom - 1 < vis.bottom) dot(x, d.bottom - 1);
  }
  for (int y = std::max(vis.top, d.top + 1); y < std::min(vis.bottom, d.bottom - 1); ++y) {
    if (d.left >= vis.left) dot(d.left, y);
    if (d.right - 1 > d.left && d.right - 1 < vis.right) dot(d.right - 1, y);
  }
}

// The classic 3D edge. Each border is one pixel wide; its top and left lines are drawn first and
// stop one pixel short of the far corner, its bottom and right lines run the full length, so the
// top-right and bottom-left corner pixels take the bottom-right colour. Colours:
//   raised outer: 3D light / dark shadow      raised inner: highlight / shadow
//   sunken outer: shadow / highlight          sunken inner: dark shadow / 3D light
// BF_SOFT swaps the outer and inner top-left colours (a raised edge gets the highlight
// outermost). BF_FLAT draws the outer border in the shadow colour and the inner one in the button
// face; BF_MONO draws the outer border in the window frame colour and the inner one (and the
// middle) in the window colour. When both kinds of one border are asked for, raised wins.
void Canvas::DrawEdge(Rect& r, unsigned edge, unsigned flags) {
  const bool outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
  const bool inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  const bool soft = flags & BF_SOFT;
  TColor outerLT, outerRB, innerLT, innerRB, middle = clBtnFace;
  if (flags & BF_MONO) {
    outerLT = outerRB = clWindowFrame;
    innerLT = innerRB = clWindow;
    middle = clWindow;
  } else if (flags & BF_FLAT) {
    outerLT = outerRB = clBtnShadow;
    innerLT = innerRB = clBtnFace;
  } else {
    if (edge & BDR_RAISEDOUTER) {
      outerLT = soft ? clBtnHighlight : cl3DLight;
      outerRB = cl3DDkShadow;
    } else {
      outerLT = soft ? cl3DDkShadow : clBtnShadow;
      outerRB = clBtnHighlight;
    }
    if (edge & BDR_RAISEDINNER) {
      innerLT = soft ? cl3DLight : clBtnHighlight;
      innerRB = clBtnShadow;
    } else {
      innerLT = soft ? clBtnShadow : cl3DDkShadow;
      innerRB = cl3DLight;
    }
  }

  Painter p(*FTarget, FClip);
  // Worked on in 64 bits so that insetting a rectangle at the ends of the int range is safe.
  i64 cl = r.left, ct = r.top, cr = r.right, cb = r.bottom;
  auto device = [&] { return DeviceRect(cl + Origin.x, ct + Origin.y, cr + Origin.x, cb + Origin.y); };
  auto border = [&](TColor lt, TColor rb) {
    const Rect d = device();
    if (!d.IsEmpty()) {
      const Tile tl = SolidTile(lt), br = SolidTile(rb);
      if (flags & BF_TOP) p.Fill(Rect{d.left, d.top, d.right - 1, d.top + 1}, tl);
      if (flags & BF_LEFT) p.Fill(Rect{d.left, d.top, d.left + 1, d.bottom - 1}, tl);
      if (flags & BF_BOTTOM) p.Fill(Rect{d.left, d.bottom - 1, d.right, d.bottom}, br);
      if (flags & BF_RIGHT) p.Fill(Rect{d.right - 1, d.top, d.right, d.bottom}, br);
    }
    if (flags & BF_LEFT) ++cl;
    if (flags & BF_TOP) ++ct;
    if (flags & BF_RIGHT) --cr;
    if (flags & BF_BOTTOM) --cb;
  };
  if (outer) border(outerLT, outerRB);
  if (inner) border(innerLT, innerRB);
  if (flags & BF_MIDDLE) p.Fill(device(), SolidTile(middle));
  if (flags & BF_ADJUST) {
    auto toInt = [](i64 v) { return int(std::clamp<i64>(v, INT_MIN, INT_MAX)); };
    r = {toInt(cl), toInt(ct), toInt(cr), toInt(cb)};
  }
}

// ---------------------------------------------------------------------------------------------
// Raster operations

void Canvas::PatBlt(int x, int y, int width, int height, RasterOp rop) {
  i64 l = i64(x) + Origin.x, t = i64(y) + Origin.y, r = l + width, b = t + height;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  const Rect dest = DeviceRect(l, t, r, b);
  if (dest.IsEmpty()) return;
  const unsigned idx = RopIndex(rop);
  Painter p(*FTarget, FClip);
  const bool usesPattern = RopUsesPattern(idx);
  Tile tile;
  if (usesPattern) {
    tile = BrushTile(Brush, TextColor, BkColor, BkMode);
    if (tile.Empty) return;
    if (idx == 0xF0) {
      p.Fill(dest, tile);
      return;
    }
  } else if (idx == 0x00 || idx == 0xFF) {
    p.Fill(dest, SolidTile(idx ? 0xFFFFFF : 0));
    return;
  } else if (idx == 0xAA) {
    return;  // the destination stays
  }
  // The operations the controls use (stipples, inverting) get loops of their own.
  auto run = [&](auto op) {
    for (const Rect& c : p.Clip().Rects()) {
      const Rect d = dest.Intersect(c);
      if (d.IsEmpty()) continue;
      for (int yy = d.top; yy < d.bottom; ++yy) {
        TColor* row = FTarget->Row(yy);
        if (!usesPattern) {
          for (int xx = d.left; xx < d.right; ++xx) row[xx] = op(TColor(0), row[xx]);
        } else if (tile.Solid) {
          for (int xx = d.left; xx < d.right; ++xx) row[xx] = op(tile.Color, row[xx]);
        } else {
          const TColor* colors = tile.Colors[yy & 7];
          const unsigned mask = tile.Mask[yy & 7];
          for (int xx = d.left; xx < d.right; ++xx)
            if (mask & (0x80u >> (xx & 7))) row[xx] = op(colors[xx & 7], row[xx]);
        }
      }
    }
  };
  switch (idx) {
    case 0xA0: run([](TColor pat, TColor dst) { return pat & dst; }); break;
    case 0x5A: run([](TColor pat, TColor dst) { return pat ^ dst; }); break;
    case 0x55: run([](TColor, TColor dst) { return ~dst & 0xFFFFFF; }); break;
    case 0xFA: run([](TColor pat, TColor dst) { return pat | dst; }); break;
    default: run([idx](TColor pat, TColor dst) { return Rop3(idx, pat, 0, dst); }); break;
  }
}

namespace {

// What a blit from SRC with ROP needs besides the destination: the raster operation, the brush
// pattern when the operation uses one, and the source to read (a snapshot when copying within
// one bitmap, so overlapping moves come out right). Nothing is drawn when Skip is set.
struct BlitInput {
  unsigned Idx = 0;
  bool UsesPattern = false;
  bool Skip = false;
  Tile Pattern;
  Bitmap Snapshot;
  const Bitmap* Original = nullptr;
  bool UseSnapshot = false;
  // Asked for after the struct has reached its place, so it never points into a moved-from copy.
  const Bitmap* Src() const { return UseSnapshot ? &Snapshot : Original; }
};

BlitInput PrepareBlit(RasterOp rop, const Bitmap& src, const Bitmap* target, const Brush& brush, TColor text,
                      TColor bk, BkMode mode) {
  BlitInput in;
  in.Idx = RopIndex(rop);
  in.UsesPattern = RopUsesPattern(in.Idx);
  if (in.UsesPattern) {
    in.Pattern = BrushTile(brush, text, bk, mode);
    in.Skip = in.Pattern.Empty;
  }
  in.Original = &src;
  if (&src == target && RopUsesSource(in.Idx)) {
    in.Snapshot = src;
    in.UseSnapshot = true;
  }
  return in;
}

// Applies ROP over DEST (device) with source pixels given by SAMPLE(x, y), which answers the
// source colour for device pixel (x, y) (black outside the source).
template <class Sample>
void BlitGeneric(Painter& p, const Rect& dest, unsigned idx, const Tile& tile, bool usesPattern, Sample sample) {
  Bitmap& bmp = p.Target();
  for (const Rect& c : p.Clip().Rects()) {
    const Rect d = dest.Intersect(c);
    if (d.IsEmpty()) continue;
    for (int y = d.top; y < d.bottom; ++y) {
      TColor* row = bmp.Row(y);
      for (int x = d.left; x < d.right; ++x) {
        if (usesPattern && !tile.Paints(x, y)) continue;
        row[x] = Rop3(idx, usesPattern ? tile.At(x, y) : 0, sample(x, y), row[x]);
      }
    }
  }
}

}  // namespace

void Canvas::BitBlt(int x, int y, int width, int height, const Bitmap& src, int sx, int sy, RasterOp rop) {
  if (width <= 0 || height <= 0) return;
  const i64 dl = i64(x) + Origin.x, dt = i64(y) + Origin.y;
  const Rect dest = DeviceRect(dl, dt, dl + width, dt + height);
  if (dest.IsEmpty()) return;
  Painter p(*FTarget, FClip);
  if (dest.Intersect(p.Clip().Bounds()).IsEmpty()) return;
  const BlitInput in = PrepareBlit(rop, src, FTarget, Brush, TextColor, BkColor, BkMode);
  if (in.Skip) return;
  const unsigned idx = in.Idx;
  const bool usesPattern = in.UsesPattern;
  const Tile& tile = in.Pattern;
  const Bitmap* s = in.Src();
  // Source pixel for device pixel (X, Y): source (X - dl + sx, Y - dt + sy).
  const i64 ox = i64(sx) - dl, oy = i64(sy) - dt;
  if (idx == 0xCC) {
    for (const Rect& c : p.Clip().Rects()) {
      const Rect d = dest.Intersect(c);
      if (d.IsEmpty()) continue;
      // Columns of D whose source column lies inside the source bitmap.
      const i64 inL = std::max<i64>(d.left, -ox), inR = std::min<i64>(d.right, s->Width() - ox);
      for (int yy = d.top; yy < d.bottom; ++yy) {
        TColor* row = FTarget->Row(yy);
        const i64 syy = yy + oy;
        if (syy < 0 || syy >= s->Height() || inL >= inR) {
          std::fill(row + d.left, row + d.right, TColor(0));
          continue;
        }
        std::fill(row + d.left, row + inL, TColor(0));
        std::memcpy(row + inL, s->Row(int(syy)) + (inL + ox), std::size_t(inR - inL) * sizeof(TColor));
        std::fill(row + inR, row + d.right, TColor(0));
      }
    }
    return;
  }
  BlitGeneric(p, dest, idx, tile, usesPattern, [&](int xx, int yy) -> TColor {
    const i64 a = xx + ox, b = yy + oy;
    return (a < 0 || b < 0 || a >= s->Width() || b >= s->Height()) ? 0 : s->At(int(a), int(b));
  });
}

// Nearest-pixel stretching. A negative width or height (of either rectangle) turns the rectangle
// into [x + width, x) and mirrors that axis; mirroring both rectangles cancels out. Destination
// pixel i (counted from the destination's left, or from its right when mirrored) samples source
// pixel sx + floor(i * sw / width) of the normalised source rectangle. Samples outside the source
// bitmap are black.
void Canvas::StretchBlt(int x, int y, int width, int height, const Bitmap& src, int sx, int sy, int sw, int sh,
                        RasterOp rop) {
  if (width == 0 || height == 0 || sw == 0 || sh == 0) return;
  bool flipX = false, flipY = false;
  i64 dl = i64(x) + Origin.x, dt = i64(y) + Origin.y, W = width, H = height;
  i64 SX = sx, SY = sy, SW = sw, SH = sh;
  if (W < 0) { dl += W; W = -W; flipX = !flipX; }
  if (H < 0) { dt += H; H = -H; flipY = !flipY; }
  if (SW < 0) { SX += SW; SW = -SW; flipX = !flipX; }
  if (SH < 0) { SY += SH; SH = -SH; flipY = !flipY; }
  const Rect dest = DeviceRect(dl, dt, dl + W, dt + H);
  Painter p(*FTarget, FClip);
  const Rect vis = dest.Intersect(p.Clip().Bounds());
  if (vis.IsEmpty()) return;
  const BlitInput in = PrepareBlit(rop, src, FTarget, Brush, TextColor, BkColor, BkMode);
  if (in.Skip) return;
  const unsigned idx = in.Idx;
  const bool usesPattern = in.UsesPattern;
  const Tile& tile = in.Pattern;
  const Bitmap* s = in.Src();
  // Source column (or -1 outside the source) for each visible destination column, and source
  // row for each visible destination row.
  auto sourceIndex = [](i64 i, i64 n, i64 sn, bool flip) -> i64 {
    const i64 k = flip ? n - 1 - i : i;
    return i64((__int128(k) * sn) / n);
  };
  std::vector<int> xmap(std::size_t(vis.right - vis.left));
  for (int xx = vis.left; xx < vis.right; ++xx) {
    const i64 c = SX + sourceIndex(xx - dl, W, SW, flipX);
    xmap[std::size_t(xx - vis.left)] = (c < 0 || c >= s->Width()) ? -1 : int(c);
  }
  auto sourceRow = [&](int yy) -> i64 {
    const i64 r = SY + sourceIndex(yy - dt, H, SH, flipY);
    return (r < 0 || r >= s->Height()) ? -1 : r;
  };
  if (idx == 0xCC) {
    for (const Rect& c : p.Clip().Rects()) {
      const Rect d = dest.Intersect(c);
      if (d.IsEmpty()) continue;
      const int* xm = xmap.data() + (d.left - vis.left);
      const int n = d.right - d.left;
      i64 prevRow = -2;
      for (int yy = d.top; yy < d.bottom; ++yy) {
        TColor* out = FTarget->Row(yy) + d.left;
        const i64 sr = sourceRow(yy);
        if (sr == prevRow) {
          // Enlarging repeats source rows: copy the row just written.
          std::memcpy(out, FTarget->Row(yy - 1) + d.left, std::size_t(n) * sizeof(TColor));
          continue;
        }
        prevRow = sr;
        if (sr < 0) {
          std::fill(out, out + n, TColor(0));
          continue;
        }
        const TColor* in = s->Row(int(sr));
        for (int i = 0; i < n; ++i) out[i] = xm[i] < 0 ? 0 : in[xm[i]];
      }
    }
    return;
  }
  BlitGeneric(p, dest, idx, tile, usesPattern, [&](int xx, int yy) -> TColor {
    const int c = xmap[std::size_t(xx - vis.left)];
    const i64 r = sourceRow(yy);
    return (c < 0 || r < 0) ? 0 : s->At(c, int(r));
  });
}

}  // namespace gfx
