#include "graphics/ImageFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <png.h>


namespace gfx {

namespace {

// Larger pictures than this are not screen captures or resources but damage.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixelBytes = std::int64_t(256) << 20;

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                        kBiAlphaBitfields = 6;

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : FBytes(b) {}
  void Need(std::uint64_t at, std::uint64_t n, const char* what) const {
    if (at > FBytes.size() || n > FBytes.size() - at)
      throw ImageFileError(std::string("BMP data is truncated: ") + what + " runs past the end of the file (" +
                           std::to_string(FBytes.size()) + " bytes)");
  }
  std::uint32_t U8(std::uint64_t at) const { return FBytes[at]; }
  std::uint32_t U16(std::uint64_t at) const { return FBytes[at] | (std::uint32_t(FBytes[at + 1]) << 8); }
  std::uint32_t U32(std::uint64_t at) const {
    return U16(at) | (U16(at + 2) << 16);
  }
  std::int32_t I32(std::uint64_t at) const { return std::int32_t(U32(at)); }
  const std::uint8_t* Ptr(std::uint64_t at) const { return FBytes.data() + at; }
  std::size_t Size() const { return FBytes.size(); }

 private:
  std::span<const std::uint8_t> FBytes;
};

// One colour channel of a bit-field pixel format, widened to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  std::uint32_t Get(std::uint32_t px) const {
    if (!max) return 0;
    const std::uint64_t v = (px & mask) >> shift;
    return std::uint32_t((v * 255 + max / 2) / max);
  }
};

