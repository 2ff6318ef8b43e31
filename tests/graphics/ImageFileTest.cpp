#include "graphics/ImageFile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

using namespace gfx;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::uint32_t Get32BE(const Bytes& b, std::size_t at) {
  return (std::uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// A hand-made BMP, put together field by field so the reader is checked against the format
// rather than against our own writer.
struct BmpLayout {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint32_t bpp = 24;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB as stored in RGBQUAD order B, G, R, 0
  std::vector<std::uint32_t> masks;    // after a 40-byte header, or inside a larger one
  Bytes pixels;                        // rows in file order, already padded
};

Bytes MakeBmp(const BmpLayout& s) {
  Bytes info;
  if (s.headerSize == 12) {
    Put32(info, 12);
    Put16(info, std::uint32_t(s.width));
    Put16(info, std::uint32_t(s.height));
    Put16(info, 1);
    Put16(info, s.bpp);
  } else {
    Put32(info, s.headerSize);
    Put32(info, std::uint32_t(s.width));
    Put32(info, std::uint32_t(s.height));
    Put16(info, 1);
    Put16(info, s.bpp);
    Put32(info, s.compression);
    Put32(info, std::uint32_t(s.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, s.clrUsed);
    Put32(info, 0);
    if (s.headerSize > 40) {
      for (std::size_t i = 0; i < 4; ++i) Put32(info, i < s.masks.size() ? s.masks[i] : 0);
      info.resize(s.headerSize, 0);
    }
  }
  Bytes extra;
  if (s.headerSize == 40)
    for (std::uint32_t m : s.masks) Put32(extra, m);
  for (std::uint32_t c : s.palette) {
    extra.push_back(std::uint8_t(c));
    extra.push_back(std::uint8_t(c >> 8));
    extra.push_back(std::uint8_t(c >> 16));
    if (s.headerSize != 12) extra.push_back(0);
  }
  Bytes out = {'B', 'M'};
  const std::uint32_t off = 14 + std::uint32_t(info.size() + extra.size());
  Put32(out, off + std::uint32_t(s.pixels.size()));
  Put32(out, 0);
  Put32(out, off);
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), extra.begin(), extra.end());
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

Bitmap Pattern(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Set(x, y, RGB(x * 37 + y, y * 11 + 3, (x ^ y) * 5));
  return b;
}

std::uint32_t Crc(const std::uint8_t* p, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFF;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// A hand-made PNG of 8-bit RGB rows (filter byte first) in one stored deflate block, so the
// reader is checked against the format rather than against the writer.
Bytes MakePng(std::uint32_t w, std::uint32_t h, const Bytes& rows) {
  auto put32be = [](Bytes& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(std::uint8_t(v >> (8 * i)));
  };
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&](const char* type, const Bytes& data) {
    put32be(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32be(out, Crc(out.data() + start, out.size() - start));
  };
  Bytes ihdr;
  put32be(ihdr, w);
  put32be(ihdr, h);
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  chunk("IHDR", ihdr);
  // zlib: header 78 01, one final stored block (LEN, ~LEN little-endian), Adler-32 big-endian.
  Bytes z = {0x78, 0x01, 0x01, std::uint8_t(rows.size()), std::uint8_t(rows.size() >> 8),
             std::uint8_t(~rows.size()), std::uint8_t(~rows.size() >> 8)};
  z.insert(z.end(), rows.begin(), rows.end());
  std::uint32_t s1 = 1, s2 = 0;
  for (std::uint8_t v : rows) {
    s1 = (s1 + v) % 65521;
    s2 = (s2 + s1) % 65521;
  }
  put32be(z, (s2 << 16) | s1);
  chunk("IDAT", z);
  chunk("IEND", {});
  return out;
}

// A window-like picture: flat panels, a title bar gradient, text-like specks, a photo corner.
Bitmap UiLike(int w, int h) {
  Bitmap b(w, h, RGB(240, 240, 240));
  std::mt19937 rng(3);
  for (int y = 0; y < 24 && y < h; ++y)
    for (int x = 0; x < w; ++x) b.Set(x, y, RGB(30 + x * 100 / w, 60 + y, 160));
  for (int y = 40; y < h; y += 18)
    for (int x = 10; x < w / 2; ++x)
      if (rng() % 3 == 0) b.Set(x, y + int(rng() % 10), RGB(20, 20, 20));
  for (int y = h / 2; y < h; ++y)
    for (int x = w / 2; x < w; ++x) b.Set(x, y, RGB(x + int(rng() % 8), y / 2 + int(rng() % 8), (x ^ y) & 0xFF));
  return b;
}

}  // namespace

TEST(ImageFile, BmpRoundTripsIn24And32Bits) {
  for (const int bpp : {24, 32})
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{5, 7}, std::pair{64, 3}, std::pair{0, 0}}) {
      const Bitmap src = Pattern(w, h);
      const Bytes file = WriteBmp(src, bpp);
      const std::uint32_t stride = std::uint32_t((w * bpp + 31) / 32 * 4);
      ASSERT_EQ(file.size(), 54 + stride * std::uint32_t(h));
      EXPECT_EQ(file[0], 'B');
      EXPECT_EQ(file[1], 'M');
      EXPECT_EQ(Get32(file, 2), file.size());  // bfSize
      EXPECT_EQ(Get32(file, 10), 54u);         // pixels right after the headers
      EXPECT_EQ(Get32(file, 14), 40u);
      EXPECT_EQ(std::int32_t(Get32(file, 22)), h);  // positive height: bottom-up
      EXPECT_EQ(file[28], bpp);
      EXPECT_EQ(Get32(file, 30), 0u);  // BI_RGB
      if (w > 0 && h > 0) {
        // The first stored row is the bottom one, blue first.
        const TColor bottomLeft = src.Get(0, h - 1);
        EXPECT_EQ(file[54], GetBValue(bottomLeft));
        EXPECT_EQ(file[55], GetGValue(bottomLeft));
        EXPECT_EQ(file[56], GetRValue(bottomLeft));
        // Row padding is zero.
        for (std::uint32_t i = std::uint32_t(w) * std::uint32_t(bpp / 8); i < stride; ++i) EXPECT_EQ(file[54 + i], 0);
      }
      EXPECT_EQ(ReadBmp(file), src) << bpp << " bits, " << w << "x" << h;
    }
  EXPECT_THROW(WriteBmp(Pattern(2, 2), 8), ImageFileError);
  EXPECT_THROW(WriteBmp(Pattern(2, 2), 16), ImageFileError);
}

