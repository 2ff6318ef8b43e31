// Injected mouse and keyboard input on the virtual desktop: hit-testing, capture, activation,
// move drags, key state and the queue's behaviour under nested loops.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/virtual/VirtualDesktop.h"
#include "tests/platform/TestListener.h"

namespace {

using gfx::Rect;
using plat::MouseButton;
using plat::VirtualDesktop;
using plat::VirtualWindow;
using plat::WindowKind;
using vtest::Journal;
using vtest::TestListener;

// A window with a listener that records into the fixture's journal.
struct Win {
  std::unique_ptr<TestListener> Listener;
  std::unique_ptr<plat::NativeWindow> Owner;
  VirtualWindow* W = nullptr;
};

class VirtualInput : public ::testing::Test {
 protected:
  Win Make(const std::string& name, Rect bounds, WindowKind kind = WindowKind::Normal, bool topMost = false) {
    Win w;
    w.Listener = std::make_unique<TestListener>(name, J);
    w.Owner = D.CreateWindow({.Title = name, .Bounds = bounds, .Kind = kind, .TopMost = topMost}, w.Listener.get());
    w.W = static_cast<VirtualWindow*>(w.Owner.get());
    return w;
  }
  // Works the queue and returns what the listeners heard.
  Journal Run() {
    D.Flush();
    Journal out;
    out.swap(J);
    return out;
  }

