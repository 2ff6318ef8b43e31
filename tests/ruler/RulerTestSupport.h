#pragma once
// Helpers for the ruler's pixel tests: painting into a bitmap, rendering reference texts and
// comparing ink.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "ruler/RulerPainter.h"

namespace rulertest {

constexpr gfx::TColor kOutside = 0x00FF00FF;  // never used by a ruler in these tests
constexpr gfx::TColor kBack = 0xFFFFFF;
constexpr gfx::TColor kTick = 0xFF0000;
constexpr gfx::TColor kInk = 0x0000FF;

// The built-in face (fixed metrics) for every test of this program.
class BuiltinFontEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { gfx::SetBuiltinFontOnly(true); }
};

// A look with distinct colours: white background, blue ticks, red text; the system's tick sizes
// and a unit of 20 pixels counting pixels.
inline TRulerPaintState TestLook() {
  TRulerPaintState look;
  look.Color = kBack;
  look.TickColor = kTick;
  look.Font.Name = "Arial";
  look.Font.Color = kInk;
  look.TickSizeBig = 50;
  look.TickSizeMiddle = 40;
  look.TickSizeSmall = 25;
  look.UnitSize = 20;
  look.UnitPrice = 20;
  return look;
}

inline gfx::Bitmap Paint(const TRulerPaintState& look, int width, int height) {
  gfx::Bitmap bmp(width, height, kOutside);
  gfx::Canvas canvas(bmp);
  PaintRuler(canvas, look, width, height);
  return bmp;
}

// The font the ruler draws with for ROTATION.
inline gfx::Font Rotated(gfx::Font font, TFontRotation rotation) {
  font.Escapement = 900 * int(rotation);
  return font;
}

struct TextSize {
  int W = 0;   // width of the text
  int Hd = 0;  // height of "0"
};

inline TextSize Measure(const gfx::Font& font, TFontRotation rotation, const std::string& text) {
  gfx::Bitmap bmp(1, 1);
  gfx::Canvas canvas(bmp);
  canvas.SelectFont(Rotated(font, rotation));
  return {canvas.TextWidth(text), canvas.TextHeight("0")};
}

// TEXT drawn alone at (X, Y) on a background of BACK, the way the ruler draws its texts.
inline void DrawText(gfx::Bitmap& bmp, const gfx::Font& font, TFontRotation rotation, int x, int y,
                     const std::string& text, gfx::TColor back) {
  gfx::Canvas canvas(bmp);
  canvas.SelectFont(Rotated(font, rotation));
  canvas.BkMode = gfx::BkMode::Opaque;
  canvas.BkColor = back;
  canvas.TextOut(x, y, text);
}

// Number of pixels where exactly one of A and B has COLOR.
inline int MaskDifference(const gfx::Bitmap& a, const gfx::Bitmap& b, gfx::TColor color) {
  int diff = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) diff += (a.At(x, y) == color) != (b.At(x, y) == color);
  return diff;
}

// Bounding box of the pixels of COLOR (empty when there are none).
inline gfx::Rect InkBox(const gfx::Bitmap& bmp, gfx::TColor color) {
  gfx::Rect r{};
  bool any = false;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.At(x, y) == color) {
        if (!any) r = {x, y, x + 1, y + 1};
        r = r.Union({x, y, x + 1, y + 1});
        any = true;
      }
  return r;
}

// The pixels a text drawn at reference point P covers with ROTATION (quarter turns about P).
inline gfx::Rect TextCell(gfx::Point p, TFontRotation rotation, int w, int h) {
  switch (rotation) {
    case fr0: return {p.x, p.y, p.x + w, p.y + h};
    case fr90: return {p.x, p.y - w + 1, p.x + h, p.y + 1};
    case fr180: return {p.x - w + 1, p.y - h + 1, p.x + 1, p.y + 1};
    case fr270: return {p.x - h + 1, p.y, p.x + 1, p.y + w};
  }
  return {};
}

inline bool Inside(const gfx::Rect& inner, const gfx::Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace rulertest