TEST(ImageFile, ReadsPalettedBmps) {
  // 1 bit, 10 x 2, bottom-up: each row is 2 bytes of bits padded to 4.
  BmpLayout one;
  one.bpp = 1;
  one.width = 10;
  one.height = 2;
  one.palette = {0x000000FF, 0x0000FF00};  // index 0 blue, index 1 green
  one.pixels = {0b10000000, 0b01000000, 0, 0,    // bottom row: x = 0 and x = 9 set
                0b01010101, 0b11000000, 0, 0};  // top row
  const Bitmap b1 = ReadBmp(MakeBmp(one));
  ASSERT_EQ(b1.Width(), 10);
  ASSERT_EQ(b1.Height(), 2);
  const TColor blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
  EXPECT_EQ(b1.Get(0, 1), green);
  EXPECT_EQ(b1.Get(1, 1), blue);
  EXPECT_EQ(b1.Get(9, 1), green);
  EXPECT_EQ(b1.Get(8, 1), blue);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(b1.Get(x, 0), x % 2 ? green : blue) << x;
  EXPECT_EQ(b1.Get(8, 0), green);
  EXPECT_EQ(b1.Get(9, 0), green);

  // 4 bits, 3 x 2, top-down, a short palette of 3 (clrUsed); index 7 is past it and reads black.
  BmpLayout four;
  four.bpp = 4;
  four.width = 3;
  four.height = -2;
  four.clrUsed = 3;
  four.palette = {0x00112233, 0x00445566, 0x00778899};
  four.pixels = {0x01, 0x20, 0, 0,  //
                 0x27, 0x10, 0, 0};
  const Bitmap b4 = ReadBmp(MakeBmp(four));
  ASSERT_EQ(b4.Height(), 2);
  EXPECT_EQ(b4.Get(0, 0), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(b4.Get(1, 0), RGB(0x44, 0x55, 0x66));
  EXPECT_EQ(b4.Get(2, 0), RGB(0x77, 0x88, 0x99));
  EXPECT_EQ(b4.Get(0, 1), RGB(0x77, 0x88, 0x99));
  EXPECT_EQ(b4.Get(1, 1), clBlack);
  EXPECT_EQ(b4.Get(2, 1), RGB(0x44, 0x55, 0x66));

  // 8 bits, 5 x 1, full 256-entry palette.
  BmpLayout eight;
  eight.bpp = 8;
  eight.width = 5;
  eight.height = 1;
  for (std::uint32_t i = 0; i < 256; ++i) eight.palette.push_back((i << 16) | ((255 - i) << 8) | (i / 2));
  eight.pixels = {0, 1, 128, 255, 17, 0, 0, 0};
  const Bitmap b8 = ReadBmp(MakeBmp(eight));
  for (const auto& [x, i] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 128}, std::pair{3, 255}, std::pair{4, 17}})
    EXPECT_EQ(b8.Get(x, 0), RGB(i, 255 - i, i / 2)) << x;

  // The old core header: 16-bit sizes and three-byte palette entries.
  BmpLayout core;
  core.headerSize = 12;
  core.bpp = 8;
  core.width = 2;
  core.height = 2;
  for (std::uint32_t i = 0; i < 256; ++i) core.palette.push_back(i * 0x010101u);
  core.palette[5] = 0x00FF8000;
  core.pixels = {5, 9, 0, 0, 200, 5, 0, 0};
  const Bitmap bc = ReadBmp(MakeBmp(core));
  EXPECT_EQ(bc.Get(0, 1), RGB(0xFF, 0x80, 0x00));
  EXPECT_EQ(bc.Get(1, 1), RGB(9, 9, 9));
  EXPECT_EQ(bc.Get(0, 0), RGB(200, 200, 200));
  EXPECT_EQ(bc.Get(1, 0), RGB(0xFF, 0x80, 0x00));
}

