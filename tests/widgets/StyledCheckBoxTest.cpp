// Styled check box: the box, tick, pressed frame and grayed square pixel by pixel; clicks by
// mouse and space, read-only and grayed cycles.
#include "StyledFixture.h"

namespace {

// The 98 x 20 picture of an empty-caption check box over the form colour, box at (1, 1).
// Raised edges, drawn as two polylines: white from (1, 12) up to (1, 1) and right to (11, 1);
// grey from (12, 1) down to (12, 12) and left to (2, 12). Inside: the box colour.
gfx::Bitmap RaisedBox(TColor form, TColor first = kHighlight, TColor second = kShadow) {
  gfx::Bitmap b(98, 20, form);
  for (int y = 1; y <= 12; ++y)
    for (int x = 1; x <= 12; ++x) b.Set(x, y, kFace);
  for (int y = 2; y <= 12; ++y) b.Set(1, y, first);
  for (int x = 1; x <= 11; ++x) b.Set(x, 1, first);
  for (int y = 1; y <= 11; ++y) b.Set(12, y, second);
  for (int x = 2; x <= 12; ++x) b.Set(x, 12, second);
  return b;
}

// The tick: two short strokes down the left and two long ones up to the right.
void AddTick(gfx::Bitmap& b, TColor ink, int dy = 0) {
  for (int y = 7; y <= 10; ++y) b.Set(3, y + dy, ink);     // (3, 7) -> (3, 11)
  for (int y = 6; y <= 9; ++y) b.Set(4, y + dy, ink);      // (4, 6) -> (4, 10)
  for (int i = 0; i < 8; ++i) b.Set(3 + i, 11 - i + dy, ink);  // (3, 11) -> (11, 3)
  for (int i = 0; i < 8; ++i) b.Set(4 + i, 11 - i + dy, ink);  // (4, 11) -> (12, 3)
}

}  // namespace

TEST_F(StyledTest, CheckBoxDrawsItsBoxTickAndGrayedSquare) {
  auto* chk = Make<TStyledCheckBox>(20, 30);
  EXPECT_EQ(chk->Width(), 98);
  EXPECT_EQ(chk->Height(), 20);
  EXPECT_EQ(Diff(Shot(chk), RaisedBox(kForm)), "");

  chk->SetChecked(true);
  gfx::Bitmap ticked = RaisedBox(kForm);
  AddTick(ticked, clBlack);
  EXPECT_EQ(Diff(Shot(chk), ticked), "");

  // Sunken: the edge colours swap and the tick moves up a pixel; a red check colour.
  chk->SetStyle(bxSunken);
  chk->SetCheckColor(clRed);
  gfx::Bitmap sunken = RaisedBox(kForm, kShadow, kHighlight);
  AddTick(sunken, clRed, -1);
  EXPECT_EQ(Diff(Shot(chk), sunken), "");

  // Flat: a frame in the font colour; grayed: a square (3, 3)-(12, 12) outlined in the first
  // edge colour (the font colour for flat) and filled with the check colour.
  chk->SetStyle(bxFlat);
  chk->Font().SetColor(clBlue);
  chk->SetState(cbGrayed);
  gfx::Bitmap grayed = RaisedBox(kForm, clBlue, clBlue);
  for (int i = 1; i <= 12; ++i) {
    grayed.Set(i, 1, clBlue);
    grayed.Set(1, i, clBlue);
  }
  for (int y = 3; y <= 11; ++y)
    for (int x = 3; x <= 11; ++x) grayed.Set(x, y, (x == 3 || y == 3 || x == 11 || y == 11) ? clBlue : clRed);
  EXPECT_EQ(Diff(Shot(chk), grayed), "");

  // See-through off: the box area is the control's colour, the rest is not the form's.
  chk->SetTransparentMode(tmTransparent);
  chk->SetState(cbUnchecked);
  gfx::Bitmap clear = Shot(chk);
  EXPECT_EQ(clear.At(5, 5), kForm);  // the box is not filled either
  EXPECT_EQ(clear.At(1, 5), clBlue);
}

