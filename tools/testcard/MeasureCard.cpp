// The measuring card: shapes of known size on a light grey ground, for measuring edges,
// snapping, copying and contrast by hand and in scenario tests (tools/testcard/MeasureCardLayout.h
// holds the numbers).
#include <algorithm>
#include <stdexcept>

#include "graphics/Canvas.h"
#include "tools/testcard/Cards.h"
#include "tools/testcard/MeasureCardLayout.h"

namespace {

using namespace gfx;
using namespace measurecard;

void Fill(Bitmap& b, const Rect& r, TColor c) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) b.Set(x, y, c);
}

TColor Grey(int level) { return TColor(level) * 0x010101; }

// The shadow darkens by kShadowStep a pixel towards the panel, so no step between neighbours
// is larger than kShadowStep; it lies right of and below the panel only.
void ShadowedPanel(Bitmap& b) {
  const Rect& p = kShadowPanel;
  const int ground = int(kGround & 0xFF);
  for (int y = p.top + kShadowWidth; y < p.bottom + kShadowWidth; ++y)
    for (int x = p.left + kShadowWidth; x < p.right + kShadowWidth; ++x) {
      const int d = std::max(x - (p.right - 1), y - (p.bottom - 1));  // 1 next to the panel
      if (d >= 1 && d <= kShadowWidth) b.Set(x, y, Grey(ground - (kShadowWidth + 1 - d) * kShadowStep));
    }
  Fill(b, p, clWhite);
}

}  // namespace

Bitmap MeasureCard() {
  Bitmap b(kWidth, kHeight, kGround);
  Fill(b, kBox, kBoxColor);
  for (int i = 0; i < 5; ++i) Fill(b, RowBox(i), kRowColor);
  Fill(b, kHairline, clBlack);
  for (int x = kGradient.left; x < kGradient.right; ++x)
    Fill(b, {x, kGradient.top, x + 1, kGradient.bottom}, Grey(x - kGradient.left));
  ShadowedPanel(b);

  Canvas c(b);
  c.Font = Font{};
  c.Font.Name = "DejaVu Sans";
  c.Font.Height = -15;
  c.Font.Color = clBlack;
  c.SelectFont(c.Font);
  c.BkMode = BkMode::Transparent;
  c.TextOut(kTextLeft, kTextTop, kText);

  c.Pen = Pen{};
  c.Pen.Color = clBlack;
  c.MoveTo(kLineStart.x, kLineStart.y);
  c.LineTo(kLineEnd.x, kLineEnd.y);

  Fill(b, kScaleBar, clBlack);
  Fill(b, {kScaleBar.left, kScaleBar.top - kScaleTick, kScaleBar.left + 1, kScaleBar.top}, clBlack);
  Fill(b, {kScaleBar.right - 1, kScaleBar.top - kScaleTick, kScaleBar.right, kScaleBar.top}, clBlack);

  Fill(b, kSwatchGround, clWhite);
  Fill(b, kSwatch767676, 0x767676);
  Fill(b, kSwatch777777, 0x777777);
  Fill(b, kSwatch336699, 0x996633);  // #336699 as 0x00BBGGRR

  if (b.At(kBox.left, kBox.top) != kBoxColor) throw std::runtime_error("measuring card: box not drawn");
  return b;
}