TEST(ImageFile, ReadsDirectColourVariants) {
  // 32-bit bit fields in an unusual order (red in the low byte), 40-byte header with masks after it.
  BmpLayout bf;
  bf.bpp = 32;
  bf.width = 2;
  bf.height = 1;
  bf.compression = 3;
  bf.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  bf.pixels = {0x10, 0x20, 0x30, 0xFF, 0xAA, 0xBB, 0xCC, 0x00};
  const Bitmap b = ReadBmp(MakeBmp(bf));
  EXPECT_EQ(b.Get(0, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(b.Get(1, 0), RGB(0xAA, 0xBB, 0xCC));

  // The same with a V5 header carrying the masks, top-down.
  BmpLayout v5 = bf;
  v5.headerSize = 124;
  v5.height = -1;
  EXPECT_EQ(ReadBmp(MakeBmp(v5)), b);

  // 16-bit 5-6-5 bit fields: full-scale channels widen to 255.
  BmpLayout s565;
  s565.bpp = 16;
  s565.width = 3;
  s565.height = 1;
  s565.compression = 3;
  s565.masks = {0xF800, 0x07E0, 0x001F};
  s565.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};
  const Bitmap b565 = ReadBmp(MakeBmp(s565));
  EXPECT_EQ(b565.Get(0, 0), clRed);
  EXPECT_EQ(b565.Get(1, 0), clLime);
  EXPECT_EQ(b565.Get(2, 0), clBlue);

  // 32-bit plain BGRX from a V4 header: the fourth byte is ignored.
  BmpLayout v4;
  v4.headerSize = 108;
  v4.bpp = 32;
  v4.width = 1;
  v4.height = 1;
  v4.pixels = {0x01, 0x02, 0x03, 0x7F};
  EXPECT_EQ(ReadBmp(MakeBmp(v4)).Get(0, 0), RGB(3, 2, 1));
}

TEST(ImageFile, DamagedBmpsAreRejected) {
  const Bytes good = WriteBmp(Pattern(7, 5), 24);
  // Every truncation is an error, never an over-read.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_THROW(ReadBmp(Bytes(good.begin(), good.begin() + std::ptrdiff_t(n))), ImageFileError) << n;

  auto expectError = [](const Bytes& bytes, const std::string& word) {
    try {
      ReadBmp(bytes);
      ADD_FAILURE() << "accepted; expected an error about " << word;
    } catch (const ImageFileError& e) {
      EXPECT_NE(std::string(e.what()).find(word), std::string::npos) << e.what();
    }
  };
  Bytes bad = good;
  bad[0] = 'P';
  expectError(bad, "BM");

  BmpLayout rle;
  rle.bpp = 8;
  rle.compression = 1;
  rle.palette = {0, 0xFFFFFF};
  rle.pixels = {0, 0, 0, 1};
  expectError(MakeBmp(rle), "run-length");
  rle.compression = 2;
  rle.bpp = 4;
  expectError(MakeBmp(rle), "run-length");

  BmpLayout bmpLayout;
  bmpLayout.pixels = {0, 0, 0, 0};
  bmpLayout.width = -1;
  expectError(MakeBmp(bmpLayout), "negative");
  bmpLayout.width = 40000;
  expectError(MakeBmp(bmpLayout), "larger");
  bmpLayout.width = 1;
  bmpLayout.height = INT32_MIN;  // cannot even be negated in 32 bits
  expectError(MakeBmp(bmpLayout), "larger");
  bmpLayout.width = 30000;
  bmpLayout.height = 30000;  // each side allowed, the total is not
  expectError(MakeBmp(bmpLayout), "too large");
  bmpLayout.width = 1;
  bmpLayout.height = 1;
  bmpLayout.bpp = 7;
  expectError(MakeBmp(bmpLayout), "7 bits");
  bmpLayout.bpp = 24;
  bmpLayout.headerSize = 20;
  expectError(MakeBmp(bmpLayout), "header size");
  bmpLayout.headerSize = 40;
  bmpLayout.compression = 3;
  expectError(MakeBmp(bmpLayout), "bit-field");
  bmpLayout.compression = 9;
  expectError(MakeBmp(bmpLayout), "compression");

  // A pixel offset pointing into the header, and one pointing past the end.
  bad = good;
  bad[10] = 20;
  expectError(bad, "header");
  bad = good;
  bad[10] = 0xF0;
  bad[11] = 0xFF;
  expectError(bad, "truncated");
  // The height grows but the data does not.
  bad = good;
  bad[22] = 6;
  expectError(bad, "truncated");
  // A huge palette count is capped to what the depth can index and what the file holds.
  BmpLayout pal;
  pal.bpp = 1;
  pal.clrUsed = 0xFFFFFFFF;
  pal.palette = {0, 0xFFFFFF};
  pal.pixels = {0x80, 0, 0, 0};
  EXPECT_EQ(ReadBmp(MakeBmp(pal)).Get(0, 0), clWhite);

  EXPECT_THROW(ReadBmpFile("/nonexistent/folder/picture.bmp"), ImageFileError);
}

TEST(ImageFile, MutatedBmpsNeverCrash) {
  std::mt19937 rng(424242);
  BmpLayout pal;
  pal.bpp = 4;
  pal.width = 5;
  pal.height = 3;
  pal.palette = {0x112233, 0x445566, 0x778899, 0xAABBCC};
  pal.pixels.assign(12, 0x13);
  BmpLayout bf;
  bf.bpp = 32;
  bf.width = 2;
  bf.height = 2;
  bf.compression = 3;
  bf.headerSize = 56;
  bf.masks = {0xFF0000, 0xFF00, 0xFF, 0};
  bf.pixels.assign(16, 0x5A);
  const std::vector<Bytes> seeds = {WriteBmp(Pattern(6, 4), 24), WriteBmp(Pattern(3, 3), 32), MakeBmp(pal),
                                    MakeBmp(bf)};
  int accepted = 0;
  for (int round = 0; round < 6000; ++round) {
    Bytes bytes = seeds[std::size_t(round) % seeds.size()];
    const int edits = std::uniform_int_distribution<int>(1, 4)(rng);
    for (int e = 0; e < edits; ++e) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      if (kind == 0) {
        bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(rng));
      } else if (!bytes.empty()) {
        // Mostly the headers, where a bad value can mislead the reader.
        const std::size_t limit = kind < 7 ? std::min<std::size_t>(bytes.size(), 70) : bytes.size();
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, limit - 1)(rng);
        bytes[at] = kind % 2 ? std::uint8_t(rng()) : std::uint8_t(bytes[at] ^ (1u << (rng() % 8)));
      }
    }
    try {
      const Bitmap b = ReadBmp(bytes);
      ASSERT_LE(std::size_t(b.Width()) * std::size_t(b.Height()), bytes.size() * 8);
      ++accepted;
    } catch (const ImageFileError&) {
    }
  }
  EXPECT_GT(accepted, 0);
}