TEST_F(StyledTest, CheckBoxPressedFrameFollowsTheMouseAndClicksOnlyInside) {
  auto* chk = Make<TStyledCheckBox>(20, 30);
  int clicks = 0;
  chk->OnClick = [&](TObject*) { ++clicks; };
  const gfx::Bitmap up = Shot(chk);

  Desk.InjectMouseMove(25, 35);
  Desk.InjectButtonDown();
  Settle();
  EXPECT_TRUE(chk->Pressed());
  EXPECT_TRUE(chk->Focused());
  // The pressed frame: a rectangle (2, 2)-(14, 14) with a 2-pixel black pen, over the
  // filled box; the pen straddles the outline, covering (1..2) and (12..13) on each side.
  gfx::Bitmap pressed = Shot(chk);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool ring = x >= 1 && x <= 13 && y >= 1 && y <= 13 && (x <= 2 || x >= 12 || y <= 2 || y >= 12);
      const bool inside = x >= 3 && x <= 11 && y >= 3 && y <= 11;
      const TColor want = ring ? clBlack : inside ? kFace : kForm;
      EXPECT_EQ(pressed.At(x, y), want) << x << "," << y;
    }

  // Out and back in: the press follows; released inside, it clicks.
  Desk.InjectMouseMove(200, 100);
  Settle();
  EXPECT_FALSE(chk->Pressed());
  EXPECT_EQ(Diff(Shot(chk), up), "");
  Desk.InjectMouseMove(20 + 98, 30 + 20);  // the far edges count while held
  Settle();
  EXPECT_TRUE(chk->Pressed());
  Desk.InjectMouseMove(30, 40);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_TRUE(chk->Checked());
  EXPECT_EQ(clicks, 1);

  // Released outside: nothing.
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(200, 100);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_TRUE(chk->Checked());
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(chk->Pressed());

  // Space: pressed while down, toggles on release.
  Desk.InjectKeyDown(plat::VK_SPACE);
  Settle();
  EXPECT_TRUE(chk->Pressed());
  Desk.InjectKeyUp(plat::VK_SPACE);
  Settle();
  EXPECT_FALSE(chk->Checked());
  EXPECT_EQ(clicks, 2);
  // Alt with the accelerator toggles as a click does, wherever the focus is; Alt with
  // another letter does not.
  chk->SetCaption("&Roll");
  auto* other = Make<TStyledCheckBox>(20, 60);
  other->SetFocus();
  Key('R', ssAlt);
  Key('X', ssAlt);
  Settle();
  EXPECT_TRUE(chk->Checked());
  EXPECT_FALSE(other->Checked());
  EXPECT_EQ(clicks, 3);
}

TEST_F(StyledTest, CheckBoxReadOnlyAndGrayedCycles) {
  auto* chk = Make<TStyledCheckBox>(20, 30);
  std::vector<TCheckBoxState> seen;
  chk->OnClick = [&](TObject*) { seen.push_back(chk->State()); };
  chk->SetAllowGrayed(true);
  for (int i = 0; i < 3; ++i) ClickAt(25, 35);
  Settle();
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));

  // Read-only: neither a click nor code changes it, and no OnClick.
  chk->SetReadOnly(true);
  ClickAt(25, 35);
  Settle();
  chk->SetChecked(true);
  EXPECT_EQ(chk->State(), cbUnchecked);
  EXPECT_EQ(seen.size(), 3u);
  // Checked set in code raises no OnClick.
  chk->SetReadOnly(false);
  chk->SetChecked(true);
  EXPECT_EQ(chk->State(), cbChecked);
  EXPECT_EQ(seen.size(), 3u);

  // The 3D look copies only from its own kind.
  try {
    chk->Font3d().Assign(chk);
    ADD_FAILURE() << "assigned a check box to a 3D font";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TStyledCheckBox to a TFont3d");
  }
  EXPECT_THROW(chk->Hilight3d().Assign(nullptr), std::invalid_argument);
  chk->Font3d().SetSpacing(3);
  chk->Hilight3d().Assign(&chk->Font3d());
  EXPECT_EQ(chk->Hilight3d().Spacing(), 3);
  EXPECT_EQ(chk->Hilight3d().Color(), clBtnHighlight);
}

