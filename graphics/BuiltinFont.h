#pragma once
// The built-in bitmap face: 5x7 glyphs (with two descender rows) in a 6-pixel advance.
//
// Fixed metrics at scale 1: cell height 10 = ascent 8 + descent 2, internal leading 2 (so the
// character height is 8), no external leading, average and maximum width 6. Row 0 of the cell
// is empty, capitals fill rows 1..7, the base line lies under row 7, descenders use rows 8..9.
// Every metric and pixel scales by a whole factor: max(1, character height / 8), where the
// character height is -Height for negative heights and Height * 8 / 10 for cell heights, capped
// at 16. Bold adds one pixel column (scaled) to each glyph and to the advance; italic shifts
// the upper rows one pixel to the right. Covers printable ASCII; other characters draw a box.
#include <unordered_map>

#include "graphics/FontEngine.h"

namespace gfx {

class BuiltinFont : public RealizedFont {
 public:
  static constexpr int kAdvance = 6;
  static constexpr int kCellHeight = 10;
  static constexpr int kAscent = 8;
  static constexpr int kCharHeight = 8;

  BuiltinFont(int height, bool bold, bool italic);

  int Scale() const { return FScale; }
  const GlyphImage& Glyph(char32_t c) override;
  int Advance(char32_t c) override;

 private:
  int FScale;
  bool FBold;
  bool FItalic;
  std::unordered_map<char32_t, GlyphImage> FGlyphs;
};

}  // namespace gfx
