// BMP files: damaged ones are refused with ImageFileError; what is read writes and reads back
// to the same pixels.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gfx::Bitmap bmp;
  try {
    bmp = gfx::ReadBmp(std::span<const std::uint8_t>(data, size));
  } catch (const gfx::ImageFileError&) {
    return 0;
  }
  if (bmp.IsEmpty()) return 0;
  const gfx::Bitmap back = gfx::ReadBmp(gfx::WriteBmp(bmp, 24));
  if (back.Width() != bmp.Width() || back.Height() != bmp.Height()) std::abort();
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if ((back.At(x, y) & 0xFFFFFF) != (bmp.At(x, y) & 0xFFFFFF)) std::abort();
  return 0;
}
