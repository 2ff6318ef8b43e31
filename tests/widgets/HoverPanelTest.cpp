// Hover panel: enter and exit as the pointer crosses it, once each, and not while disabled;
// a handler's colour change shows on the screen.
#include "../toolkit/CtlFixture.h"
#include "widgets/THoverPanel.h"

TEST_F(CtlTest, HoverPanelTellsEnterAndExitOnceEachAndNothingWhileDisabled) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  auto* btnReset = Add<THoverPanel>(f, Rect::FromXYWH(20, 20, 49, 15), "btnReset");
  btnReset->SetCaption("Default");
  std::string events;
  btnReset->OnMouseEnter = [&](TObject* s) {
    EXPECT_EQ(s, btnReset);
    events += "E";
    btnReset->Font().SetColor(clRed);
  };
  btnReset->OnMouseExit = [&](TObject* s) {
    EXPECT_EQ(s, btnReset);
    events += "X";
    btnReset->Font().SetColor(clWindowText);
  };
  btnReset->OnMouseLeave = [&](TObject*) { events += "L"; };  // the toolkit's own: replaced
  auto moveTo = [&](int x, int y) {
    Desk.InjectMouseMove(x, y);
    Settle();
  };
  auto redPixels = [&] {
    Settle();
    int n = 0;
    for (int y = 20; y < 35; ++y)
      for (int x = 20; x < 69; ++x) n += Pixel(x, y) == clRed;
    return n;
  };

  moveTo(100, 60);
  moveTo(30, 25);
  moveTo(40, 28);  // moving inside says nothing more
  EXPECT_EQ(events, "E");
  EXPECT_GT(redPixels(), 0);
  moveTo(100, 60);
  EXPECT_EQ(events, "EX");
  EXPECT_EQ(redPixels(), 0);

  btnReset->SetEnabled(false);
  moveTo(30, 25);
  moveTo(100, 60);
  // The form may spare a disabled control the news; the panel itself must ignore it too.
  btnReset->Perform(CM_MOUSEENTER, 0, 0);
  btnReset->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, "EX");
  btnReset->SetEnabled(true);
  moveTo(30, 25);
  EXPECT_EQ(events, "EXE");
  moveTo(100, 60);
  EXPECT_EQ(events, "EXEX");
  btnReset->OnMouseEnter = btnReset->OnMouseExit = btnReset->OnMouseLeave = nullptr;  // they use this scope
}
