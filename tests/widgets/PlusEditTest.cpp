// Plus edit: the numeric keyboard filter and the two hover behaviours.
#include <algorithm>

#include "../toolkit/CtlFixture.h"
#include "widgets/TPlusEdit.h"

TEST_F(CtlTest, PlusEditFiltersKeysAndChoosesWhenToLookHot) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* a = Add<TPlusEdit>(f, Rect::FromXYWH(10, 10, 80, 21));
  auto* b = Add<TPlusEdit>(f, Rect::FromXYWH(10, 50, 80, 21));
  a->SetKeyboardFilter(kfNumeric);
  a->SetFocus();
  Desk.InjectText("-1a2.5x+");
  Settle();
  EXPECT_EQ(a->Text(), "-12.5+");
  const auto log = Desk.TakeLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string("beep")), 2);
  // Backspace is a control character and passes.
  Key(plat::VK_BACK);
  Settle();
  EXPECT_EQ(a->Text(), "-12.5");

  // With the focus in a flat edit, another one under the mouse stays cold (mbFlatStyle)...
  Desk.InjectMouseMove(30, 60);
  Settle();
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_FALSE(b->Hot());
  // ...and turns hot with mbEasyStyle.
  b->SetMouseBehaviour(mbEasyStyle);
  EXPECT_TRUE(b->Hot());
  Desk.InjectMouseMove(150, 90);
  Settle();
  EXPECT_FALSE(b->Hot());
  EXPECT_TRUE(a->Hot());
}