TEST_F(StyledTest, CaptionIsPlainTextWithout3dEffectsAndSitsBesideTheBox) {
  auto* chk = Make<TStyledCheckBox>(20, 30, "Roll by mouse");
  chk->Font3d().SetActive(false);
  chk->Hilight3d().SetActive(false);
  chk->SetFocus();
  Desk.InjectMouseMove(60, 35);  // hover and focus change nothing without effects
  // Model: the box, and the caption drawn at x = Spacing + 14 = 16, y = 1 in the font colour.
  gfx::Bitmap want = RaisedBox(kForm);
  {
    gfx::Canvas c(want);
    c.SelectFont(chk->Font().Data());
    c.BkMode = gfx::BkMode::Transparent;
    Rect r = Rect::FromXYWH(16, 1, 98 - 16, 18);
    c.DrawText("Roll by mouse", r, gfx::DT_EXPANDTABS);
  }
  EXPECT_EQ(Diff(Shot(chk), want), "");

  // The 3D copy in the default look (highlight colour, one pixel right and down) lies under
  // the text; disabled text is grey over a white copy.
  chk->Font3d().SetActive(true);
  chk->SetEnabled(false);
  gfx::Bitmap grey = RaisedBox(kForm);
  {
    gfx::Canvas c(grey);
    c.SelectFont(chk->Font().Data());
    c.BkMode = gfx::BkMode::Transparent;
    Rect r = Rect::FromXYWH(17, 2, 98 - 16, 18);
    c.TextColor = kHighlight;
    c.DrawText("Roll by mouse", r, gfx::DT_EXPANDTABS);
    r = Rect::FromXYWH(16, 1, 98 - 16, 18);
    c.TextColor = kShadow;
    c.DrawText("Roll by mouse", r, gfx::DT_EXPANDTABS);
  }
  EXPECT_EQ(Diff(Shot(chk), grey), "");

  // Focused with the highlight on (the default hsFlushing): a yellow halo, the text drawn at
  // the four diagonal offsets of the highlight's spacing 1, then the text on top.
  chk->SetEnabled(true);
  chk->Hilight3d().SetActive(true);
  chk->SetFocus();
  gfx::Bitmap halo = RaisedBox(kForm);
  {
    gfx::Canvas c(halo);
    c.SelectFont(chk->Font().Data());
    c.BkMode = gfx::BkMode::Transparent;
    c.TextColor = clYellow;
    for (const Point d : {Point{1, 1}, Point{1, -1}, Point{-1, 1}, Point{-1, -1}}) {
      Rect r = Rect::FromXYWH(16 + d.x, 1 + d.y, 98 - 16, 18);
      c.DrawText("Roll by mouse", r, gfx::DT_EXPANDTABS);
    }
    c.TextColor = clBlack;
    Rect r = Rect::FromXYWH(16, 1, 98 - 16, 18);
    c.DrawText("Roll by mouse", r, gfx::DT_EXPANDTABS);
  }
  EXPECT_EQ(Diff(Shot(chk), halo), "");

  // Auto-size: the caption's width + 18 by its height + 2 (built-in face: 6 px a letter,
  // 10-pixel cell; the 3D copy adds one pixel each way).
  chk->SetAutoSize(true);
  EXPECT_EQ(chk->Width(), 13 * 6 + 1 + 18);
  EXPECT_EQ(chk->Height(), 10 + 1 + 2);
}
