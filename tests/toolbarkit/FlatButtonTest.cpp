// Flat button: no border until hot, raised while hot, sunken while pressed, the latched
// pattern; shared hot tracking; click repeating on the virtual clock; groups.
#include "../toolkit/CtlFixture.h"
#include "toolbarkit/TFlatButton.h"

namespace {

// A 22 x 23 button's border ring: FIRST on the top row and left column (but for the far
// corners), SECOND on the bottom row and right column; the face inside.
gfx::Bitmap Framed(TColor first, TColor second) {
  gfx::Bitmap b(22, 23, kFace);
  for (int x = 0; x < 22; ++x) {
    b.Set(x, 0, x < 21 ? first : second);
    b.Set(x, 22, second);
  }
  for (int y = 0; y < 23; ++y) {
    b.Set(0, y, y < 22 ? first : second);
    b.Set(21, y, second);
  }
  return b;
}

// An 8 x 4 glyph: black on a green background (the bottom-left pixel: transparent).
gfx::Bitmap Arrow() {
  gfx::Bitmap g(8, 4, clGreen);
  for (int x = 0; x < 8; ++x) g.Set(x, 0, clBlack);
  for (int x = 2; x < 6; ++x) g.Set(x, 1, clBlack);
  return g;
}

// The glyph's black pixels at (X, Y) on B.
void AddArrow(gfx::Bitmap& b, int x, int y) {
  for (int i = 0; i < 8; ++i) b.Set(x + i, y, clBlack);
  for (int i = 2; i < 6; ++i) b.Set(x + i, y + 1, clBlack);
}

}  // namespace

class FlatButtonTest : public CtlTest {
 protected:
  TForm* F = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  gfx::Bitmap Shot(TControl* c) {
    Settle();
    return Desk.Screen().Copy(Rect::FromXYWH(c->Left(), c->Top(), c->Width(), c->Height()));
  }
  static int Differences(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
  }
};

TEST_F(FlatButtonTest, BorderShowsOnlyWhenHotOrPressedAndTheGlyphSitsCentred) {
  auto* btn = Add<TFlatButton>(F, Rect::FromXYWH(10, 10, 22, 23));
  EXPECT_EQ(btn->Width(), 22);
  btn->SetGlyph(Arrow());
  int clicks = 0;
  btn->OnClick = [&](TObject*) { ++clicks; };
  // Content (1, 1)-(21, 22), 20 x 21: glyph at ((20 - 8 + 1) div 2, (21 - 4 + 1) div 2) + 1.
  gfx::Bitmap cold(22, 23, kFace);
  AddArrow(cold, 7, 10);
  EXPECT_EQ(Differences(Shot(btn), cold), 0);

  Desk.InjectMouseMove(20, 20);
  gfx::Bitmap hot = Framed(kHighlight, kShadow);
  AddArrow(hot, 7, 10);
  EXPECT_EQ(Differences(Shot(btn), hot), 0);
  EXPECT_EQ(btn->State(), bstHot);

  Desk.InjectButtonDown();
  gfx::Bitmap pressed = Framed(kShadow, kHighlight);
  AddArrow(pressed, 8, 11);  // shifted by (1, 1)
  EXPECT_EQ(Differences(Shot(btn), pressed), 0);
  Desk.InjectMouseMove(100, 80);  // held outside: up
  Settle();
  EXPECT_EQ(btn->State(), bstUp);
  Desk.InjectMouseMove(20, 20);
  Settle();
  EXPECT_EQ(btn->State(), bstDown);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Differences(Shot(btn), hot), 0);
  // Released outside: no click.
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(100, 80);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Differences(Shot(btn), cold), 0);
}

TEST_F(FlatButtonTest, OneHotButtonAtATimeAndTheTimerNoticesTheLeave) {
  auto* a = Add<TFlatButton>(F, Rect::FromXYWH(10, 10, 22, 23));
  auto* b = Add<TFlatButton>(F, Rect::FromXYWH(32, 10, 22, 23));
  std::vector<std::string> log;
  a->OnMouseEnter = [&](TObject*) { log.push_back("enter a"); };
  a->OnMouseExit = [&](TObject*) { log.push_back("exit a"); };
  b->OnMouseEnter = [&](TObject*) { log.push_back("enter b"); };
  b->OnMouseExit = [&](TObject*) { log.push_back("exit b"); };
  Desk.InjectMouseMove(20, 20);
  Settle();
  EXPECT_EQ(TFlatButton::HotButton(), a);
  EXPECT_TRUE(TFlatButton::HotTrackTimerRunning());
  Desk.InjectMouseMove(40, 20);  // straight onto b: a cold, b hot, in this one move
  Settle();
  EXPECT_EQ(TFlatButton::HotButton(), b);
  EXPECT_EQ(a->State(), bstUp);
  EXPECT_EQ(b->State(), bstHot);
  EXPECT_EQ(log, (std::vector<std::string>{"enter a", "exit a", "enter b"}));

  // Off both: the next 125 ms tick makes b cold.
  Desk.InjectMouseMove(150, 80);
  Settle();
  EXPECT_EQ(TFlatButton::HotButton(), b);
  Desk.AdvanceClock(TFlatButton::kHotTrackInterval);
  EXPECT_EQ(TFlatButton::HotButton(), nullptr);
  EXPECT_FALSE(TFlatButton::HotTrackTimerRunning());
  EXPECT_EQ(b->State(), bstUp);
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[3], "exit b");
}

