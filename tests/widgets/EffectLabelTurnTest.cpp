// Turned captions: rotated glyphs centred on (c, c), upright letters laid along the angle, and
// the two labels of a vertical caption strip.
#include <cmath>
#include <numbers>

#include "EffectLabelFixture.h"
#include "toolkit/controls/TPanel.h"

namespace {

// The caption drawn plainly at (0, 0) in black on white, as big as its extent.
gfx::Bitmap Plain(const gfx::Font& font, const std::string& text) {
  gfx::Bitmap scratch(1, 1);
  gfx::Canvas measure(scratch);
  measure.SelectFont(font);
  const Size ext = measure.TextExtent(text);
  gfx::Bitmap b(ext.cx, ext.cy, clWhite);
  gfx::Canvas c(b);
  c.SelectFont(font);
  c.TextColor = clBlack;
  c.BkMode = gfx::BkMode::Transparent;
  c.TextOut(0, 0, text);
  return b;
}

// PLAIN's pixels turned by a quarter-turn multiple ANGLE (counter-clockwise) about the top-left
// of its cell, which lands on START; every pixel of it painted in COLOUR over OUT.
void PutTurned(gfx::Bitmap& out, const gfx::Bitmap& plain, int angle, Point start, TColor colour) {
  for (int j = 0; j < plain.Height(); ++j)
    for (int i = 0; i < plain.Width(); ++i) {
      if (plain.At(i, j) == clWhite) continue;
      Point p = start;
      switch (angle) {
        case 90: p = {start.x + j, start.y - i}; break;
        case 180: p = {start.x - i, start.y - j}; break;
        case 270: p = {start.x - j, start.y + i}; break;
        default: p = {start.x + i, start.y + j}; break;
      }
      out.Set(p.x, p.y, colour);
    }
}

}  // namespace

TEST_F(EffectLabelTest, RotatedGlyphsTurnAboutTheCaptionCentre) {
  // The built-in face: "Mouse at pixel:" is 90 x 10; with three spaces 108 wide, so c = 54.
  auto l = MakeLabel("Mouse at pixel:", 120, 110);
  l->SetEffectStyle(esNone);
  l->Font().SetColor(clBlack);
  const gfx::Bitmap plain = Plain(l->Font().Data(), l->Caption());
  ASSERT_EQ(plain.Width(), 90);

  // Start points from the centre: 270 reads top to bottom, 90 bottom to top, 180 upside down.
  const std::pair<int, Point> starts[] = {{270, {59, 9}}, {90, {49, 99}}, {180, {99, 59}}};
  for (auto [angle, start] : starts) {
    SCOPED_TRACE(angle);
    l->SetAngle(angle);
    gfx::Bitmap want(120, 110, clWhite);
    PutTurned(want, plain, angle, start, clBlack);
    EXPECT_EQ(Differences(Render(*l, clWhite), want), 0);
  }

  // At 270 the first letter is on top: the 'M' fills the top rows of the column.
  l->SetAngle(270);
  gfx::Bitmap got = Render(*l, clWhite);
  const Rect box = InkBox(got, clWhite);
  EXPECT_GT(box.Height(), 5 * box.Width());
  EXPECT_EQ(box.top, 9);
  EXPECT_EQ(box.right, 59);  // the glyphs' tops face right, on the start column
  for (int x = 52; x < 59; ++x) EXPECT_EQ(got.At(x, 9), clBlack) << x;  // the M's left stem

  // Layers move in screen directions whatever the angle: raised puts the face at +1, +1.
  l->SetEffectStyle(esRaised);
  l->Font().SetColor(clGray);
  gfx::Bitmap want(120, 110, 0x010101);
  PutTurned(want, plain, 270, {61, 11}, clBlack);
  PutTurned(want, plain, 270, {59, 9}, clWhite);
  PutTurned(want, plain, 270, {60, 10}, clGray);
  EXPECT_EQ(Differences(Render(*l, 0x010101), want), 0);

  // Any angle: the ink keeps its centre on (c, c) and runs along the angle.
  l->SetEffectStyle(esNone);
  l->Font().SetColor(clBlack);
  l->SetCaption("HHHHHHHHHHHH");  // 72 wide, c = (72 + 18) / 2 = 45
  l->SetBounds(0, 0, 100, 100);
  for (int angle : {30, 135, 200, 333}) {
    SCOPED_TRACE(angle);
    l->SetAngle(angle);
    got = Render(*l, clWhite);
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (Point p : Ink(got, clWhite)) {
      const double w = 1.0 - (got.At(p.x, p.y) & 0xFF) / 255.0;
      n += w;
      sx += w * p.x;
      sy += w * p.y;
    }
    ASSERT_GT(n, 100);
    const double mx = sx / n, my = sy / n;
    for (Point p : Ink(got, clWhite)) {
      const double w = 1.0 - (got.At(p.x, p.y) & 0xFF) / 255.0;
      sxx += w * (p.x - mx) * (p.x - mx);
      syy += w * (p.y - my) * (p.y - my);
      sxy += w * (p.x - mx) * (p.y - my);
    }
    // Within a pixel or two: start points are truncated, and the ink sits a little above and
    // left of the middle of its cell.
    EXPECT_NEAR(mx, 45, 2);
    EXPECT_NEAR(my, 45, 2);
    // Principal axis of the ink, in screen coordinates (y down): the text runs at -angle.
    const double axis = 0.5 * std::atan2(2 * sxy, sxx - syy) * 180 / std::numbers::pi;
    double diff = std::fmod(axis + angle + 360.0, 180.0);
    if (diff > 90) diff -= 180;
    EXPECT_NEAR(diff, 0, 3);
  }
}

