// Styled radio buttons: the diamond and its dot pixel by pixel; groups by parent and index.
#include "StyledFixture.h"
#include "toolkit/controls/TPanel.h"

TEST_F(StyledTest, RadioButtonDrawsADiamondAndADotOnItsCentre) {
  auto* r = Make<TStyledRadioButton>(20, 30);
  r->SetTransparentMode(tmTransparent);  // no inside fill: only the outline
  // Corners (1, 7), (7, 1), (13, 7), (7, 13). Upper half white: (1,7)->(7,1)->(13,7);
  // lower half grey: (13,7)->(7,13)->(1,7).
  auto model = [](TColor upper, TColor lower, bool dot, TColor inside) {
    gfx::Bitmap b(98, 20, StyledTest::kForm);
    for (int y = 2; y <= 12; ++y)
      for (int x = 2; x <= 12; ++x)
        if (std::abs(x - 7) + std::abs(y - 7) <= 5) b.Set(x, y, inside);
    for (int i = 0; i < 6; ++i) {
      b.Set(1 + i, 7 - i, upper);
      b.Set(7 + i, 1 + i, upper);
      b.Set(13 - i, 7 + i, lower);
      b.Set(7 - i, 13 - i, lower);
    }
    if (dot)
      for (int y = 5; y <= 9; ++y)
        for (int x = 5; x <= 9; ++x)
          if (std::abs(x - 7) + std::abs(y - 7) <= 2 || (std::abs(x - 7) <= 1 && std::abs(y - 7) <= 1))
            b.Set(x, y, clBlack);
    return b;
  };
  EXPECT_EQ(Diff(Shot(r), model(kHighlight, kShadow, false, kForm)), "");
  // Checked: the sunken pair and the dot: rows 6 and 8 span x 6..8, row 7 spans 5..9, the
  // column x 7 spans 5..9.
  r->SetChecked(true);
  EXPECT_EQ(Diff(Shot(r), model(kShadow, kHighlight, true, kForm)), "");
  // Semi-transparent (the default) fills the inside with the box colour.
  r->SetTransparentMode(tmSemiTransparent);
  r->SetBoxColor(clWhite);
  EXPECT_EQ(Diff(Shot(r), model(kShadow, kHighlight, true, clWhite)), "");
  // Flat: both halves in the font colour.
  r->SetStyle(rxFlat);
  r->Font().SetColor(clGreen);
  EXPECT_EQ(Diff(Shot(r), model(clGreen, clGreen, true, clWhite)), "");
}

TEST_F(StyledTest, RadioButtonsOfOneParentAndIndexAreOneGroup) {
  auto* rTop = Make<TStyledRadioButton>(10, 10, "Top-left");
  auto* rCenter = Make<TStyledRadioButton>(10, 40, "Center");
  auto* rBottom = Make<TStyledRadioButton>(10, 70, "Bottom-right");
  auto* other = Make<TStyledRadioButton>(150, 10, "2x");
  other->SetGroupIndex(1);
  auto* pnl = Add<TPanel>(Form(), Rect::FromXYWH(150, 40, 120, 60));
  int clicks = 0;
  for (auto* r : {rTop, rCenter, rBottom, other}) r->OnClick = [&](TObject*) { ++clicks; };
  auto* nested = TComponent::Create<TStyledRadioButton>(Form());
  nested->SetParent(pnl);
  nested->SetChecked(true);
  other->SetChecked(true);
  rTop->SetChecked(true);

  // In code: rCenter unchecks its group and no OnClick fires anywhere.
  rCenter->SetChecked(true);
  EXPECT_FALSE(rTop->Checked());
  EXPECT_TRUE(rCenter->Checked());
  EXPECT_FALSE(rBottom->Checked());
  EXPECT_TRUE(other->Checked());   // another index
  EXPECT_TRUE(nested->Checked());  // another parent
  EXPECT_EQ(clicks, 0);

  // A click on the checked one changes nothing; on another it moves the check and clicks.
  ClickAt(15, 45);
  Settle();
  EXPECT_TRUE(rCenter->Checked());
  EXPECT_EQ(clicks, 0);
  ClickAt(15, 75);
  Settle();
  EXPECT_TRUE(rBottom->Checked());
  EXPECT_FALSE(rCenter->Checked());
  EXPECT_EQ(clicks, 1);
  // Unchecking in code leaves the others alone.
  rBottom->SetChecked(false);
  EXPECT_FALSE(rTop->Checked() || rCenter->Checked() || rBottom->Checked());
}
