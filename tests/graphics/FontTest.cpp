// Font descriptions and text with the installed font files (fontconfig + FreeType).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>

#include "graphics/Canvas.h"
#include "graphics/FontEngine.h"

using namespace gfx;

namespace {

Font MakeFont(const std::string& name, int height, FontStyles style = 0, int escapement = 0) {
  Font f;
  f.Name = name;
  f.Height = height;
  f.Style = style;
  f.Color = clBlack;
  f.Escapement = escapement;
  return f;
}

struct InkStats {
  Rect Bounds;
  int Count = 0;
  double Cx = 0, Cy = 0;
  int Grey = 0;  // pixels neither paper nor ink
};

InkStats Ink(const Bitmap& b, TColor paper, TColor ink) {
  InkStats s;
  Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const TColor p = b.At(x, y);
      if (p == paper) continue;
      if (p != ink) ++s.Grey;
      ++s.Count;
      s.Cx += x;
      s.Cy += y;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
  if (s.Count) {
    s.Bounds = r;
    s.Cx /= s.Count;
    s.Cy /= s.Count;
  }
  return s;
}

}  // namespace

TEST(FontDescription, PointsAndPixels) {
  Font f;
  for (auto [points, height] : {std::pair{8, -11}, {7, -9}, {9, -12}, {10, -13}, {12, -16}, {20, -27}}) {
    f.SetSize(points);
    EXPECT_EQ(f.Height, height) << points;
    EXPECT_EQ(f.Size(), points) << points;
  }
  f.Height = 13;  // a cell height reads as a negative size
  EXPECT_EQ(f.Size(), -10);
}

TEST(FontDescription, LogFontBytes) {
  Font f = MakeFont("Arial", -9, fsBold | fsUnderline, 900);
  f.Orientation = 0;
  const LogFont lf = LogFont::FromFont(f);
  EXPECT_EQ(lf.lfWeight, 700);
  const auto bytes = lf.ToBytes();
  const std::uint8_t head[] = {0xF7, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x84, 0x03, 0, 0, 0, 0, 0, 0,
                               0xBC, 0x02, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 'A', 'r', 'i', 'a', 'l', 0};
  for (std::size_t i = 0; i < sizeof head; ++i) EXPECT_EQ(bytes[i], head[i]) << i;
  EXPECT_EQ(LogFont::FromBytes(bytes).ToBytes(), bytes);

  Font back = LogFont::FromBytes(bytes).ToFont(clRed);
  Font expect = f;
  expect.Color = clRed;
  EXPECT_EQ(back, expect);

  // Every style bit survives; an escapement change is all a rotated copy needs.
  LogFont rotated = LogFont::FromFont(MakeFont("Tahoma", -9, fsItalic | fsStrikeOut));
  rotated.lfEscapement = 2700;
  const Font r = LogFont::FromBytes(rotated.ToBytes()).ToFont(clBlack);
  EXPECT_EQ(r.Style, fsItalic | fsStrikeOut);
  EXPECT_EQ(r.Escapement, 2700);
  EXPECT_EQ(r.Name, "Tahoma");

  // Names longer than 31 characters are cut; a record without a terminating zero still reads.
  const LogFont longName = LogFont::FromFont(MakeFont(std::string(40, 'x'), -9));
  EXPECT_EQ(longName.lfFaceName[31], '\0');
  EXPECT_EQ(longName.ToFont(0).Name, std::string(31, 'x'));
  std::array<std::uint8_t, 60> raw{};
  raw.fill('y');
  raw[16] = 0x90;  // weight 400 + 0x79797900: heavy, so bold
  const Font fromRaw = LogFont::FromBytes(raw).ToFont(0);
  EXPECT_EQ(fromRaw.Name, std::string(32, 'y'));
  EXPECT_NE(fromRaw.Style & fsBold, 0);
}