TEST_F(EffectLabelTest, UprightLettersStandInAColumnAlongTheAngle) {
  auto l = MakeLabel("123", 40, 60);
  l->SetEffectStyle(esNone);
  l->Font().SetColor(clBlack);
  l->SetKeepLettersVertical(true);
  l->SetAngle(270);
  // Each digit exactly as it is drawn unturned, one cell height under the one before.
  gfx::Bitmap want(40, 60, clWhite);
  for (int i = 0; i < 3; ++i) PutTurned(want, Plain(l->Font().Data(), std::string(1, char('1' + i))), 0, {10, 10 + 10 * i}, clBlack);
  EXPECT_EQ(Differences(Render(*l, clWhite), want), 0);

  // Raised: the whole column moves by one for the highlight above and left.
  l->SetEffectStyle(esRaised);
  gfx::Bitmap raised(40, 60, 0x010101);
  for (int i = 0; i < 3; ++i) {
    const gfx::Bitmap digit = Plain(l->Font().Data(), std::string(1, char('1' + i)));
    PutTurned(raised, digit, 0, {12, 12 + 10 * i}, clBlack);
    PutTurned(raised, digit, 0, {10, 10 + 10 * i}, clWhite);
    PutTurned(raised, digit, 0, {11, 11 + 10 * i}, clBlack);
  }
  EXPECT_EQ(Differences(Render(*l, 0x010101), raised), 0);

  // At 90 the column runs upwards from the bottom, at 180 to the left, at 0 the letters are
  // not laid out one by one at all (the caption is drawn as plain text).
  l->SetEffectStyle(esNone);
  l->SetBounds(0, 0, 60, 60);
  const std::pair<int, std::array<Point, 3>> layouts[] = {
      {90, {{{10, 30}, {10, 20}, {10, 10}}}},
      {180, {{{22, 10}, {16, 10}, {10, 10}}}},
  };
  for (const auto& [angle, at] : layouts) {
    SCOPED_TRACE(angle);
    l->SetAngle(angle);
    gfx::Bitmap w(60, 60, clWhite);
    for (int i = 0; i < 3; ++i) PutTurned(w, Plain(l->Font().Data(), std::string(1, char('1' + i))), 0, at[i], clBlack);
    EXPECT_EQ(Differences(Render(*l, clWhite), w), 0);
  }
}

