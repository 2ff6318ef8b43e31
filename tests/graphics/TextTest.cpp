// Text output with the built-in face, whose metrics are fixed: cell 10 high (ascent 8), every
// character 6 wide, glyphs 5x7 with capitals on cell rows 1..7.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "graphics/Canvas.h"

using namespace gfx;

namespace {

constexpr TColor kPaper = RGB(0x20, 0x40, 0x60);
constexpr TColor kInk = RGB(0xF0, 0x10, 0x10);
constexpr TColor kBack = RGB(0x00, 0xC0, 0x00);

class BuiltinText : public ::testing::Test {
 protected:
  void SetUp() override { SetBuiltinFontOnly(true); }
  void TearDown() override { SetBuiltinFontOnly(false); }

  static Font TestFont(int escapement = 0, FontStyles style = 0) {
    Font f;
    f.Name = "Arial";
    f.Height = -8;
    f.Color = kInk;
    f.Escapement = escapement;
    f.Style = style;
    return f;
  }
};

// Bounding box of the pixels that differ from COLOR.
Rect BoundsNot(const Bitmap& b, TColor color) {
  Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.At(x, y) != color) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
  return r.left == INT_MAX ? Rect{} : r;
}

Rect BoundsOf(const Bitmap& b, TColor color) {
  Rect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.At(x, y) == color) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
  return r.left == INT_MAX ? Rect{} : r;
}

int Count(const Bitmap& b, TColor color) {
  int n = 0;
  for (TColor p : b.Pixels()) n += p == color;
  return n;
}

}  // namespace

TEST_F(BuiltinText, MetricsAndExtents) {
  Bitmap bmp(10, 10);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  EXPECT_EQ(c.TextColor, kInk);
  const TextMetrics m = c.GetTextMetrics();
  EXPECT_EQ(m.Height, 10);
  EXPECT_EQ(m.Ascent, 8);
  EXPECT_EQ(m.Descent, 2);
  EXPECT_EQ(m.InternalLeading, 2);
  EXPECT_EQ(m.AveCharWidth, 6);
  EXPECT_EQ(c.TextExtent("0"), (Size{6, 10}));
  EXPECT_EQ(c.TextExtent("100"), (Size{18, 10}));
  EXPECT_EQ(c.TextExtent(""), (Size{0, 10}));
  EXPECT_EQ(c.TextWidth("Mouse at pixel:"), 90);
  EXPECT_EQ(c.TextWidth("\xC3\xA9t\xC3\xA9"), 18);      // UTF-8 "été": three characters
  EXPECT_EQ(c.TextWidth("a\xFF\xFE" "b"), 24);         // each bad byte stands for one character
  EXPECT_EQ(c.TextWidth("\xE2\x82"), 12);              // truncated sequence
  EXPECT_EQ(c.TextWidth("\xF0\x9F\x98\x80"), 6);       // a code point beyond the BMP
  EXPECT_EQ(c.TextWidth("a\tb\r\n"), 12);              // control characters take no room

  Font bold = TestFont(0, fsBold);
  c.SelectFont(bold);
  EXPECT_EQ(c.TextWidth("ab"), 14);

  // The face scales by whole factors: character height 16 doubles everything.
  Font big = TestFont();
  big.Height = -16;
  c.SelectFont(big);
  EXPECT_EQ(c.TextExtent("ab"), (Size{24, 20}));
  EXPECT_EQ(c.GetTextMetrics().Ascent, 16);
  big.Height = 30;  // a cell height of 30 means a character height of 24: factor 3
  c.SelectFont(big);
  EXPECT_EQ(c.TextExtent("a"), (Size{18, 30}));
  big.Height = INT_MIN;
  c.SelectFont(big);
  EXPECT_EQ(c.GetTextMetrics().Height, 160);  // the factor stops at 16
}

TEST_F(BuiltinText, GlyphShapesAndPlacement) {
  Bitmap bmp(40, 20, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkMode = BkMode::Transparent;
  c.TextOut(3, 4, "0");
  // "0": 5 columns on cell rows 1..7, so the ink starts one row below the reference point.
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect::FromXYWH(3, 5, 5, 7));
  EXPECT_EQ(bmp.At(4, 5), kInk);   // top bar
  EXPECT_EQ(bmp.At(3, 5), kPaper);  // rounded corner
  EXPECT_EQ(bmp.At(3, 6), kInk);
  EXPECT_EQ(bmp.At(7, 6), kInk);
  // The built-in face is black and white: no blended pixels.
  EXPECT_EQ(Count(bmp, kInk) + Count(bmp, kPaper), 40 * 20);

  // Descenders reach the last cell row; the origin shifts everything.
  bmp.Fill(kPaper);
  c.Origin = {10, -2};
  c.TextOut(0, 4, "g");
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect::FromXYWH(10, 5, 5, 7));
}

