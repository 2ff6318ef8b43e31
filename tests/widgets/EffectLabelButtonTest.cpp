// An effect label as a push button on the virtual desktop: pressed it sinks, dragged off it
// rises, released it rises and clicks; its own mouse events stay quiet meanwhile.
#include "EffectLabelFixture.h"

TEST_F(EffectLabelTest, AsButtonSinksWhilePressedAndShiftsItsLayers) {
  constexpr TColor kForm = 0x336699;
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100), kForm);
  auto* l = TComponent::Create<TTestEffectLabel>(f);
  l->SetParent(f);
  l->SetBounds(20, 10, 60, 30);
  l->SetCaption("Hg");
  l->Font().SetHeight(-8);
  int downs = 0, moves = 0, ups = 0, clicks = 0;
  l->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  l->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
  l->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  l->OnClick = [&](TObject*) { ++clicks; };
  l->SetEffectStyle(esShadow);
  l->SetAsButton(true);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  Settle();

  // Raised: shadow below right of the face, highlight above left; sunken: the other way.
  auto screen = [&] { return Desk.Screen().Copy(Rect::FromXYWH(20, 10, 60, 30)); };
  const gfx::Bitmap raised = Model(*l, kForm, {{2, 2, clBlack}, {0, 0, clWhite}, {1, 1, clGray}});
  const gfx::Bitmap sunken = Model(*l, kForm, {{0, 0, clBlack}, {2, 2, clWhite}, {1, 1, clGray}});
  EXPECT_EQ(Differences(screen(), raised), 0);

  Desk.InjectMouseMove(40, 20);
  Desk.InjectButtonDown();
  Settle();
  EXPECT_EQ(l->EffectStyle(), esSunken);
  EXPECT_EQ(Differences(screen(), sunken), 0);

  // Dragged outside (the label holds the mouse) it rises; back inside it sinks again.
  Desk.InjectMouseMove(150, 80);
  Settle();
  EXPECT_EQ(l->EffectStyle(), esRaised);
  EXPECT_EQ(Differences(screen(), raised), 0);
  Desk.InjectMouseMove(79, 39);  // the far corner of the label still counts as inside
  Settle();
  EXPECT_EQ(l->EffectStyle(), esSunken);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(l->EffectStyle(), esRaised);
  EXPECT_EQ(Differences(screen(), raised), 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs + moves + ups, 0);

  // Released outside: no click, and it stays raised.
  Desk.InjectMouseMove(40, 20);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(190, 90);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(l->EffectStyle(), esRaised);
  EXPECT_EQ(clicks, 1);

  // The right button and a disabled label do not press it.
  Desk.InjectMouseMove(40, 20);
  Desk.InjectClick(plat::MouseButton::Right);
  Settle();
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->Press(5, 5);
  EXPECT_EQ(l->EffectStyle(), esSunken);
  l->Drag(-1, 5);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->Drag(60, 30);  // the right and bottom edges are inside
  EXPECT_EQ(l->EffectStyle(), esSunken);
  l->Drag(61, 5);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->Drag(5, 5, ssLeft | ssShift);  // only a drag with the left button alone counts
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->Release(60, 30);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->SetEnabled(false);
  l->Press(5, 5);
  EXPECT_EQ(l->EffectStyle(), esRaised);
  l->SetEnabled(true);

  // Without button mode the label's own events fire and the style stays.
  l->SetAsButton(false);
  Desk.InjectMouseMove(40, 20);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(l->EffectStyle(), esRaised);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_GE(moves, 1);
}
