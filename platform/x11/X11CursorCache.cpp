#include "platform/x11/X11CursorCache.h"

#include <X11/cursorfont.h>

#include <algorithm>

namespace plat {

namespace {
// Custom cursors are few (the ruler's arrows and a handful of tools); past this many distinct
// images, something creates them in a loop, and the oldest are dropped.
constexpr std::size_t kMaxCustomCursors = 64;

bool SameImage(const CursorImage& a, const CursorImage& b) {
  return a.Width == b.Width && a.Height == b.Height && a.HotSpot == b.HotSpot && a.Pixels == b.Pixels;
}
}  // namespace

X11CursorCache::~X11CursorCache() {
  for (auto& [shape, c] : FStandard) XFreeCursor(FDpy, c);
  for (auto& c : FCustom) XFreeCursor(FDpy, c.Handle);
}

unsigned int X11CursorCache::FontShapeOf(StdCursor c) {
  switch (c) {
    case StdCursor::Arrow: return XC_left_ptr;
    case StdCursor::IBeam: return XC_xterm;
    case StdCursor::Wait: return XC_watch;
    case StdCursor::Cross: return XC_crosshair;
    case StdCursor::UpArrow: return XC_sb_up_arrow;
    case StdCursor::SizeNWSE: return XC_bottom_right_corner;
    case StdCursor::SizeNESW: return XC_bottom_left_corner;
    case StdCursor::SizeWE: return XC_sb_h_double_arrow;
    case StdCursor::SizeNS: return XC_sb_v_double_arrow;
    case StdCursor::SizeAll: return XC_fleur;
    case StdCursor::No: return XC_X_cursor;
    case StdCursor::Hand: return XC_hand2;
    case StdCursor::HelpArrow: return XC_question_arrow;
  }
  return XC_left_ptr;
}

Cursor X11CursorCache::Get(const CursorLook& look) {
  if (!look.IsCustom) {
    auto it = FStandard.find(look.Standard);
    if (it != FStandard.end()) return it->second;
    const Cursor c = XCreateFontCursor(FDpy, FontShapeOf(look.Standard));
    FStandard[look.Standard] = c;
    return c;
  }
  for (const Custom& c : FCustom)
    if (SameImage(c.Image, look.Image)) return c.Handle;
  const Cursor c = MakeImageCursor(look.Image);
  if (c == None) return Get(CursorLook{});
  if (FCustom.size() >= kMaxCustomCursors) {
    XFreeCursor(FDpy, FCustom.front().Handle);
    FCustom.erase(FCustom.begin());
  }
  FCustom.push_back({look.Image, c});
  return c;
}

Cursor X11CursorCache::MakeImageCursor(const CursorImage& image) {
  const int w = image.Width, h = image.Height;
  if (w <= 0 || h <= 0 || w > 256 || h > 256 || image.Pixels.size() < std::size_t(w) * std::size_t(h)) return None;
  // XBM layout: rows padded to bytes, least significant bit first.
  const int stride = (w + 7) / 8;
  std::vector<char> source(std::size_t(stride) * h, 0), mask(std::size_t(stride) * h, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t p = image.Pixels[std::size_t(y) * w + x];
      const std::size_t byte = std::size_t(y) * stride + x / 8;
      const char bit = char(1 << (x % 8));
      // Core cursors cannot invert the screen; inverted pixels show black, which is what
      // inversion gives on the light surfaces a ruler usually measures.
      if (p == 1 || p == 3) {
        source[byte] |= bit;
        mask[byte] |= bit;
      } else if (p == 2) {
        mask[byte] |= bit;
      }
    }
  }
  Pixmap src = XCreateBitmapFromData(FDpy, FRoot, source.data(), unsigned(w), unsigned(h));
  Pixmap msk = XCreateBitmapFromData(FDpy, FRoot, mask.data(), unsigned(w), unsigned(h));
  XColor black{}, white{};
  white.red = white.green = white.blue = 0xFFFF;
  black.flags = white.flags = DoRed | DoGreen | DoBlue;
  const unsigned hx = unsigned(std::clamp(image.HotSpot.x, 0, w - 1));
  const unsigned hy = unsigned(std::clamp(image.HotSpot.y, 0, h - 1));
  const Cursor c = XCreatePixmapCursor(FDpy, src, msk, &black, &white, hx, hy);
  XFreePixmap(FDpy, src);
  XFreePixmap(FDpy, msk);
  return c;
}

}  // namespace plat