void PutU16(std::vector<std::uint8_t>& o, std::uint32_t v) {
  o.push_back(std::uint8_t(v));
  o.push_back(std::uint8_t(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& o, std::uint32_t v) {
  PutU16(o, v & 0xFFFF);
  PutU16(o, v >> 16);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImageFileError("cannot open \"" + path + "\"");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ImageFileError("cannot read \"" + path + "\"");
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw ImageFileError("cannot create \"" + path + "\"");
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw ImageFileError("cannot write \"" + path + "\"");
}

}  // namespace

Bitmap ReadBmp(std::span<const std::uint8_t> bytes) {
  const Reader in(bytes);
  in.Need(0, 14, "the file header");
  if (in.U8(0) != 'B' || in.U8(1) != 'M') throw ImageFileError("not a BMP file (the first bytes are not \"BM\")");
  const std::uint32_t offBits = in.U32(10);
  in.Need(14, 4, "the info header");
  const std::uint32_t headerSize = in.U32(14);

  std::int64_t width = 0, height = 0;
  std::uint32_t bpp = 0, compression = kBiRgb, clrUsed = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  bool core = false;
  std::uint64_t afterHeader = 14 + std::uint64_t(headerSize);
  if (headerSize == 12) {
    // The old core header: 16-bit sizes, palette entries of three bytes.
    core = true;
    in.Need(14, 12, "the core header");
    width = in.U16(18);
    height = in.U16(20);
    bpp = in.U16(24);
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
    in.Need(14, headerSize, "the info header");
    width = in.I32(18);
    height = in.I32(22);
    bpp = in.U16(28);
    compression = in.U32(30);
    clrUsed = in.U32(46);
    if (headerSize >= 52) {
      masks[0] = in.U32(54);
      masks[1] = in.U32(58);
      masks[2] = in.U32(62);
    }
  } else {
    throw ImageFileError("unsupported BMP header size " + std::to_string(headerSize));
  }

  if (compression == kBiRle8 || compression == kBiRle4)
    throw ImageFileError("run-length compressed BMP files are not supported");
  if (compression == kBiJpeg || compression == kBiPng)
    throw ImageFileError("BMP files with embedded JPEG or PNG data are not supported");
  if (compression != kBiRgb && compression != kBiBitfields && compression != kBiAlphaBitfields)
    throw ImageFileError("unknown BMP compression " + std::to_string(compression));
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw ImageFileError("unsupported BMP pixel depth of " + std::to_string(bpp) + " bits");
  const bool bitfields = compression != kBiRgb;
  if (bitfields && bpp != 16 && bpp != 32)
    throw ImageFileError("BMP bit-field masks need 16 or 32 bits per pixel, not " + std::to_string(bpp));

  if (width < 0) throw ImageFileError("BMP width is negative (" + std::to_string(width) + ")");
  const bool topDown = height < 0;
  if (topDown) height = -height;  // int64, so even INT_MIN negates safely
  if (width > kMaxSide || height > kMaxSide)
    throw ImageFileError("BMP size " + std::to_string(width) + " x " + std::to_string(height) +
                         " is larger than supported (" + std::to_string(kMaxSide) + " per side)");
  if (width * height * 4 > kMaxPixelBytes)
    throw ImageFileError("BMP size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");

  // Masks of a plain info header follow it.
  if (bitfields && headerSize == 40) {
    in.Need(afterHeader, compression == kBiAlphaBitfields ? 16 : 12, "the colour masks");
    masks[0] = in.U32(afterHeader);
    masks[1] = in.U32(afterHeader + 4);
    masks[2] = in.U32(afterHeader + 8);
    afterHeader += compression == kBiAlphaBitfields ? 16 : 12;
  }
  if (!bitfields && bpp == 16) {
    masks[0] = 0x7C00;  // 5-5-5 is the default 16-bit layout
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }

  std::vector<TColor> palette;
  if (bpp <= 8) {
    const std::uint32_t maxColors = 1u << bpp;
    std::uint64_t n = (clrUsed == 0 || core) ? maxColors : clrUsed;
    if (n > maxColors) n = maxColors;  // extra entries can never be indexed
    const std::uint64_t entry = core ? 3 : 4;
    // Some writers declare more palette than they store before the pixels; keep what is there.
    if (offBits != 0 && offBits >= afterHeader) n = std::min<std::uint64_t>(n, (offBits - afterHeader) / entry);
    in.Need(afterHeader, n * entry, "the colour table");
    palette.resize(std::size_t(n));
    for (std::uint64_t i = 0; i < n; ++i) {
      const std::uint64_t at = afterHeader + i * entry;
      palette[std::size_t(i)] = RGB(int(in.U8(at + 2)), int(in.U8(at + 1)), int(in.U8(at)));
    }
    afterHeader += n * entry;
  }

  // A zero offset is a common writer slip; the pixels then follow the colour table.
  const std::uint64_t dataStart = offBits != 0 ? offBits : afterHeader;
  if (offBits != 0 && offBits < 14 + std::uint64_t(headerSize))
    throw ImageFileError("BMP pixel data offset " + std::to_string(offBits) + " points into the header");
  const std::uint64_t stride = ((std::uint64_t(width) * bpp + 31) / 32) * 4;
  in.Need(dataStart, stride * std::uint64_t(height), "the pixel data");

  Bitmap bmp(static_cast<int>(width), static_cast<int>(height));
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (std::int64_t row = 0; row < height; ++row) {
    const std::uint8_t* src = in.Ptr(dataStart + std::uint64_t(row) * stride);
    TColor* dst = bmp.Row(int(topDown ? row : height - 1 - row));
    for (std::int64_t x = 0; x < width; ++x) {
      TColor c = 0;
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          const std::uint64_t bit = std::uint64_t(x) * bpp;
          const std::uint32_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
          c = index < palette.size() ? palette[index] : 0;  // an index past the table reads black
          break;
        }
        case 16: {
          const std::uint32_t px = src[x * 2] | (std::uint32_t(src[x * 2 + 1]) << 8);
          c = RGB(int(red.Get(px)), int(green.Get(px)), int(blue.Get(px)));
          break;
        }
        case 24: c = RGB(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]); break;
        case 32: {
          const std::uint8_t* p = src + x * 4;
          if (bitfields) {
            const std::uint32_t px = p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                     (std::uint32_t(p[3]) << 24);
            c = RGB(int(red.Get(px)), int(green.Get(px)), int(blue.Get(px)));
          } else {
            c = RGB(p[2], p[1], p[0]);
          }
          break;
        }
      }
      dst[x] = c;
    }
  }
  return bmp;
}

Bitmap ReadBmpFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  try {
    return ReadBmp(bytes);
  } catch (const ImageFileError& e) {
    throw ImageFileError("\"" + path + "\": " + e.what());
  }
}

