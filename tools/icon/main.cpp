// Draws the program's icon, the strip of data/vantrel.svg, crisply at one pixel size and writes
// it as an RGBA PNG: the hicolor theme's PNGs are made by this at build time, not scaled from
// the SVG, so that edges and ticks fall on whole pixels at every size.
//   vantrel-icon SIZE OUT.png
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace {

constexpr gfx::TColor kStrip = 0x80FFFF;    // the ruler's pale yellow (0x00BBGGRR)
constexpr gfx::TColor kCaption = 0xC0C0C0;  // the caption strip's button face
constexpr gfx::TColor kInk = 0x000000;
constexpr int kGrid = 64;                   // the SVG's view box

// A 64-grid coordinate at SIZE pixels, to the nearest pixel.
int At(double grid, int size) { return int(std::lround(grid * size / kGrid)); }

void FillRect(gfx::Bitmap& b, std::vector<bool>& opaque, int l, int t, int r, int bt, gfx::TColor c) {
  for (int y = t; y < bt; ++y)
    for (int x = l; x < r; ++x)
      if (x >= 0 && y >= 0 && x < b.Width() && y < b.Height()) {
        b.At(x, y) = c;
        opaque[std::size_t(y) * b.Width() + x] = true;
      }
}

bool WritePng(const std::string& path, const gfx::Bitmap& b, const std::vector<bool>& opaque) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = png && info && !setjmp(png_jmpbuf(png));
  if (ok) {
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(b.Width()), png_uint_32(b.Height()), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(std::size_t(b.Width()) * 4);
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        const gfx::TColor c = b.At(x, y);
        const bool on = opaque[std::size_t(y) * b.Width() + x];
        png_byte* p = &row[std::size_t(x) * 4];
        p[0] = png_byte(c & 0xFF);
        p[1] = png_byte(c >> 8 & 0xFF);
        p[2] = png_byte(c >> 16 & 0xFF);
        p[3] = on ? 255 : 0;
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[1]) : 0;
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "usage: vantrel-icon SIZE OUT.png   (SIZE from 16 to 1024)\n");
    return 2;
  }
  gfx::Bitmap icon(size, size, 0);
  std::vector<bool> opaque(std::size_t(size) * size, false);
  // The SVG: a strip from (2, 18) to (62, 46) outlined 2 wide, a caption 7 high, ticks every 8
  // from x = 8, long at 8, 32 and 56, middle at 24 and 48, short between.
  const int pen = std::max(1, At(2, size));
  const int l = At(2, size) - pen / 2, r = At(62, size) + (pen + 1) / 2;
  const int t = At(18, size) - pen / 2, b = At(46, size) + (pen + 1) / 2;
  FillRect(icon, opaque, l, t, r, b, kInk);
  FillRect(icon, opaque, l + pen, t + pen, r - pen, b - pen, kStrip);
  const int captionBottom = At(25, size);
  FillRect(icon, opaque, l + pen, t + pen, r - pen, captionBottom, kCaption);
  FillRect(icon, opaque, l + pen, captionBottom, r - pen, captionBottom + pen, kInk);
  for (int k = 1; k <= 7; ++k) {
    const int x = At(8 * k, size) - pen / 2;
    const int top = At(k % 3 == 1 ? 32 : k % 3 == 0 ? 36 : 40, size);
    FillRect(icon, opaque, x, top, x + pen, b - pen, kInk);
  }
  if (!WritePng(argv[2], icon, opaque)) {
    std::fprintf(stderr, "vantrel-icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
