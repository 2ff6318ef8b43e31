// Flat edit: the cold and hot borders pixel by pixel, and when each shows.
#include "../toolkit/CtlFixture.h"
#include "toolbarkit/TFlatEdit.h"

namespace {

constexpr int kW = 60, kH = 19;

// The three border rings of a kW x kH field. Cold: face, face, window. Hot: a sunken outer
// edge (shadow top and left, the corners at the far ends white), then face all round (the
// left and top filled, the inner edge's right and bottom in the 9x scheme's 3D light, which
// is the face), then window.
TColor Ring(bool hot, int x, int y) {
  const int ring = std::min(std::min(x, y), std::min(kW - 1 - x, kH - 1 - y));
  if (ring == 2) return kHighlight;
  if (ring == 1 || !hot) return kFace;
  const bool topLeft = (y == 0 && x <= kW - 2) || (x == 0 && y <= kH - 2);
  return topLeft ? kShadow : kHighlight;
}

}  // namespace

TEST_F(CtlTest, FlatEditBorderIsColdUntilFocusedOrHovered) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* a = Add<TFlatEdit>(f, Rect::FromXYWH(10, 10, 100, 50));
  auto* b = Add<TFlatEdit>(f, Rect::FromXYWH(10, 50, 100, 50));
  EXPECT_EQ(a->Height(), 50);
  a->SetHeight(kH);
  a->SetWidth(kW);
  b->SetBounds(10, 50, kW, kH);
  EXPECT_EQ(TComponent::Make<TFlatEdit>(nullptr)->Height(), 19);
  Settle();
  auto borderIs = [&](TFlatEdit* e, bool hot) {
    Settle();
    int wrong = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        if (std::min(std::min(x, y), std::min(kW - 1 - x, kH - 1 - y)) > 2) continue;
        wrong += Pixel(e->Left() + x, e->Top() + y) != Ring(hot, x, y);
      }
    return wrong == 0;
  };
  EXPECT_TRUE(borderIs(a, false));
  EXPECT_EQ(Pixel(10 + 30, 10 + 9), kHighlight);  // the window-colour inside

  // Hovered while nothing is focused: hot; left: cold.
  Desk.InjectMouseMove(40, 15);
  EXPECT_TRUE(borderIs(a, true));
  Desk.InjectMouseMove(150, 40);
  EXPECT_TRUE(borderIs(a, false));

  // Focused: hot, and it stays hot when the mouse leaves.
  a->SetFocus();
  EXPECT_TRUE(borderIs(a, true));
  Desk.InjectMouseMove(40, 15);
  Desk.InjectMouseMove(150, 40);
  EXPECT_TRUE(borderIs(a, true));
  // Another flat edit does not turn hot under the mouse while a flat edit has the focus.
  Desk.InjectMouseMove(40, 55);
  EXPECT_TRUE(borderIs(b, false));
  EXPECT_TRUE(b->MouseInControl());

  // Disabled: the button-face background.
  b->SetEnabled(false);
  Settle();
  EXPECT_EQ(Pixel(10 + 30, 50 + 9), kFace);
  b->SetEnabled(true);
  Settle();
  EXPECT_EQ(Pixel(10 + 30, 50 + 9), kHighlight);

  // A font change sets the height to the character cell + 6 (built-in face, -8: cell 10).
  a->Font().SetHeight(-8);
  EXPECT_EQ(a->Height(), 16);
  EXPECT_TRUE(TFlatEdit::IsFlatEdit(a));
  EXPECT_FALSE(TFlatEdit::IsFlatEdit(f));
}

// On a form built hidden the height is fitted to the font as the form first shows: the edits
// end as those of a form built on the screen, where it was fitted at every font change.
TEST_F(CtlTest, FlatEditsOfAFormBuiltHiddenFitTheirFontAsOnesBuiltOnTheScreen) {
  auto build = [](TForm* f) {
    std::vector<TFlatEdit*> edits;
    for (int i = 0; i < 3; ++i) {
      auto* e = TComponent::Create<TFlatEdit>(f);
      e->SetParent(f);
      e->Font().SetHeight(-11 - 5 * i);
      edits.push_back(e);
    }
    edits[0]->SetLeft(30);                 // a move keeps the fitted height
    edits[1]->SetBounds(10, 40, 80, 30);   // a new size overrides it
    edits[2]->SetWidth(70);
    edits[2]->Font().SetHeight(-20);       // fitted again
    return edits;
  };
  TForm* shown = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  const std::vector<TFlatEdit*> want = build(shown);
  TForm* hidden = TComponent::Create<TForm>(App.get());
  hidden->SetBorderStyle(bsNone);
  hidden->SetBoundsRect(Rect::FromXYWH(0, 200, 200, 100));
  const std::vector<TFlatEdit*> got = build(hidden);
  hidden->Show();
  Settle();
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i]->BoundsRect(), want[i]->BoundsRect()) << i;
  EXPECT_EQ(want[1]->Height(), 30);
  EXPECT_NE(want[2]->Height(), 19);  // fitted, not the default
}
