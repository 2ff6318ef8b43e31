// Mouse input: targets, capture while a button is held, clicks, hover, cursors and the
// system move command.
#include <string>
#include <vector>

#include "CoreFixture.h"
#include "toolkit/core/TCustomControl.h"
#include "toolkit/core/TGraphicControl.h"

namespace {

class TPad : public TGraphicControl {
 public:
  explicit TPad(TComponent* owner) : TGraphicControl(owner) {}
};

class TWinPad : public TCustomControl {
 public:
  explicit TWinPad(TComponent* owner) : TCustomControl(owner) {}
};

// Writes every mouse event of CONTROL to LOG as text.
void Record(TControl* c, std::vector<std::string>& log) {
  const std::string n = c->Name();
  c->OnMouseDown = [&log, n](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    log.push_back(n + " down " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y) +
                  ((s & ssDouble) ? " double" : ""));
  };
  c->OnMouseMove = [&log, n](TObject*, TShiftState, int x, int y) {
    log.push_back(n + " move " + std::to_string(x) + "," + std::to_string(y));
  };
  c->OnMouseUp = [&log, n](TObject*, TMouseButton b, TShiftState, int x, int y) {
    log.push_back(n + " up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  c->OnClick = [&log, n](TObject*) { log.push_back(n + " click"); };
  c->OnDblClick = [&log, n](TObject*) { log.push_back(n + " dblclick"); };
}

using Log = std::vector<std::string>;

}  // namespace

TEST_F(CoreTest, CaptureKeepsMovesComingOutsideTheControlAndTheWindow) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 100), bsNone, "F");
  TPad* pad = TComponent::Create<TPad>(f);
  pad->SetName("pad");
  pad->SetParent(f);
  pad->SetBounds(10, 10, 50, 30);
  TWinPad* win = TComponent::Create<TWinPad>(f);
  win->SetName("win");
  win->SetParent(f);
  win->SetBounds(100, 10, 50, 30);
  Log log;
  Record(pad, log);
  Record(win, log);
  Record(f, log);

  Desk.InjectMouseMove(120, 120);  // pad (10, 10)
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(250, 120);  // over the windowed control
  Desk.InjectMouseMove(600, 500);  // outside the window
  Desk.InjectButtonUp();
  Desk.InjectMouseMove(605, 505);  // released: nobody hears this one
  Desk.InjectMouseMove(225, 125);  // over win, no button
  Settle();
  EXPECT_EQ(log, (Log{"pad move 10,10", "pad down 0 10,10", "pad move 140,10", "pad move 490,390",
                      "pad up 0 490,390", "win move 25,15"}));
  EXPECT_FALSE(pad->MouseCapture());

  // The windowed control, the right button: captured as well, no click.
  log.clear();
  Desk.InjectButtonDown(plat::MouseButton::Right);
  Desk.InjectMouseMove(50, 50);
  Desk.InjectButtonUp(plat::MouseButton::Right);
  Settle();
  EXPECT_EQ(log, (Log{"win down 1 25,15", "win move -150,-60", "win up 1 -150,-60"}));

  // The form itself takes what no control covers.
  log.clear();
  Desk.InjectMouseMove(110, 190);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(log, (Log{"F move 10,90", "F down 0 10,90", "F click", "F up 0 10,90"}));
}

TEST_F(CoreTest, ClickOnlyWhenReleasedOverTheControl) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  TPad* pad = TComponent::Create<TPad>(f);
  pad->SetName("pad");
  pad->SetParent(f);
  pad->SetBounds(10, 10, 50, 30);
  Log log;
  Record(pad, log);

  Desk.InjectMouseMove(20, 20);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(100, 20);
  Desk.InjectButtonUp();  // released outside: no click
  Desk.InjectMouseMove(20, 20);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(100, 20);
  Desk.InjectMouseMove(30, 25);
  Desk.InjectButtonUp();  // back over it: a click, before the up event
  Settle();
  EXPECT_EQ(log, (Log{"pad move 10,10", "pad down 0 10,10", "pad move 90,10", "pad up 0 90,10", "pad move 10,10",
                      "pad down 0 10,10", "pad move 90,10", "pad move 20,15", "pad click", "pad up 0 20,15"}));

  // A double click: click, then DblClick and a down marked double.
  log.clear();
  Desk.InjectDoubleClick();
  Settle();
  EXPECT_EQ(log, (Log{"pad down 0 20,15", "pad click", "pad up 0 20,15", "pad dblclick", "pad down 0 20,15 double",
                      "pad up 0 20,15"}));

  // Without click events (a control that raises OnClick itself) no click comes.
  log.clear();
  pad->SetControlStyle(pad->ControlStyle() & ~csClickEvents);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(log, (Log{"pad down 0 20,15", "pad up 0 20,15"}));

  // A disabled control lets the mouse through to its parent.
  log.clear();
  f->SetName("F");
  Record(f, log);
  pad->SetEnabled(false);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(log, (Log{"F down 0 30,25", "F click", "F up 0 30,25"}));
}