TEST_F(BuiltinText, ReferencePointAtRightAngles) {
  // Where the ink of "0" and the opaque cell land for each quarter turn about (20, 20).
  struct Case {
    int escapement;
    Rect ink;
    Rect cell;
  };
  const Case cases[] = {
      {0, {20, 21, 25, 28}, {20, 20, 26, 30}},
      {900, {21, 16, 28, 21}, {20, 15, 30, 21}},     // runs upward, the cell extends right
      {1800, {16, 13, 21, 20}, {15, 11, 21, 21}},    // x in (x - w, x], y in (y - h, y]
      {2700, {13, 20, 20, 25}, {11, 20, 21, 26}},    // runs downward, the cell extends left
      {-900, {13, 20, 20, 25}, {11, 20, 21, 26}},    // same as 2700
      {3600 + 900, {21, 16, 28, 21}, {20, 15, 30, 21}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.escapement);
    Bitmap bmp(40, 40, kPaper);
    Canvas c(bmp);
    c.SelectFont(TestFont(k.escapement));
    c.BkMode = BkMode::Transparent;
    c.TextOut(20, 20, "0");
    EXPECT_EQ(BoundsNot(bmp, kPaper), k.ink);
    bmp.Fill(kPaper);
    c.BkMode = BkMode::Opaque;
    c.BkColor = kBack;
    c.TextOut(20, 20, "0");
    EXPECT_EQ(BoundsNot(bmp, kPaper), k.cell);
    EXPECT_EQ(Count(bmp, kBack) + Count(bmp, kInk), 60);
  }
}

TEST_F(BuiltinText, QuarterTurnsArePixelExactRotations) {
  const std::string text = "Ag,|j&Q";
  Bitmap flat(100, 100, kPaper);
  Canvas fc(flat);
  fc.SelectFont(TestFont(0, fsUnderline));
  fc.BkColor = kBack;
  fc.TextOut(50, 50, text);
  const Size ext = fc.TextExtent(text);
  for (int esc : {900, 1800, 2700}) {
    SCOPED_TRACE(esc);
    Bitmap turned(100, 100, kPaper);
    Canvas tc(turned);
    tc.SelectFont(TestFont(esc, fsUnderline));
    tc.BkColor = kBack;
    tc.TextOut(50, 50, text);
    for (int j = 0; j < ext.cy; ++j)
      for (int i = 0; i < ext.cx; ++i) {
        const int x = esc == 900 ? 50 + j : esc == 1800 ? 50 - i : 50 - j;
        const int y = esc == 900 ? 50 - i : esc == 1800 ? 50 - j : 50 + i;
        ASSERT_EQ(turned.At(x, y), flat.At(50 + i, 50 + j)) << i << "," << j;
      }
    EXPECT_EQ(Count(turned, kPaper), Count(flat, kPaper));
  }
}

TEST_F(BuiltinText, OpaqueAndTransparentBackground) {
  Bitmap bmp(30, 14, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkColor = SysColor(COLOR_BTNFACE);  // system colours resolve when drawing
  c.BkMode = BkMode::Opaque;
  c.TextOut(2, 2, "ab");
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect::FromXYWH(2, 2, 12, 10));
  EXPECT_EQ(bmp.At(2, 2), 0xC0C0C0u);   // leading row of the cell
  EXPECT_EQ(bmp.At(13, 11), 0xC0C0C0u);  // last pixel of the cell
  EXPECT_EQ(bmp.At(14, 11), kPaper);

  bmp.Fill(kPaper);
  c.BkMode = BkMode::Transparent;
  c.TextOut(2, 2, "ab");
  EXPECT_EQ(Count(bmp, 0xC0C0C0u), 0);
  EXPECT_GT(Count(bmp, kInk), 10);
  EXPECT_EQ(Count(bmp, kInk) + Count(bmp, kPaper), 30 * 14);

  // Underline on cell row 9 and strike-out on row 5, the whole width of the text.
  bmp.Fill(kPaper);
  c.SelectFont(TestFont(0, fsUnderline | fsStrikeOut));
  c.TextOut(2, 2, "  ");
  EXPECT_EQ(BoundsOf(bmp, kInk), Rect::FromXYWH(2, 7, 12, 5));
  EXPECT_EQ(Count(bmp, kInk), 24);
  EXPECT_EQ(bmp.At(5, 11), kInk);
  EXPECT_EQ(bmp.At(5, 7), kInk);
}

