#pragma once
// A 32-bit pixel buffer. Each pixel holds a resolved colour 0x00BBGGRR (the top byte is
// kept 0), so a pixel reads back exactly as the colour that was drawn.
#include <cstdint>
#include <vector>

#include "graphics/Color.h"
#include "graphics/Types.h"

namespace gfx {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, TColor fill = 0);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }
  Rect Bounds() const { return {0, 0, FWidth, FHeight}; }

  // Resizes; the pixels that stay inside keep their colour, new pixels get FILL.
  void Resize(int width, int height, TColor fill = 0);
  void Fill(TColor color);

  // Unchecked access; callers keep x, y inside.
  TColor& At(int x, int y) { return FPixels[std::size_t(y) * FWidth + x]; }
  TColor At(int x, int y) const { return FPixels[std::size_t(y) * FWidth + x]; }
  // Checked read: CLR_INVALID outside.
  TColor Get(int x, int y) const {
    return (x < 0 || y < 0 || x >= FWidth || y >= FHeight) ? CLR_INVALID : At(x, y);
  }
  // Checked write: ignored outside.
  void Set(int x, int y, TColor c) {
    if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) At(x, y) = c & 0xFFFFFF;
  }

  TColor* Row(int y) { return FPixels.data() + std::size_t(y) * FWidth; }
  const TColor* Row(int y) const { return FPixels.data() + std::size_t(y) * FWidth; }
  const std::vector<TColor>& Pixels() const { return FPixels; }

  // A copy of the rectangle R; parts of R outside this bitmap read as black.
  Bitmap Copy(const Rect& r) const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TColor> FPixels;
};

}  // namespace gfx
