#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace gfx {

namespace {

void CheckSize(int width, int height) {
  if (width < 0 || height < 0)
    throw std::invalid_argument("bitmap size must not be negative (" + std::to_string(width) + " x " +
                                std::to_string(height) + ")");
}

}  // namespace

Bitmap::Bitmap(int width, int height, TColor fill) {
  CheckSize(width, height);
  FWidth = width;
  FHeight = height;
  FPixels.assign(std::size_t(width) * std::size_t(height), fill & 0xFFFFFF);
}

void Bitmap::Resize(int width, int height, TColor fill) {
  CheckSize(width, height);
  if (width == FWidth && height == FHeight) return;
  std::vector<TColor> pixels(std::size_t(width) * std::size_t(height), fill & 0xFFFFFF);
  const int keepW = std::min(width, FWidth);
  const int keepH = std::min(height, FHeight);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(Row(y), keepW, pixels.data() + std::size_t(y) * std::size_t(width));
  FPixels = std::move(pixels);
  FWidth = width;
  FHeight = height;
}

void Bitmap::Fill(TColor color) { std::fill(FPixels.begin(), FPixels.end(), color & 0xFFFFFF); }

Bitmap Bitmap::Copy(const Rect& r) const {
  // 64-bit widths so extreme rectangles cannot overflow; an inverted rectangle copies nothing.
  const std::int64_t w = std::max<std::int64_t>(0, std::int64_t(r.right) - r.left);
  const std::int64_t h = std::max<std::int64_t>(0, std::int64_t(r.bottom) - r.top);
  if (w > INT32_MAX || h > INT32_MAX) throw std::invalid_argument("bitmap copy rectangle is too large");
  Bitmap out(int(w), int(h), 0);
  const Rect src = Bounds().Intersect(r);
  for (int y = src.top; y < src.bottom; ++y) {
    const TColor* from = Row(y) + src.left;
    TColor* to = out.Row(int(std::int64_t(y) - r.top)) + (std::int64_t(src.left) - r.left);
    std::copy_n(from, src.Width(), to);
  }
  return out;
}

}  // namespace gfx