TEST(RealFonts, ClassicNamesResolveToInstalledFiles) {
  SetBuiltinFontOnly(false);
  FontEngine& engine = FontEngine::Instance();
  for (const char* name : {"Arial", "Tahoma", "MS Sans Serif", "Times New Roman", "Small Fonts", "Courier New"}) {
    const std::string file = engine.MatchFile(name);
    ASSERT_FALSE(file.empty()) << name << ": no font file found; install fonts-liberation";
    EXPECT_TRUE(std::filesystem::exists(file)) << name << " -> " << file;
    EXPECT_EQ(engine.Realize(MakeFont(name, -11)).File(), file) << name;
  }
  // Metric-compatible families, not just any fallback.
  EXPECT_NE(engine.MatchFile("Arial").find("LiberationSans"), std::string::npos);
  EXPECT_NE(engine.MatchFile("Times New Roman").find("LiberationSerif"), std::string::npos);
  EXPECT_NE(engine.MatchFile("Courier New").find("LiberationMono"), std::string::npos);
  // Bold asks for the bold file.
  EXPECT_NE(engine.MatchFile("Arial", true), engine.MatchFile("Arial"));
  // The switch for tests leaves only the built-in face.
  SetBuiltinFontOnly(true);
  EXPECT_TRUE(engine.Realize(MakeFont("Arial", -11)).File().empty());
  SetBuiltinFontOnly(false);
}

TEST(RealFonts, RulerFontMetrics) {
  SetBuiltinFontOnly(false);
  Bitmap bmp(60, 20, clWhite);
  Canvas c(bmp);
  c.SelectFont(MakeFont("Arial", -9));
  const TextMetrics m = c.GetTextMetrics();
  EXPECT_EQ(m.Height, 11);
  EXPECT_EQ(m.InternalLeading, 2);
  EXPECT_EQ(m.Ascent + m.Descent, m.Height);
  EXPECT_EQ(c.TextHeight("0"), 11);
  EXPECT_EQ(c.TextWidth("100"), 15);
  EXPECT_EQ(c.TextWidth("0123456789"), 50);

  c.SelectFont(MakeFont("MS Sans Serif", -11));
  EXPECT_EQ(c.GetTextMetrics().Height, 13);
  c.SelectFont(MakeFont("Small Fonts", 9));  // a positive height is the cell height
  EXPECT_EQ(c.GetTextMetrics().Height, 9);
  c.SelectFont(MakeFont("Arial", -11, fsBold));
  const int bold = c.TextWidth("Mouse at pixel:");
  c.SelectFont(MakeFont("Arial", -11));
  const int regular = c.TextWidth("Mouse at pixel:");
  EXPECT_GT(bold, regular);
  EXPECT_NEAR(regular, 72, 6);  // the caption label is 72 pixels wide

  // Ruler numbers are crisp: black and white only at 9 pixels, smoothed at larger sizes.
  c.SelectFont(MakeFont("Arial", -9));
  c.BkMode = BkMode::Transparent;
  c.TextOut(1, 1, "100");
  InkStats s = Ink(bmp, clWhite, clBlack);
  EXPECT_EQ(s.Grey, 0);
  EXPECT_GT(s.Count, 15);
  // The digits fill the cell from the ascent down to the base line.
  EXPECT_GE(s.Bounds.top, 1 + m.InternalLeading - 1);
  EXPECT_EQ(s.Bounds.bottom, 1 + m.Ascent);
  EXPECT_LE(s.Bounds.right, 1 + 15);
  bmp.Fill(clWhite);
  c.SelectFont(MakeFont("Arial", -16));
  c.TextOut(1, 1, "100");
  EXPECT_GT(Ink(bmp, clWhite, clBlack).Grey, 0);
}