TEST_F(FlatButtonTest, HeldRepeatingButtonClicksAtOnceThenAfterTheDelayThenEveryInterval) {
  auto* btn = Add<TFlatButton>(F, Rect::FromXYWH(10, 10, 22, 23));
  btn->SetRepeating(true);
  std::vector<std::uint64_t> at;
  btn->OnClick = [&](TObject*) { at.push_back(Desk.NowMs()); };
  Desk.InjectMouseMove(20, 20);
  Desk.InjectButtonDown();
  Settle();
  const std::uint64_t t0 = Desk.NowMs();
  Desk.AdvanceClock(650);
  // At once, at 400, then every 100: 500 and 600.
  EXPECT_EQ(at, (std::vector<std::uint64_t>{t0, t0 + 400, t0 + 500, t0 + 600}));
  Desk.InjectMouseMove(100, 80);  // off: the 700 tick stops the repeats
  Desk.AdvanceClock(100);
  EXPECT_FALSE(btn->RepeatTimerRunning());
  Desk.AdvanceClock(100);  // t0 + 850
  EXPECT_EQ(at.size(), 4u);
  Desk.InjectMouseMove(20, 20);  // back on: they resume an interval later
  Settle();
  Desk.AdvanceClock(100);
  ASSERT_EQ(at.size(), 5u);
  EXPECT_EQ(at[4], t0 + 950);
  Desk.InjectButtonUp();  // a repeating button gives no click on release
  Desk.AdvanceClock(500);
  EXPECT_EQ(at.size(), 5u);
  EXPECT_FALSE(btn->RepeatTimerRunning());
}

TEST_F(FlatButtonTest, GroupButtonsLatchExclusivelyAndShowTheHighlightPattern) {
  auto* a = Add<TFlatButton>(F, Rect::FromXYWH(10, 10, 22, 23));
  auto* b = Add<TFlatButton>(F, Rect::FromXYWH(40, 10, 22, 23));
  a->SetDown(true);  // no group: it stays up
  EXPECT_FALSE(a->Down());
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  ClickAt(20, 20);
  Desk.InjectMouseMove(150, 80);
  Settle();
  Desk.AdvanceClock(TFlatButton::kHotTrackInterval);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bstExclusive);
  // Latched and not hot: sunken, the content a checkerboard of highlight (x + y even) and
  // face, aligned to the button's corner.
  gfx::Bitmap latched = Framed(kShadow, kHighlight);
  for (int y = 1; y < 22; ++y)
    for (int x = 1; x < 21; ++x) latched.Set(x, y, (x + y) % 2 == 0 ? kHighlight : kFace);
  EXPECT_EQ(Differences(Shot(a), latched), 0);

  ClickAt(50, 20);
  Settle();
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  ClickAt(50, 20);  // the last one down stays down
  Settle();
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());
  ClickAt(50, 20);
  Settle();
  EXPECT_FALSE(b->Down());
  // Leaving the group lets a latched button up.
  a->SetDown(true);
  a->SetGroupIndex(0);
  EXPECT_FALSE(a->Down());
}

TEST_F(FlatButtonTest, GlyphAndCaptionLayoutsCentreTheBlockWithTheSpacingBetween) {
  // Built-in face at -8: "Ab" is 12 x 10. A 64 x 40 button: content (1, 1)-(63, 39), 62 x 38.
  struct Case {
    TButtonLayout Layout;
    int Margin;
    Point Glyph, Text;  // top-left corners in the button
  };
  // Across: block 8 + 4 + 12 = 24 wide, from 1 + (62 - 24 + 1) div 2 = 20 (or Margin + 1);
  // glyph y = 1 + (38 - 4 + 1) div 2 = 18, text y = 1 + (38 - 10 + 1) div 2 = 15.
  // Stacked: block 4 + 4 + 10 = 18 high, from 1 + (38 - 18 + 1) div 2 = 11; glyph x =
  // 1 + (62 - 8 + 1) div 2 = 28, text x = 1 + (62 - 12 + 1) div 2 = 26.
  const Case cases[] = {{blGlyphLeft, -1, {20, 18}, {32, 15}},   {blGlyphRight, -1, {36, 18}, {20, 15}},
                        {blGlyphTop, -1, {28, 11}, {26, 19}},    {blGlyphBottom, -1, {28, 25}, {26, 11}},
                        {blGlyphLeft, 2, {3, 18}, {15, 15}},     {blGlyphRight, 2, {53, 18}, {37, 15}}};
  auto* btn = Add<TFlatButton>(F, Rect::FromXYWH(10, 10, 64, 40));
  btn->SetCaption("Ab");
  btn->Font().SetHeight(-8);
  btn->Font().SetColor(clBlue);
  btn->SetGlyph(Arrow());
  for (const Case& c : cases) {
    btn->SetLayout(c.Layout);
    btn->SetMargin(c.Margin);
    const gfx::Bitmap shot = Shot(btn);
    Rect glyph, text;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) {
        const Rect px{x, y, x + 1, y + 1};
        if (shot.At(x, y) == clBlack) glyph = glyph.Union(px);
        if (shot.At(x, y) == clBlue) text = text.Union(px);
      }
    EXPECT_EQ(Point(glyph.left, glyph.top), c.Glyph) << int(c.Layout) << " margin " << c.Margin;
    // The text's ink starts inside its cell: compare with the cell's own ink offset.
    gfx::Bitmap cell(12, 10, clWhite);
    gfx::Canvas cc(cell);
    cc.SelectFont(btn->Font().Data());
    cc.BkMode = gfx::BkMode::Transparent;
    cc.TextOut(0, 0, "Ab");
    Rect ink;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 12; ++x)
        if (cell.At(x, y) != clWhite) ink = ink.Union(Rect{x, y, x + 1, y + 1});
    EXPECT_EQ(Point(text.left - ink.left, text.top - ink.top), c.Text) << int(c.Layout) << " margin " << c.Margin;
  }
}
