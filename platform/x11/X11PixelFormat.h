#pragma once
// Turns our 0x00BBGGRR pixels into a TrueColor visual's pixel values and back, from the
// visual's channel masks (24/32-bit visuals are the fast path; 15/16-bit ones work too).
#include <X11/Xlib.h>

#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Types.h"

namespace plat {

class X11PixelFormat {
 public:
  X11PixelFormat() = default;
  X11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask);

  unsigned long ToPixel(gfx::TColor c) const;
  gfx::TColor FromPixel(unsigned long pixel) const;

  // Writes the part SRC of BMP into IMAGE at (dx, dy), and reads IMAGE back into BMP.
  void Encode(const gfx::Bitmap& bmp, const gfx::Rect& src, XImage* image, int dx, int dy) const;
  void Decode(XImage* image, gfx::Bitmap& bmp, int dx, int dy) const;

 private:
  struct Channel {
    int Shift = 0;
    int Bits = 8;
  };
  static Channel Describe(unsigned long mask);
  static unsigned long Pack(int v, Channel c);
  static int Unpack(unsigned long pixel, Channel c);

  Channel FRed{16, 8}, FGreen{8, 8}, FBlue{0, 8};
  bool FIsRgb888 = true;  // 0x00RRGGBB: a byte swap away from our pixels
};

}  // namespace plat