TEST(ImageFile, PngHoldsThePixels) {
  // Reading a hand-made file: row 0 unfiltered, row 1 with the Sub filter (each byte adds the
  // byte three to its left), so (0,1) = (10,20,30) and (1,1) = (10+5, 20+6, 30+7).
  const Bytes rows = {0, 255, 0, 0, 0, 0, 255,  1, 10, 20, 30, 5, 6, 7};
  const Bitmap two = ReadPng(MakePng(2, 2, rows));
  ASSERT_EQ(two.Width(), 2);
  ASSERT_EQ(two.Height(), 2);
  EXPECT_EQ(two.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(two.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(two.At(0, 1), RGB(10, 20, 30));
  EXPECT_EQ(two.At(1, 1), RGB(15, 26, 37));
  // Written files are 8-bit RGB of the picture's size and read back exactly.
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{17, 5}, std::pair{300, 1}}) {
    const Bytes png = WritePng(Pattern(w, h));
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(Get32BE(png, 16), std::uint32_t(w));
    EXPECT_EQ(Get32BE(png, 20), std::uint32_t(h));
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 2);
    EXPECT_EQ(ReadPng(png), Pattern(w, h)) << w << "x" << h;
  }
  Bitmap noise(300, 200);
  std::mt19937 rng(8);
  for (int y = 0; y < noise.Height(); ++y)
    for (int x = 0; x < noise.Width(); ++x) noise.Set(x, y, rng() & 0xFFFFFF);
  EXPECT_EQ(ReadPng(WritePng(noise)), noise);
  const Bitmap ui = UiLike(1024, 768);
  const Bytes uiPng = WritePng(ui);
  EXPECT_LT(uiPng.size(), 768 * 1024 * 3 / 3);
  EXPECT_EQ(ReadPng(uiPng), ui);
  EXPECT_THROW(WritePng(Bitmap()), ImageFileError);
  EXPECT_THROW(WritePng(Bitmap(0, 5)), ImageFileError);
}