  VirtualDesktop D{{200, 100}};
  Journal J;
};

TEST_F(VirtualInput, MovesGoToTheWindowUnderThePointerWithLeaves) {
  Win a = Make("A", {10, 10, 50, 50});
  Win b = Make("B", {40, 10, 90, 50});
  a.W->Show(false);
  b.W->Show(false);
  EXPECT_TRUE(Run().empty());

  D.InjectMouseMove(20, 30);
  // Input is queued: nothing happens until the queue is worked.
  gfx::Point p;
  ASSERT_TRUE(D.GetCursorPos(p));
  EXPECT_EQ(p, (gfx::Point{0, 0}));
  EXPECT_EQ(Run(), (Journal{"A move 10,20 screen 20,30 -"}));
  ASSERT_TRUE(D.GetCursorPos(p));
  EXPECT_EQ(p, (gfx::Point{20, 30}));

  // B lies above A where they overlap.
  D.InjectMouseMove(45, 30);
  D.InjectMouseMove(100, 30);
  D.InjectMouseMove(60, 20);
  EXPECT_EQ(Run(), (Journal{"A leave", "B move 5,20 screen 45,30 -", "B leave", "B move 20,10 screen 60,20 -"}));

  // The pointer stays on the screen.
  D.InjectMouseMove(-50, 500);
  Run();
  EXPECT_EQ(D.CursorPosition(), (gfx::Point{0, 99}));
}

TEST_F(VirtualInput, SetCursorPosMovesAtOnceAndReportsTheMove) {
  Win a = Make("A", {10, 10, 50, 50});
  a.W->Show(false);
  D.SetCursorPos({15, 15});
  gfx::Point p;
  ASSERT_TRUE(D.GetCursorPos(p));
  EXPECT_EQ(p, (gfx::Point{15, 15}));  // seen at once by the program
  EXPECT_EQ(Run(), (Journal{"A move 5,5 screen 15,15 -"}));
  // Setting the same place is no move at all.
  D.SetCursorPos({15, 15});
  EXPECT_TRUE(Run().empty());
  // Off-screen positions are pulled onto the screen; leaving the window is reported.
  D.SetCursorPos({1000, -3});
  EXPECT_EQ(D.CursorPosition(), (gfx::Point{199, 0}));
  EXPECT_EQ(Run(), (Journal{"A leave"}));
}

TEST_F(VirtualInput, ClickActivatesAndImplicitCaptureFollowsThePointer) {
  Win a = Make("A", {10, 10, 50, 50});
  Win b = Make("B", {100, 10, 150, 50});
  a.W->Show(true);
  b.W->Show(true);
  EXPECT_EQ(Run(), (Journal{"A activate", "A deactivate", "B activate"}));

  // A press on A activates it first, then arrives; the drag stays with A outside it.
  D.InjectMouseMove(20, 20);
  D.InjectButtonDown();
  D.InjectMouseMove(120, 30);
  D.InjectMouseMove(5, 5);
  D.InjectButtonUp();
  D.InjectMouseMove(120, 20);
  EXPECT_EQ(Run(), (Journal{"A move 10,10 screen 20,20 -", "B deactivate", "A activate", "A down left 10,10 L",
                            "A move 110,20 screen 120,30 L", "A move -5,-5 screen 5,5 L", "A up left -5,-5 -",
                            "A leave", "B move 20,10 screen 120,20 -"}));
  EXPECT_EQ(D.ActiveWindow(), a.W);
  EXPECT_EQ(D.Windows().front(), a.W);  // raised by the click

  // A second button while the first is held goes to the same window; release of the last
  // button ends the capture. The leave towards B waits until then.
  D.InjectMouseMove(30, 30);
  D.InjectButtonDown(MouseButton::Left);
  D.InjectMouseMove(110, 20);
  D.InjectButtonDown(MouseButton::Right);
  D.InjectButtonUp(MouseButton::Left);
  D.InjectButtonUp(MouseButton::Right);
  EXPECT_EQ(Run(), (Journal{"B leave", "A move 20,20 screen 30,30 -", "A down left 20,20 L",
                            "A move 100,10 screen 110,20 L", "A down right 100,10 LR", "A up left 100,10 R",
                            "A up right 100,10 -", "A leave"}));
  EXPECT_TRUE(D.CaptureWindow() == nullptr);

  // A press on the bare desktop goes nowhere and changes no focus.
  D.InjectMouseMove(190, 90);
  D.InjectClick();
  Run();
  EXPECT_EQ(D.ActiveWindow(), a.W);
}

TEST_F(VirtualInput, ExplicitCaptureAndItsRelease) {
  Win a = Make("A", {10, 10, 50, 50});
  Win b = Make("B", {100, 10, 150, 50});
  a.W->Show(true);
  b.W->Show(true);
  Run();

  a.W->SetCapture();
  EXPECT_TRUE(a.W->HasCapture());
  D.InjectMouseMove(120, 20);   // over B, but A has the pointer
  D.InjectClick();              // no activation of B while captured
  D.InjectWheel(120);
  EXPECT_EQ(Run(), (Journal{"A move 110,10 screen 120,20 -", "A down left 110,10 L", "A up left 110,10 -",
                            "A wheel 120 110,10"}));
  EXPECT_EQ(D.ActiveWindow(), b.W);

  // Another window taking the capture tells the loser; releasing it does not tell the caller.
  b.W->SetCapture();
  EXPECT_EQ(Run(), (Journal{"A capturelost"}));
  b.W->ReleaseCapture();
  EXPECT_TRUE(Run().empty());
  EXPECT_EQ(D.CaptureWindow(), nullptr);

  // A window cannot release another window's capture.
  a.W->SetCapture();
  b.W->ReleaseCapture();
  EXPECT_EQ(D.CaptureWindow(), a.W);
  a.W->ReleaseCapture();
  EXPECT_TRUE(Run().empty());

  // Hiding the holder ends the capture.
  D.InjectMouseMove(20, 20);
  Run();
  a.W->SetCapture();
  a.W->Hide();
  EXPECT_EQ(D.CaptureWindow(), nullptr);
  EXPECT_EQ(Run(), (Journal{"A capturelost"}));

  // Releasing during a press also ends the implicit capture: moves go by position again.
  a.W->Show(false);
  D.InjectButtonDown();
  Run();
  a.W->ReleaseCapture();
  D.InjectMouseMove(120, 20);
  D.InjectButtonUp();
  EXPECT_EQ(Run(), (Journal{"A leave", "B move 20,10 screen 120,20 L", "B up left 20,10 -"}));
}

TEST_F(VirtualInput, PopupsNeitherActivateNorRise) {
  Win a = Make("A", {0, 0, 100, 100});
  Win menu = Make("Menu", {20, 20, 60, 60}, WindowKind::Popup, true);
  Win tool = Make("Tool", {150, 0, 200, 50}, WindowKind::Tool);
  a.W->Show(true);
  menu.W->Show(false);
  tool.W->Show(false);
  Run();
  D.InjectMouseMove(30, 30);
  D.InjectClick();
  EXPECT_EQ(Run(), (Journal{"Menu move 10,10 screen 30,30 -", "Menu down left 10,10 L", "Menu up left 10,10 -"}));
  EXPECT_EQ(D.ActiveWindow(), a.W);
  // A tool window takes the focus when clicked, and rises, but only within its band.
  D.InjectMouseMove(160, 10);
  D.InjectClick();
  Run();
  EXPECT_EQ(D.ActiveWindow(), tool.W);
  ASSERT_EQ(D.Windows().size(), 3u);
  EXPECT_EQ(D.Windows()[0], menu.W);
  EXPECT_EQ(D.Windows()[1], tool.W);
  // The active window, put below the others, comes back up when clicked, without another
  // activation.
  tool.W->SetZOrder(plat::ZOrder::Bottom);
  EXPECT_EQ(D.Windows().back(), tool.W);
  D.InjectClick();
  EXPECT_EQ(Run(), (Journal{"Tool down left 10,10 L", "Tool up left 10,10 -"}));
  EXPECT_EQ(D.Windows()[1], tool.W);
  EXPECT_EQ(D.ActiveWindow(), tool.W);
}

TEST_F(VirtualInput, DoubleClickWheelAndCloseRequest) {
  Win a = Make("A", {0, 0, 100, 100});
  a.W->Show(true);
  Run();
  D.InjectMouseMove(5, 6);
  D.InjectDoubleClick();
  D.InjectWheel(-120);
  D.InjectCloseRequest(a.W);
  EXPECT_EQ(Run(), (Journal{"A move 5,6 screen 5,6 -", "A down left 5,6 L", "A up left 5,6 -",
                            "A down left 5,6 LD double", "A up left 5,6 -", "A wheel -120 5,6", "A close"}));
}

TEST_F(VirtualInput, KeysGoToTheActiveWindowWithStateAndCharacters) {
  Win a = Make("A", {0, 0, 100, 100});
  Win b = Make("B", {100, 0, 200, 100});
  // No active window: keys still change the key state but reach nobody.
  D.InjectKey('Q');
  EXPECT_TRUE(Run().empty());
  a.W->Show(true);
  b.W->Show(false);
  Run();

  D.InjectKey('A');
  D.InjectKey('A', plat::ssShift);
  D.InjectKey('2', plat::ssShift);
  D.InjectKey('C', plat::ssCtrl);
  D.InjectKey(plat::VK_F4, plat::ssAlt);
  EXPECT_EQ(Run(), (Journal{"A keydown 65 -", "A char a", "A keyup 65 -",
                            "A keydown 16 S", "A keydown 65 S", "A char A", "A keyup 65 S", "A keyup 16 -",
                            "A keydown 16 S", "A keydown 50 S", "A char @", "A keyup 50 S", "A keyup 16 -",
                            "A keydown 17 C", "A keydown 67 C", "A char \\x03", "A keyup 67 C", "A keyup 17 -",
                            "A keydown 18 A", "A keydown 115 A", "A keyup 115 A", "A keyup 18 -"}));

  D.InjectKey(plat::VK_RETURN);
  D.InjectKey(plat::VK_ESCAPE);
  D.InjectKey(plat::VK_LEFT);
  D.InjectText("h\xC3\xA9");
  EXPECT_EQ(Run(), (Journal{"A keydown 13 -", "A char \\x0d", "A keyup 13 -", "A keydown 27 -", "A char \\x1b",
                            "A keyup 27 -", "A keydown 37 -", "A keyup 37 -", "A char h", "A char \xC3\xA9"}));

  // Key state as of the last delivered input; a held key repeats.
  D.InjectKeyDown(plat::VK_SHIFT);
  D.InjectKeyDown(plat::VK_SHIFT);
  EXPECT_FALSE(D.IsKeyDown(plat::VK_SHIFT));
  EXPECT_EQ(Run(), (Journal{"A keydown 16 S", "A keydown 16 S repeat"}));
  EXPECT_TRUE(D.IsKeyDown(plat::VK_SHIFT));
  // Shift shows in mouse events too, and buttons in the key state.
  D.InjectMouseMove(10, 10);
  D.InjectButtonDown(MouseButton::Middle);
  Run();
  EXPECT_TRUE(D.IsKeyDown(plat::VK_MBUTTON));
  EXPECT_FALSE(D.IsKeyDown(plat::VK_LBUTTON));
  D.InjectButtonUp(MouseButton::Middle);
  D.InjectKeyUp(plat::VK_SHIFT);
  EXPECT_EQ(Run(), (Journal{"A up middle 10,10 S", "A keyup 16 -"}));
  EXPECT_FALSE(D.IsKeyDown(plat::VK_SHIFT));
  EXPECT_FALSE(D.IsKeyDown(-1));
  EXPECT_FALSE(D.IsKeyDown(100000));

  // Caps lock toggles on each press.
  EXPECT_FALSE(D.IsKeyToggled(plat::VK_CAPITAL));
  D.InjectKey(plat::VK_CAPITAL);
  Run();
  EXPECT_TRUE(D.IsKeyToggled(plat::VK_CAPITAL));

  // Keys follow the focus.
  b.W->Activate();
  D.InjectKey(plat::VK_SPACE);
  EXPECT_EQ(Run(), (Journal{"A deactivate", "B activate", "B keydown 32 -", "B char  ", "B keyup 32 -"}));

  // Bad key codes are ignored.
  D.InjectKeyDown(-5);
  D.InjectKeyDown(4096);
  EXPECT_TRUE(Run().empty());
}

TEST_F(VirtualInput, MoveDragCarriesTheWindowUntilRelease) {
  Win a = Make("A", {10, 10, 50, 50});
  a.W->Show(true);
  Run();
  // The program starts the drag from its press handler, after releasing the capture.
  a.Listener->OnDown = [&](const plat::MouseEvent&) {
    a.W->ReleaseCapture();
    a.W->BeginMoveDrag();
  };
  D.InjectMouseMove(20, 20);
  D.InjectButtonDown();
  D.InjectMouseMove(25, 22);
  D.InjectMouseMove(100, 80);
  D.InjectButtonUp();
  D.InjectMouseMove(101, 80);
  EXPECT_EQ(Run(), (Journal{"A move 10,10 screen 20,20 -", "A down left 10,10 L", "A moved 15,12,55,52",
                            "A moved 90,70,130,110", "A move 11,10 screen 101,80 -"}));
  EXPECT_FALSE(D.MoveDragActive());
  EXPECT_EQ(a.W->Bounds(), (Rect{90, 70, 130, 110}));  // partly off the screen

  // Without a held left button there is nothing to drag.
  a.Listener->OnDown = nullptr;
  a.W->BeginMoveDrag();
  EXPECT_FALSE(D.MoveDragActive());
  // A right-button drag does not start one either, nor does the window move.
  a.Listener->OnDown = [&](const plat::MouseEvent&) { a.W->BeginMoveDrag(); };
  D.InjectButtonDown(MouseButton::Right);
  D.InjectMouseMove(120, 90);
  D.InjectButtonUp(MouseButton::Right);
  Run();
  EXPECT_EQ(a.W->Bounds(), (Rect{90, 70, 130, 110}));

  // Hiding the window ends its drag.
  D.InjectButtonDown();
  Run();
  EXPECT_TRUE(D.MoveDragActive());
  a.W->Hide();
  EXPECT_FALSE(D.MoveDragActive());
  D.InjectButtonUp();
  Run();
}

TEST_F(VirtualInput, NestedLoopsReceiveTheRestOfTheQueue) {
  Win main = Make("Main", {0, 0, 100, 100});
  Win dialog = Make("Dialog", {100, 0, 200, 100});
  main.W->Show(true);
  Run();
  // A press on Main opens a "modal dialog" that loops until it hears Escape.
  bool closed = false;
  int spins = 0;
  dialog.Listener->OnKey = [&](const plat::KeyEvent& e) {
    if (e.Key == plat::VK_ESCAPE) closed = true;
  };
  main.Listener->OnDown = [&](const plat::MouseEvent&) {
    dialog.W->Show(true);
    while (!closed && spins < 100) {
      ASSERT_TRUE(D.ProcessEvents(true));
      ++spins;
    }
    dialog.W->Hide();
    main.W->Activate();
  };
  D.InjectMouseMove(10, 10);
  D.InjectButtonDown();
  D.InjectButtonUp();
  D.InjectKey(plat::VK_ESCAPE);
  D.InjectKey('X');
  Journal j = Run();
  EXPECT_TRUE(closed);
  EXPECT_EQ(spins, 3);
  // The loop ends right after the Escape press; its release and the next key reach Main.
  EXPECT_EQ(j, (Journal{"Main move 10,10 screen 10,10 -", "Main down left 10,10 L", "Main deactivate",
                        "Dialog activate", "Main up left 10,10 -", "Dialog keydown 27 -", "Dialog char \\x1b",
                        "Dialog deactivate", "Main activate", "Main keyup 27 -", "Main keydown 88 -",
                        "Main char x", "Main keyup 88 -"}));

  // With nothing queued, a waiting loop asks the wait handler, which may feed it input;
  // a handler that gives up makes the loop's ProcessEvents fail.
  int asked = 0;
  D.SetWaitHandler([&] {
    ++asked;
    if (asked == 1) {
      D.InjectKey(plat::VK_ESCAPE);
      return true;
    }
    return false;
  });
  closed = false;
  spins = 0;
  D.InjectButtonDown();
  D.InjectButtonUp();
  Run();
  EXPECT_TRUE(closed);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(D.ProcessEvents(false));  // without WAIT the handler is never asked
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(D.ProcessEvents(true));
  EXPECT_EQ(asked, 2);
}

TEST_F(VirtualInput, WindowsDyingWhileEventsArePending) {
  Win a = Make("A", {0, 0, 100, 100});
  Win b = Make("B", {0, 0, 100, 100});
  a.W->Show(true);
  b.W->Show(true);
  Run();
  D.InjectMouseMove(10, 10);
  D.InjectClick();
  D.InjectKey('K');
  // B activates A and destroys it while handling its own press: the calls queued for A are
  // dropped and the focus comes back to B.
  b.Listener->OnDown = [&](const plat::MouseEvent&) {
    a.W->Activate();
    a.Owner.reset();
  };
  Journal j = Run();
  EXPECT_EQ(j, (Journal{"B move 10,10 screen 10,10 -", "B down left 10,10 L", "B deactivate", "B activate",
                        "B up left 10,10 -", "B keydown 75 -", "B char k", "B keyup 75 -"}));
  // Destroying the active, captured, hovered window clears all of that.
  b.W->SetCapture();
  b.Owner.reset();
  EXPECT_EQ(D.ActiveWindow(), nullptr);
  EXPECT_EQ(D.CaptureWindow(), nullptr);
  D.InjectMouseMove(20, 20);
  D.InjectClick();
  EXPECT_TRUE(Run().empty());
  EXPECT_TRUE(D.Windows().empty());
}

TEST_F(VirtualInput, CursorFollowsTheWindowThatGetsThePointer) {
  Win a = Make("A", {0, 0, 50, 50});
  Win b = Make("B", {50, 0, 100, 50});
  plat::CursorLook cross, hand;
  cross.Standard = plat::StdCursor::Cross;
  hand.Standard = plat::StdCursor::Hand;
  a.W->SetCursor(cross);
  b.W->SetCursor(hand);
  a.W->Show(false);
  b.W->Show(false);
  EXPECT_EQ(D.CurrentCursor().Standard, plat::StdCursor::Cross);  // pointer at 0,0
  D.InjectMouseMove(60, 10);
  Run();
  EXPECT_EQ(D.CurrentCursor().Standard, plat::StdCursor::Hand);
  a.W->SetCapture();
  EXPECT_EQ(D.CurrentCursor().Standard, plat::StdCursor::Cross);
  a.W->ReleaseCapture();
  D.InjectMouseMove(150, 80);
  Run();
  EXPECT_EQ(D.CurrentCursor().Standard, plat::StdCursor::Arrow);  // the bare desktop
  plat::CursorImage img;
  img.Pixels.assign(32 * 32, 1);
  b.W->SetCursor({.IsCustom = true, .Image = img});
  D.InjectMouseMove(60, 10);
  Run();
  EXPECT_TRUE(D.CurrentCursor().IsCustom);
  EXPECT_EQ(b.W->Cursor().Image.Pixels.size(), 1024u);
}

}  // namespace