TEST(RealFonts, QuarterTurnsArePixelExact) {
  SetBuiltinFontOnly(false);
  for (int height : {-9, -20}) {
    Bitmap flat(120, 120, clWhite);
    Canvas fc(flat);
    fc.SelectFont(MakeFont("Arial", height, fsUnderline));
    fc.BkColor = clYellow;
    fc.TextOut(60, 60, "Wg1");
    const Size ext = fc.TextExtent("Wg1");
    for (int esc : {900, 1800, 2700}) {
      SCOPED_TRACE(esc);
      Bitmap turned(120, 120, clWhite);
      Canvas tc(turned);
      tc.SelectFont(MakeFont("Arial", height, fsUnderline, esc));
      tc.BkColor = clYellow;
      tc.TextOut(60, 60, "Wg1");
      for (int j = 0; j < ext.cy; ++j)
        for (int i = 0; i < ext.cx; ++i) {
          const int x = esc == 900 ? 60 + j : esc == 1800 ? 60 - i : 60 - j;
          const int y = esc == 900 ? 60 - i : esc == 1800 ? 60 - j : 60 + i;
          ASSERT_EQ(turned.At(x, y), flat.At(60 + i, 60 + j)) << i << "," << j;
        }
    }
  }
}

TEST(RealFonts, AnyAngleLandsAlongItsBaseLine) {
  SetBuiltinFontOnly(false);
  Bitmap bmp(200, 200, clWhite);
  Canvas c(bmp);
  c.SelectFont(MakeFont("Arial", -16, 0, 300));
  c.BkMode = BkMode::Transparent;
  const Size ext = c.TextExtent("HHHHHHHH");
  c.TextOut(40, 120, "HHHHHHHH");
  const InkStats s = Ink(bmp, clWhite, clBlack);
  ASSERT_GT(s.Count, 50);
  // The centre of the cell, (w/2, h/2) along and across the base line, turned by 30 degrees.
  const double a = 30 * 3.14159265358979 / 180;
  const double ex = 40 + ext.cx / 2.0 * std::cos(a) + ext.cy / 2.0 * std::sin(a);
  const double ey = 120 - ext.cx / 2.0 * std::sin(a) + ext.cy / 2.0 * std::cos(a);
  EXPECT_NEAR(s.Cx, ex, 4);
  EXPECT_NEAR(s.Cy, ey, 4);
  // The ink rises to the right: its box is about w cos a + h sin a wide.
  EXPECT_NEAR(s.Bounds.Width(), ext.cx * std::cos(a) + ext.cy * std::sin(a), 8);
  EXPECT_GT(s.Grey, 0);  // smooth edges

  // The opaque cell is the turned rectangle: its area matches w * h.
  bmp.Fill(clWhite);
  c.BkMode = BkMode::Opaque;
  c.BkColor = clBlue;
  c.TextOut(40, 120, "HHHHHHHH");
  const InkStats all = Ink(bmp, clWhite, clBlack);
  EXPECT_NEAR(all.Count, ext.cx * ext.cy, ext.cx + ext.cy);
}

TEST(RealFonts, ArbitraryInputNeverCrashes) {
  SetBuiltinFontOnly(false);
  Bitmap bmp(80, 40, clWhite);
  Canvas c(bmp);
  const std::string samples[] = {
      "", "\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\xAF", std::string("a\0b", 3),
      "\xE2\x84\xA2 \xE4\xB8\xAD \xF0\x9F\x98\x80 \xD7\xA9", std::string(20000, '8'),
  };
  for (int height : {-9, 9, 0, -1, 1, INT_MIN, INT_MAX})
    for (FontStyles style : {FontStyles(0), FontStyles(fsBold | fsItalic | fsUnderline | fsStrikeOut)})
      for (const std::string& name : {std::string("Arial"), std::string("No Such Face \xFF"), std::string()}) {
        c.SelectFont(MakeFont(name, height, style, height == -9 ? 450 : 0));
        for (const std::string& s : samples) {
          c.TextOut(2, 2, s);
          (void)c.TextExtent(s);
          Rect r{0, 0, 80, 40};
          c.DrawText(s, r, DT_WORDBREAK | DT_END_ELLIPSIS);
        }
      }
  // An unknown face still finds a real file.
  EXPECT_FALSE(FontEngine::Instance().Realize(MakeFont("No Such Face", -11)).File().empty());
}