TEST(ImageFile, DamagedPngsAreRejected) {
  const Bytes good = MakePng(2, 2, {0, 255, 0, 0, 0, 0, 255, 1, 10, 20, 30, 5, 6, 7});
  ASSERT_NO_THROW(ReadPng(good));
  Bytes badCrc = good;
  badCrc[29] ^= 1;  // IHDR's CRC
  Bytes badFilter = MakePng(2, 2, {9, 255, 0, 0, 0, 0, 255, 1, 10, 20, 30, 5, 6, 7});
  Bytes huge = MakePng(100000, 1, {0, 1, 2, 3});
  for (const Bytes& bad : {badCrc, badFilter, huge, Bytes(good.begin(), good.begin() + 40), Bytes{}, WriteBmp(Pattern(2, 2))})
    EXPECT_THROW(ReadPng(bad), ImageFileError) << bad.size();
}

TEST(ImageFile, FilesOnDisk) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("vantrel-imagefile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                     "-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(dir);
  const Bitmap src = Pattern(9, 4);
  WriteBmpFile((dir / "a.bmp").string(), src, 32);
  EXPECT_EQ(ReadBmpFile((dir / "a.bmp").string()), src);
  WritePngFile((dir / "a.png").string(), src);
  EXPECT_EQ(ReadPngFile((dir / "a.png").string()), src);
  // A PNG is not a BMP, and the error names the file.
  try {
    ReadBmpFile((dir / "a.png").string());
    ADD_FAILURE() << "a PNG was read as BMP";
  } catch (const ImageFileError& e) {
    EXPECT_NE(std::string(e.what()).find("a.png"), std::string::npos) << e.what();
  }
  EXPECT_THROW(WriteBmpFile((dir / "missing" / "b.bmp").string(), src), ImageFileError);
  std::filesystem::remove_all(dir);
}