TEST_F(BuiltinText, Clipping) {
  Bitmap bmp(40, 20, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkColor = kBack;
  c.SetClipRegion(Region(Rect{0, 0, 10, 20}));
  c.TextOut(0, 0, "abcdef");
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect::FromXYWH(0, 0, 10, 10));
  // Text partly off the bitmap draws what lies inside.
  c.SetClipRegion(std::nullopt);
  bmp.Fill(kPaper);
  c.TextOut(-3, 15, "abc");
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect(0, 15, 15, 20));
  bmp.Fill(kPaper);
  c.TextOut(-100, -100, "abc");
  c.TextOut(INT_MAX, INT_MIN, "abc");
  c.Origin = {INT_MAX, INT_MAX};
  c.TextOut(INT_MAX, 5, "abc");
  EXPECT_EQ(Count(bmp, kPaper), 40 * 20);
}

TEST_F(BuiltinText, DrawTextAlignment) {
  Bitmap bmp(100, 60, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkMode = BkMode::Opaque;
  c.BkColor = kBack;
  auto cellOf = [&](std::string_view text, Rect r, unsigned format) {
    bmp.Fill(kPaper);
    const int h = c.DrawText(text, r, format);
    return std::make_pair(BoundsNot(bmp, kPaper), h);
  };
  // "ab" is 12 x 10.
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_LEFT), std::make_pair(Rect{10, 10, 22, 20}, 10));
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_CENTER), std::make_pair(Rect{34, 10, 46, 20}, 10));
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_RIGHT), std::make_pair(Rect{58, 10, 70, 20}, 10));
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_CENTER | DT_VCENTER | DT_SINGLELINE),
            std::make_pair(Rect{34, 20, 46, 30}, 20));
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE),
            std::make_pair(Rect{58, 30, 70, 40}, 30));
  // Vertical placement needs DT_SINGLELINE.
  EXPECT_EQ(cellOf("ab", {10, 10, 70, 40}, DT_VCENTER), std::make_pair(Rect{10, 10, 22, 20}, 10));
  // Lines end at CR LF, LF or CR; each line is aligned on its own.
  EXPECT_EQ(cellOf("a\r\nbb\nccc\rd", {0, 0, 100, 60}, DT_RIGHT), std::make_pair(Rect{82, 0, 100, 40}, 40));
  EXPECT_EQ(bmp.At(82, 20), kBack);
  EXPECT_EQ(bmp.At(82, 10), kPaper);
  // Single-line text runs line breaks together.
  EXPECT_EQ(cellOf("a\r\nb", {0, 0, 100, 60}, DT_SINGLELINE), std::make_pair(Rect{0, 0, 12, 10}, 10));
}

TEST_F(BuiltinText, DrawTextCalcRect) {
  Bitmap bmp(100, 60, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  auto calc = [&](std::string_view text, int width, unsigned format) {
    Rect r{5, 7, 5 + width, 1000};
    const int h = c.DrawText(text, r, format | DT_CALCRECT);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 7);
    EXPECT_EQ(r.bottom - r.top, h);
    return Size{r.Width(), h};
  };
  EXPECT_EQ(calc("ab\ncd e", 100, 0), (Size{24, 20}));
  EXPECT_EQ(calc("", 100, 0), (Size{0, 0}));
  EXPECT_EQ(calc("abc\n", 100, 0), (Size{18, 10}));
  EXPECT_EQ(calc("abc\n\n", 100, 0), (Size{18, 20}));
  // Word wrap: "aa bb" is exactly 30 wide and fits.
  EXPECT_EQ(calc("aa bb cc", 30, DT_WORDBREAK), (Size{30, 20}));
  EXPECT_EQ(calc("aa bb cc", 29, DT_WORDBREAK), (Size{12, 30}));
  EXPECT_EQ(calc("aa    bb", 20, DT_WORDBREAK), (Size{12, 20}));  // spaces at the break go
  EXPECT_EQ(calc("abcdefgh x", 20, DT_WORDBREAK), (Size{48, 20}));  // a long word stays whole
  EXPECT_EQ(calc("aa bb", 30, DT_WORDBREAK | DT_SINGLELINE), (Size{30, 10}));
  // Tabs every 8 average character widths (48 pixels).
  EXPECT_EQ(calc("a\tb", 100, DT_EXPANDTABS), (Size{54, 10}));
  EXPECT_EQ(calc("abcdefgh\tb", 100, DT_EXPANDTABS), (Size{102, 10}));
  EXPECT_EQ(calc("a\tb", 100, 0), (Size{12, 10}));
  // Prefixes: "&&" is one '&', "&x" is x; DT_NOPREFIX keeps them all.
  EXPECT_EQ(calc("&File", 100, 0), (Size{24, 10}));
  EXPECT_EQ(calc("a&&b", 100, 0), (Size{18, 10}));
  EXPECT_EQ(calc("&File&", 100, 0), (Size{24, 10}));
  EXPECT_EQ(calc("&File", 100, DT_NOPREFIX), (Size{30, 10}));
  // Ellipsis: "ab..." fills exactly 30.
  EXPECT_EQ(calc("abcdefgh", 30, DT_END_ELLIPSIS | DT_SINGLELINE), (Size{30, 10}));
  EXPECT_EQ(calc("abcde", 30, DT_END_ELLIPSIS | DT_SINGLELINE), (Size{30, 10}));
  EXPECT_EQ(calc("abcdefgh", 10, DT_END_ELLIPSIS | DT_SINGLELINE), (Size{18, 10}));
  // Nothing is drawn while measuring.
  EXPECT_EQ(Count(bmp, kPaper), 100 * 60);
}

