#pragma once
// A device context over a Bitmap with the classic semantics the controls are written against:
// current pen, brush, font, text colour, background colour and mode, clip region and origin.
//
// Coordinates given to drawing calls are logical; device = logical + Origin. The clip region is
// in device coordinates (as SelectClipRgn takes it); no clip region means the whole bitmap.
// Lines leave out their end point; rectangles exclude their right and bottom edges.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Region.h"
#include "graphics/Types.h"

namespace gfx {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };

struct Pen {
  TColor Color = clBlack;
  int Width = 1;
  PenStyle Style = PenStyle::Solid;
};

enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross, Pattern };

struct Brush {
  TColor Color = clWhite;
  BrushStyle Style = BrushStyle::Solid;
  // 8x8 monochrome pattern for BrushStyle::Pattern, one byte a row, bit 7 = leftmost pixel.
  // As with a monochrome pattern brush, a 0 bit takes the text colour and a 1 bit the
  // background colour. Patterns are aligned to the device origin.
  std::array<std::uint8_t, 8> Pattern{};
};

enum class BkMode { Transparent = 1, Opaque = 2 };

// Ternary raster operations (the classic codes; the index in bits 16..23 is what counts).
using RasterOp = std::uint32_t;
constexpr RasterOp SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                   SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                   NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226,
                   PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
                   DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062,
                   PATAND = 0x00A000C9;

// DrawText format flags (DT_xxx).
enum : unsigned {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000
};

// DrawEdge edge and border flags.
enum : unsigned {
  BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : unsigned {
  BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
  BF_TOPLEFT = BF_TOP | BF_LEFT, BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
  BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
  BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};

class Canvas {
 public:
  explicit Canvas(Bitmap& target);

  Bitmap& Target() { return *FTarget; }

  // Drawing state; change freely between calls.
  gfx::Pen Pen;
  gfx::Brush Brush;
  gfx::Font Font;
  TColor TextColor = clBlack;
  TColor BkColor = clWhite;
  gfx::BkMode BkMode = gfx::BkMode::Opaque;
  Point Origin;  // added to every logical coordinate

  // Selects FONT and takes its colour as the text colour.
  void SelectFont(const gfx::Font& font);

  void SetClipRegion(std::optional<Region> deviceRegion);
  const std::optional<Region>& ClipRegion() const { return FClip; }
  // Narrows the clip to its intersection with R (logical coordinates).
  void IntersectClipRect(const Rect& r);

  // Lines: classic Bresenham, the end point left out; pen width > 1 draws a square-ish
  // thick line centred on the path; dash/dot styles apply to width 1.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  Point PenPos() const { return FPenPos; }
  void Polyline(std::span<const Point> points);

  // Shapes: outline with the pen, inside with the brush (either may be clear).
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const Rect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void Ellipse(int left, int top, int right, int bottom);
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  void Polygon(std::span<const Point> points, FillMode mode = FillMode::Alternate);

  // Brush-only operations.
  void FillRect(const Rect& r);
  void FrameRect(const Rect& r);
  void FillRgn(const Region& rgn);  // RGN in logical coordinates
  void DrawFocusRect(const Rect& r);
  // Draws the classic 3D edge; with BF_ADJUST, R is shrunk by the edge drawn.
  void DrawEdge(Rect& r, unsigned edge, unsigned flags);

  void SetPixel(int x, int y, TColor color);
  TColor GetPixel(int x, int y) const;  // CLR_INVALID outside the bitmap

  // Raster operations with the current brush as pattern.
  void PatBlt(int x, int y, int width, int height, RasterOp rop);
  // Source coordinates are the source bitmap's own; parts outside it read as black.
  void BitBlt(int x, int y, int width, int height, const Bitmap& src, int sx, int sy,
              RasterOp rop = SRCCOPY);
  // Nearest-pixel stretch (the default stretching mode); negative sizes mirror.
  void StretchBlt(int x, int y, int width, int height, const Bitmap& src, int sx, int sy,
                  int sw, int sh, RasterOp rop = SRCCOPY);

  // Text. TextOut draws at the top-left of the text cell; with a font escapement the text
  // turns about that point. Opaque mode fills the text cell with BkColor first.
  void TextOut(int x, int y, std::string_view text);
  // Returns the height of the text drawn (or measured, with DT_CALCRECT, which also sets R).
  int DrawText(std::string_view text, Rect& r, unsigned format);
  Size TextExtent(std::string_view text);  // unrotated extent
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  TextMetrics GetTextMetrics();

  // Low level, in device coordinates, honouring bitmap bounds and the clip region; the text
  // renderer writes its glyph pixels through these.
  bool InClip(int dx, int dy) const;
  void PutDevicePixel(int dx, int dy, TColor color);

 private:
  Bitmap* FTarget;
  std::optional<Region> FClip;
  Point FPenPos;
};

}  // namespace gfx