// Written as the classic desktop writes them: a 40-byte info header, no colour table, rows
// bottom-up and padded to four bytes; 32-bit pixels are blue, green, red, 0.
std::vector<std::uint8_t> WriteBmp(const Bitmap& bmp, int bitsPerPixel) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32)
    throw ImageFileError("BMP files can be written with 24 or 32 bits per pixel, not " + std::to_string(bitsPerPixel));
  const std::uint64_t w = std::uint64_t(bmp.Width()), h = std::uint64_t(bmp.Height());
  const std::uint64_t stride = ((w * std::uint64_t(bitsPerPixel) + 31) / 32) * 4;
  const std::uint64_t imageSize = stride * h;
  const std::uint64_t fileSize = 14 + 40 + imageSize;
  if (fileSize > 0xFFFFFFFFu) throw ImageFileError("image too large for a BMP file");
  constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 per inch

  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(fileSize));
  out.push_back('B');
  out.push_back('M');
  PutU32(out, std::uint32_t(fileSize));
  PutU32(out, 0);
  PutU32(out, 14 + 40);
  PutU32(out, 40);
  PutU32(out, std::uint32_t(w));
  PutU32(out, std::uint32_t(h));
  PutU16(out, 1);
  PutU16(out, std::uint32_t(bitsPerPixel));
  PutU32(out, kBiRgb);
  PutU32(out, std::uint32_t(imageSize));
  PutU32(out, kPixelsPerMetre);
  PutU32(out, kPixelsPerMetre);
  PutU32(out, 0);
  PutU32(out, 0);
  for (std::uint64_t row = h; row-- > 0;) {
    const TColor* src = bmp.Row(int(row));
    const std::size_t rowStart = out.size();
    for (std::uint64_t x = 0; x < w; ++x) {
      const TColor c = src[x];
      out.push_back(std::uint8_t(GetBValue(c)));
      out.push_back(std::uint8_t(GetGValue(c)));
      out.push_back(std::uint8_t(GetRValue(c)));
      if (bitsPerPixel == 32) out.push_back(0);
    }
    out.resize(rowStart + std::size_t(stride), 0);
  }
  return out;
}

void WriteBmpFile(const std::string& path, const Bitmap& bmp, int bitsPerPixel) {
  WriteWholeFile(path, WriteBmp(bmp, bitsPerPixel));
}

// PNG goes through libpng's simplified interface, which reports failures in the image's
// message instead of jumping out of our frames.
std::vector<std::uint8_t> WritePng(const Bitmap& bmp) {
  if (bmp.IsEmpty()) throw ImageFileError("an empty image cannot be written as PNG");
  const std::uint64_t w = std::uint64_t(bmp.Width()), h = std::uint64_t(bmp.Height());
  if (h * (3 * w) > 0x7FFF0000u) throw ImageFileError("image too large for a PNG file");
  std::vector<std::uint8_t> rgb(std::size_t(h * 3 * w));
  std::uint8_t* dst = rgb.data();
  for (std::uint64_t y = 0; y < h; ++y) {
    const TColor* src = bmp.Row(int(y));
    for (std::uint64_t x = 0; x < w; ++x) {
      *dst++ = std::uint8_t(GetRValue(src[x]));
      *dst++ = std::uint8_t(GetGValue(src[x]));
      *dst++ = std::uint8_t(GetBValue(src[x]));
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(w);
  image.height = png_uint_32(h);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  // The first call measures, the second writes.
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
    throw ImageFileError(std::string("PNG writing failed: ") + image.message);
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
    throw ImageFileError(std::string("PNG writing failed: ") + image.message);
  out.resize(size);
  return out;
}

void WritePngFile(const std::string& path, const Bitmap& bmp) { WriteWholeFile(path, WritePng(bmp)); }

Bitmap ReadPng(std::span<const std::uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw ImageFileError(std::string("not a readable PNG file: ") + image.message);
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      std::int64_t(image.width) * image.height * 4 > kMaxPixelBytes) {
    png_image_free(&image);
    throw ImageFileError("PNG size " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                         " is too large");
  }
  // Alpha is composed onto black: pictures we read are screen images without transparency.
  image.format = PNG_FORMAT_RGB;
  const png_color black{0, 0, 0};
  std::vector<std::uint8_t> rgb(std::size_t(image.width) * image.height * 3);
  if (!png_image_finish_read(&image, &black, rgb.data(), 0, nullptr))
    throw ImageFileError(std::string("damaged PNG data: ") + image.message);
  Bitmap b(int(image.width), int(image.height));
  const std::uint8_t* p = rgb.data();
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x, p += 3) b.At(x, y) = RGB(p[0], p[1], p[2]);
  return b;
}

Bitmap ReadPngFile(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  try {
    return ReadPng(bytes);
  } catch (const ImageFileError& e) {
    throw ImageFileError("\"" + path + "\": " + e.what());
  }
}

}  // namespace gfx