TEST_F(EffectLabelTest, VerticalCaptionStripLabelsWithTheirRealFont) {
  gfx::SetBuiltinFontOnly(false);
  auto setUp = [](TEffectLabel& l, const char* caption, bool upright) {
    l.SetCaption(caption);
    l.Font().SetName("Arial");
    l.Font().SetHeight(-11);
    l.Font().SetColor(clBlack);
    l.SetEffectStyle(esNone);
    l.SetGraduateFrom(clWindowText);
    l.SetKeepLettersVertical(upright);
    l.SetAngle(270);
  };

  // "Mouse at pixel:" turned a quarter clockwise: exactly the plain rendering turned.
  auto at = TComponent::Make<TTestEffectLabel>(nullptr);
  at->SetBounds(0, 0, 72, 80);
  setUp(*at, "Mouse at pixel:", false);
  const gfx::Bitmap plain = Plain(at->Font().Data(), at->Caption());
  gfx::Bitmap scratch(1, 1);
  gfx::Canvas m(scratch);
  m.SelectFont(at->Font().Data());
  const int c = m.TextWidth("Mouse at pixel:   ") / 2;
  const Point start{c + plain.Height() / 2, c - plain.Width() / 2};
  gfx::Bitmap want(72, 80, clWhite);
  for (int j = 0; j < plain.Height(); ++j)
    for (int i = 0; i < plain.Width(); ++i) want.Set(start.x - j, start.y + i, plain.At(i, j));
  const gfx::Bitmap got = Render(*at, clWhite);
  EXPECT_EQ(Differences(got, want), 0);
  const Rect box = InkBox(got, clWhite);
  EXPECT_GT(box.Height(), 4 * box.Width());
  EXPECT_GE(box.top, 0);
  EXPECT_LE(box.bottom, 80);  // the whole caption fits the strip's 80-pixel label

  // The reading: a column of upright digits, first on top, one text height apart.
  auto pos = TComponent::Make<TTestEffectLabel>(nullptr);
  pos->SetBounds(0, 0, 66, 80);
  setUp(*pos, "1234", true);
  const gfx::Bitmap digits = Render(*pos, clWhite);
  const int h = m.TextHeight("1234");
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const gfx::Bitmap digit = Plain(pos->Font().Data(), std::string(1, char('1' + i)));
    EXPECT_EQ(Differences(digits.Copy(Rect::FromXYWH(10, 10 + i * h, digit.Width(), digit.Height())), digit), 0);
    EXPECT_LT(InkBox(digit, clWhite).Width(), InkBox(digit, clWhite).Height());  // upright
  }
}

TEST_F(EffectLabelTest, TurnedLabelHangingOffItsPanelIsClippedToIt) {
  // As on a vertical caption strip: a 72 x 80 label reaching 33 pixels left of its panel.
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 100, 200), clWhite);
  auto* panel = TComponent::Create<TPanel>(f);
  panel->SetParent(f);
  panel->SetBounds(20, 0, 40, 200);
  panel->SetBevelOuter(bvNone);
  panel->SetColor(clSilver);
  auto* l = TComponent::Create<TTestEffectLabel>(f);
  l->SetParent(panel);
  l->SetBounds(-33, 100, 72, 80);
  l->SetCaption("Mouse at pixel:");
  l->Font().SetHeight(-8);
  l->Font().SetColor(clBlack);
  l->SetEffectStyle(esNone);
  l->SetAngle(270);
  Settle();

  // The built-in face: c = 54, so the caption's column is x = 50..58 of the label, 37..45 on the
  // screen; only the part within the panel shows, and the form beside it stays white.
  const gfx::Bitmap& s = Desk.Screen();
  int ink = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 100; ++x) {
      const TColor p = s.At(x, y);
      if (x < 20 || x >= 60) {
        EXPECT_EQ(p, clWhite) << x << "," << y;
      } else if (p == clBlack) {
        ++ink;
        EXPECT_GE(x, 37);
        EXPECT_LE(x, 45);
        EXPECT_GE(y, 109);
        EXPECT_LT(y, 180);  // cut at the label's bottom edge
      }
    }
  EXPECT_GT(ink, 100);
  EXPECT_EQ(s.At(21, 150), clSilver);  // the transparent label shows the panel
}
