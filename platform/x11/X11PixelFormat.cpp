#include "platform/x11/X11PixelFormat.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>

namespace plat {

namespace {
bool NativeByteOrderIs(int order) {
  return (std::endian::native == std::endian::little) == (order == LSBFirst);
}
}  // namespace

X11PixelFormat::Channel X11PixelFormat::Describe(unsigned long mask) {
  Channel c;
  if (mask == 0) return {0, 0};
  c.Shift = std::countr_zero(mask);
  c.Bits = std::popcount(mask);
  return c;
}

X11PixelFormat::X11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask)
    : FRed(Describe(redMask)), FGreen(Describe(greenMask)), FBlue(Describe(blueMask)) {
  FIsRgb888 = redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF;
}

unsigned long X11PixelFormat::Pack(int v, Channel c) {
  if (c.Bits <= 0) return 0;
  unsigned long scaled = c.Bits >= 8 ? (unsigned long)v << (c.Bits - 8) : (unsigned long)v >> (8 - c.Bits);
  return scaled << c.Shift;
}

int X11PixelFormat::Unpack(unsigned long pixel, Channel c) {
  if (c.Bits <= 0) return 0;
  unsigned long v = (pixel >> c.Shift) & ((1ul << c.Bits) - 1);
  if (c.Bits >= 8) return int(v >> (c.Bits - 8));
  // Widen by repeating the top bits, so full intensity stays 255.
  unsigned long out = v << (8 - c.Bits);
  out |= out >> c.Bits;
  return int(std::min<unsigned long>(out, 255));
}

unsigned long X11PixelFormat::ToPixel(gfx::TColor c) const {
  if (FIsRgb888) return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  return Pack(gfx::GetRValue(c), FRed) | Pack(gfx::GetGValue(c), FGreen) | Pack(gfx::GetBValue(c), FBlue);
}

gfx::TColor X11PixelFormat::FromPixel(unsigned long p) const {
  if (FIsRgb888) return gfx::TColor(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  return gfx::RGB(Unpack(p, FRed), Unpack(p, FGreen), Unpack(p, FBlue));
}

void X11PixelFormat::Encode(const gfx::Bitmap& bmp, const gfx::Rect& src, XImage* image, int dx, int dy) const {
  const gfx::Rect r = src.Intersect(bmp.Bounds());
  const bool fast = image->bits_per_pixel == 32 && NativeByteOrderIs(image->byte_order);
  for (int y = r.top; y < r.bottom; ++y) {
    const gfx::TColor* in = bmp.Row(y) + r.left;
    const int iy = dy + (y - r.top);
    if (iy < 0 || iy >= image->height) continue;
    if (fast) {
      auto* out = reinterpret_cast<std::uint32_t*>(image->data + std::size_t(iy) * image->bytes_per_line);
      for (int x = 0; x < r.Width(); ++x) {
        const int ix = dx + x;
        if (ix >= 0 && ix < image->width) out[ix] = std::uint32_t(ToPixel(in[x]));
      }
    } else {
      for (int x = 0; x < r.Width(); ++x) {
        const int ix = dx + x;
        if (ix >= 0 && ix < image->width) XPutPixel(image, ix, iy, ToPixel(in[x]));
      }
    }
  }
}

void X11PixelFormat::Decode(XImage* image, gfx::Bitmap& bmp, int dx, int dy) const {
  const bool fast = image->bits_per_pixel == 32 && NativeByteOrderIs(image->byte_order);
  for (int y = 0; y < image->height; ++y) {
    const int by = dy + y;
    if (by < 0 || by >= bmp.Height()) continue;
    gfx::TColor* out = bmp.Row(by);
    if (fast) {
      const auto* in = reinterpret_cast<const std::uint32_t*>(image->data + std::size_t(y) * image->bytes_per_line);
      for (int x = 0; x < image->width; ++x) {
        const int bx = dx + x;
        if (bx >= 0 && bx < bmp.Width()) out[bx] = FromPixel(in[x]);
      }
    } else {
      for (int x = 0; x < image->width; ++x) {
        const int bx = dx + x;
        if (bx >= 0 && bx < bmp.Width()) out[bx] = FromPixel(XGetPixel(image, x, y));
      }
    }
  }
}

}  // namespace plat
