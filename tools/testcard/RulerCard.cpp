// The ruler test card: both orientations, the four rotations and the three number alignments,
// normal and large, with the real fonts.
#include <algorithm>
#include <stdexcept>
#include <string>

#include "graphics/Font.h"
#include "ruler/RulerPainter.h"
#include "tools/testcard/Cards.h"

namespace {

constexpr gfx::TColor kCardBack = 0xD8D8D8;

TRulerPaintState CardLook(bool large, TOrientation o, TNumberAlign a, TFontRotation r, TTickAlign t) {
  TRulerPaintState look;
  look.Color = 0x80FFFF;
  look.Font.Name = "Arial";
  look.Font.Height = large ? -12 : -9;  // 9 and 7 points
  look.Font.Color = gfx::clBlack;
  look.TickSizeBig = 50;
  look.TickSizeMiddle = 40;
  look.TickSizeSmall = 25;
  look.UnitSize = look.UnitPrice = large ? 40 : 20;
  look.StartValue = -1.25;
  look.Orientation = o;
  look.NumberAlign = a;
  look.FontRotation = r;
  look.TickAlign = t;
  // The main window's indents: 4 when the ticks hang from the bottom or right edge, else
  // 28 horizontal, 33 vertical, 45 large.
  look.NumberIndent = t == taBottomRight ? 4 : large ? 45 : o == orHoriz ? 28 : 33;
  look.DrawFrame = true;
  return look;
}

// The main window's ruler thickness for the layout.
int Thickness(bool large, TOrientation o, TTickAlign t) {
  if (o == orHoriz) return large ? 70 : t == taBottomRight ? 41 : 45;
  return large ? 79 : t == taBottomRight ? 49 : 51;
}

void Label(gfx::Canvas& canvas, int x, int y, const std::string& text, int escapement = 0) {
  gfx::Font f;
  f.Name = "Arial";
  f.Height = -11;
  f.Color = gfx::clBlack;
  f.Escapement = escapement;
  canvas.SelectFont(f);
  canvas.BkMode = gfx::BkMode::Transparent;
  canvas.TextOut(x, y, text);
}

// Paints LOOK into the card at (X, Y), clipped to its own rectangle as a window would be.
void Place(gfx::Bitmap& card, const TRulerPaintState& look, int x, int y, int w, int h) {
  gfx::Canvas canvas(card);
  canvas.Origin = {x, y};
  canvas.SetClipRegion(gfx::Region(gfx::Rect::FromXYWH(x, y, w, h)));
  PaintRuler(canvas, look, w, h);
}

class RealFonts {
 public:
  RealFonts() : FWas(gfx::BuiltinFontOnly()) { gfx::SetBuiltinFontOnly(false); }
  ~RealFonts() { gfx::SetBuiltinFontOnly(FWas); }

 private:
  bool FWas;
};

}  // namespace

gfx::Bitmap RulerCard() {
  RealFonts realFonts;
  const TNumberAlign aligns[] = {naCenter, naBottomRight, naTopLeft};
  const TFontRotation rotations[] = {fr0, fr90, fr180, fr270};
  const char* alignNames[] = {"naCenter", "naBottomRight", "naTopLeft"};
  const char* rotationNames[] = {"fr0", "fr90", "fr180", "fr270"};

  const int hLen = 330, vLen = 260;
  gfx::Bitmap card(1270, 1740, kCardBack);
  gfx::Canvas canvas(card);
  Label(canvas, 10, 4, "Horizontal, ticks from the bottom (left: 7 pt, unit 20, 41 px; right: 9 pt, unit 40, 70 px); start value -1.25");

  // Horizontal: 12 rows of (normal | large), each labelled.
  for (int ai = 0; ai < 3; ++ai)
    for (int ri = 0; ri < 4; ++ri) {
      const int row = ai * 4 + ri;
      const int y = 24 + row * 78;
      const std::string name = std::string(alignNames[ai]) + " " + rotationNames[ri];
      Place(card, CardLook(false, orHoriz, aligns[ai], rotations[ri], taBottomRight), 10, y + 14, hLen, 41);
      Label(canvas, 10 + hLen + 6, y + 28, name);
      TRulerPaintState large = CardLook(true, orHoriz, aligns[ai], rotations[ri], taBottomRight);
      large.Caption = "Caption " + name;
      large.CaptionAlign = row % 2 ? caBottomRight : caTopLeft;
      large.CaptionIndent1 = 3;
      large.CaptionIndent2 = 2;
      Place(card, large, 450, y, hLen, 70);
      Label(canvas, 450 + hLen + 6, y + 28, name + (row % 2 ? ", caption far end" : ", caption near end"));
    }

  // Ticks from the top edge, the main window's flipped layout.
  const int ty = 24 + 12 * 78 + 4;
  Label(canvas, 10, ty, "Ticks from the top or left edge (ruler flip), naCenter fr0; on the left a cross-ruler caption at (1, 2)");
  TRulerPaintState flipped = CardLook(false, orHoriz, naCenter, fr0, taTopLeft);
  flipped.Caption = "45.0 deg";
  flipped.CaptionIndent1 = 1;
  flipped.CaptionIndent2 = 2;
  Place(card, flipped, 10, ty + 18, hLen, 45);
  Place(card, CardLook(true, orHoriz, naCenter, fr0, taTopLeft), 450, ty + 18, hLen, 70);

  // Vertical: 12 normal and 2 flipped in one row, the same large in the next.
  int vy = ty + 100;
  Label(canvas, 10, vy, "Vertical, ticks from the right (7 pt, then 9 pt below); the last two of each row: ticks from the left");
  int widest = 0;
  for (bool large : {false, true}) {
    int x = 10;
    auto put = [&](const TRulerPaintState& look, const std::string& label) {
      const int thick = Thickness(large, orVert, look.TickAlign);
      Place(card, look, x, vy + 18, thick, vLen);
      Label(canvas, x + 2, vy + 18 + vLen + 3, label);
      x += thick + 10;
    };
    for (int ai = 0; ai < 3; ++ai)
      for (int ri = 0; ri < 4; ++ri)
        put(CardLook(large, orVert, aligns[ai], rotations[ri], taBottomRight),
            std::string(alignNames[ai]).substr(2, 3) + std::string(rotationNames[ri]).substr(2));
    for (TFontRotation r : {fr0, fr90})
      put(CardLook(large, orVert, naCenter, r, taTopLeft), std::string("L ") + rotationNames[r]);
    widest = std::max(widest, x);
    vy += vLen + 40;
  }
  // Every ruler's frame corner is black where it was placed.
  if (widest > card.Width() || vy > card.Height() || card.At(10, 24 + 14) != gfx::clBlack ||
      card.At(450 + hLen - 1, 24 + 69) != gfx::clBlack || card.At(10, ty + 118 + vLen - 1) != gfx::clBlack)
    throw std::runtime_error("a ruler did not land in its box");
  return card;
}