TEST_F(CoreTest, HoverAndCursors) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  TPad* pad = TComponent::Create<TPad>(f);
  pad->SetParent(f);
  pad->SetBounds(10, 10, 50, 30);
  pad->SetCursor(crCross);
  TWinPad* win = TComponent::Create<TWinPad>(f);
  win->SetParent(f);
  win->SetBounds(100, 10, 50, 30);
  win->SetCursor(5);
  TPad* inWin = TComponent::Create<TPad>(f);
  inWin->SetParent(win);
  inWin->SetBounds(0, 0, 10, 10);  // default cursor: its parent's shows
  plat::CursorLook custom;
  custom.IsCustom = true;
  custom.Image.HotSpot = {15, 0};
  custom.Image.Pixels.assign(32 * 32, 1);
  Screen->SetCursorImage(5, custom);
  int enters = 0, leaves = 0;
  pad->OnMouseEnter = [&](TObject*) { ++enters; };
  pad->OnMouseLeave = [&](TObject*) { ++leaves; };

  Desk.InjectMouseMove(20, 20);
  Settle();
  EXPECT_EQ(enters, 1);
  EXPECT_FALSE(Desk.CurrentCursor().IsCustom);
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::Cross);
  Desk.InjectMouseMove(25, 20);
  Desk.InjectMouseMove(120, 20);
  Settle();
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
  EXPECT_TRUE(Desk.CurrentCursor().IsCustom);
  EXPECT_EQ(Desk.CurrentCursor().Image.HotSpot, (Point{15, 0}));
  Desk.InjectMouseMove(102, 12);  // over the inner control
  Settle();
  EXPECT_TRUE(Desk.CurrentCursor().IsCustom);
  Desk.InjectMouseMove(180, 80);  // the form: the arrow
  Settle();
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::Arrow);
  // A cursor change under a still pointer shows at once; so does the global override.
  f->SetCursor(crSizeWE);
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::SizeWE);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::Wait);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Desk.CurrentCursor().Standard, plat::StdCursor::SizeWE);
  EXPECT_EQ(pad->GetPropText("Cursor"), "-3");
}

TEST_F(CoreTest, SystemMoveCommandDragsTheFormWithThePointer) {
  TForm* f = ShowForm(Rect::FromXYWH(100, 100, 200, 100));
  TPad* strip = TComponent::Create<TPad>(f);
  strip->SetParent(f);
  strip->SetBounds(0, 0, 200, 20);
  int ups = 0;
  strip->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) {
    if (b != mbLeft) return;
    ReleaseCapture();
    f->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  };
  strip->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  Settle();
  int paints = 0;
  f->OnPaint = [&](TObject*) { ++paints; };
  Desk.InjectMouseMove(150, 105);
  Desk.InjectButtonDown();
  Desk.InjectMouseMove(170, 95);
  Desk.InjectMouseMove(90, 300);
  Desk.InjectButtonUp();
  Settle();
  EXPECT_EQ(f->BoundsRect(), Rect::FromXYWH(40, 295, 200, 100));
  EXPECT_EQ(f->Left(), 40);
  EXPECT_EQ(ups, 0);  // the move loop took the release
  EXPECT_EQ(paints, 0);  // moving does not repaint
  EXPECT_FALSE(strip->MouseCapture());
  // Afterwards the form takes clicks at its new place.
  int downs = 0;
  strip->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  Desk.InjectMouseMove(50, 300);
  Desk.InjectClick();
  Settle();
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
}

TEST_F(CoreTest, TheWheelGoesToTheFocusedControlAndUpItsParents) {
  TForm* f = ShowForm(Rect::FromXYWH(0, 0, 200, 100));
  TWinPad* outer = TComponent::Create<TWinPad>(f);
  outer->SetParent(f);
  outer->SetBounds(0, 0, 100, 100);
  TWinPad* inner = TComponent::Create<TWinPad>(f);
  inner->SetParent(outer);
  inner->SetBounds(10, 10, 50, 50);
  inner->SetTabStop(true);
  inner->SetFocus();
  std::vector<std::string> log;
  inner->OnMouseWheel = [&](TObject*, TShiftState s, int delta, Point p, bool& handled) {
    log.push_back("inner " + std::to_string(delta) + " " + std::to_string(p.x) + "," + std::to_string(p.y) +
                  ((s & ssCtrl) ? " ctrl" : ""));
    handled = delta > 0;
  };
  outer->OnMouseWheel = [&](TObject*, TShiftState, int delta, Point, bool& handled) {
    log.push_back("outer " + std::to_string(delta));
    handled = true;
  };
  Desk.InjectMouseMove(150, 50);  // the wheel follows the focus, not the pointer
  Desk.InjectWheel(120);
  Desk.InjectWheel(-120);
  Settle();
  EXPECT_EQ(log, (std::vector<std::string>{"inner 120 150,50", "inner -120 150,50", "outer -120"}));
}