TEST_F(BuiltinText, DrawTextPrefixEllipsisAndClip) {
  Bitmap bmp(100, 30, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkMode = BkMode::Transparent;
  Rect r{0, 0, 100, 30};
  c.DrawText("a&bc", r, 0);
  // The accelerator line sits on cell row 9 under the second character only.
  for (int x = 0; x < 20; ++x) EXPECT_EQ(bmp.At(x, 9), (x >= 6 && x < 12) ? kInk : kPaper) << x;
  bmp.Fill(kPaper);
  c.DrawText("a&bc", r, DT_NOPREFIX);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(bmp.At(x, 9), kPaper) << x;
  EXPECT_NE(BoundsNot(bmp, kPaper).right, 0);

  // The ellipsis shows as dots on rows 6..7 after "ab".
  bmp.Fill(kPaper);
  r = {0, 0, 30, 30};
  c.DrawText("abcdefgh", r, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(BoundsNot(bmp, kPaper).right, 27);
  for (int x : {13, 14, 19, 20, 25, 26}) EXPECT_EQ(bmp.At(x, 6), kInk) << x;

  // Drawing is clipped to the rectangle unless DT_NOCLIP.
  bmp.Fill(kPaper);
  r = {0, 0, 20, 5};
  c.DrawText("bbbbbbbb\nxyz", r, 0);
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect(0, 1, 20, 5));
  bmp.Fill(kPaper);
  c.DrawText("bbbbbbbb\nxyz", r, DT_NOCLIP);
  EXPECT_EQ(BoundsNot(bmp, kPaper), Rect(0, 1, 47, 20));
  // ... and to the canvas clip region in either case.
  bmp.Fill(kPaper);
  c.SetClipRegion(Region(Rect{0, 0, 10, 30}));
  c.DrawText("bbbbbbbb\nxyz", r, DT_NOCLIP);
  EXPECT_EQ(BoundsNot(bmp, kPaper).right, 10);
}

TEST_F(BuiltinText, DrawTextWordBreakPlacesLines) {
  Bitmap bmp(60, 40, kPaper);
  Canvas c(bmp);
  c.SelectFont(TestFont());
  c.BkColor = kBack;
  Rect r{0, 0, 40, 40};
  EXPECT_EQ(c.DrawText("ab cd ef", r, DT_WORDBREAK | DT_CENTER), 20);
  // "ab cd" (30 wide) centred in 40, then "ef" (12 wide) centred.
  EXPECT_EQ(BoundsOf(bmp, kBack).top, 0);
  EXPECT_EQ(bmp.At(5, 0), kBack);
  EXPECT_EQ(bmp.At(4, 0), kPaper);
  EXPECT_EQ(bmp.At(14, 10), kBack);
  EXPECT_EQ(bmp.At(13, 10), kPaper);
  EXPECT_EQ(bmp.At(26, 10), kPaper);
}

TEST_F(BuiltinText, ArbitraryInputNeverCrashes) {
  Bitmap bmp(64, 48, kPaper);
  Canvas c(bmp);
  std::mt19937 rng(1234);
  std::string junk;
  for (int i = 0; i < 4000; ++i) junk += char(rng() & 0xFF);
  const std::string longText(60000, 'W');
  for (int esc : {0, 450, 900, 1234, 2700, -3599, INT_MIN, INT_MAX}) {
    c.SelectFont(TestFont(esc, fsBold | fsItalic | fsUnderline | fsStrikeOut));
    for (const std::string& s : {junk, longText, std::string(), std::string("\0\0a", 3)}) {
      c.TextOut(5, 30, s);
      (void)c.TextExtent(s);
      for (unsigned f : {0u, unsigned(DT_WORDBREAK | DT_CENTER), unsigned(DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS),
                         unsigned(DT_EXPANDTABS | DT_NOCLIP | DT_RIGHT), unsigned(DT_CALCRECT | DT_WORDBREAK)}) {
        Rect r{-5, 3, 50, 40};
        c.DrawText(s, r, f);
        Rect odd{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
        c.DrawText(s.substr(0, 300), odd, f);
        Rect inverted{50, 40, -5, 3};
        c.DrawText(s.substr(0, 300), inverted, f);
      }
    }
  }
  EXPECT_EQ(c.TextWidth(longText), 60000 * 7);
}
