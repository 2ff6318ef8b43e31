// Mouse and keyboard input from a real server, driven by xdotool.
#include "X11Fixture.h"

using namespace x11test;
using plat::Rect;

namespace {
const char* kXdotool = "xdotool";
}

TEST_F(X11Fixture, PointerIsQueriedAndWarpedAnywhereOnTheScreen) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(100, 100, 200, 200), &l);
  ShowAndWait(w);
  Platform->SetCursorPos({123, 456});
  gfx::Point p;
  ASSERT_TRUE(Platform->GetCursorPos(p));
  EXPECT_EQ(p, (gfx::Point{123, 456}));

  // Another program moving the pointer is seen too.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "700", "20"})), 0);
  ASSERT_TRUE(Platform->GetCursorPos(p));
  EXPECT_EQ(p, (gfx::Point{700, 20}));

  // A warp onto the window moves the mouse over it, as a real move would.
  Platform->SetCursorPos({150, 170});
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !l.Moves.empty(); }));
  EXPECT_EQ(l.Moves.back().Pos, (gfx::Point{50, 70}));
  EXPECT_EQ(l.Moves.back().ScreenPos, (gfx::Point{150, 170}));
  Platform->SetCursorPos({500, 500});
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return l.Leaves == 1; }));

  // Button state reads from the server.
  EXPECT_FALSE(Platform->IsKeyDown(plat::VK_LBUTTON));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousedown", "1"})), 0);
  EXPECT_TRUE(Platform->IsKeyDown(plat::VK_LBUTTON));
  EXPECT_FALSE(Platform->IsKeyDown(plat::VK_RBUTTON));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mouseup", "1"})), 0);
  EXPECT_FALSE(Platform->IsKeyDown(plat::VK_LBUTTON));
}

TEST_F(X11Fixture, ClicksWheelAndDoubleClicksArriveWithShiftState) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(10, 10, 300, 300), &l);
  ShowAndWait(w);
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "60", "70", "click", "--repeat", "2",
                                                    "--delay", "80", "1"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Ups.size() == 2; }));
  ASSERT_EQ(l.Downs.size(), 2u);
  EXPECT_FALSE(l.Downs[0].DoubleClick);
  EXPECT_TRUE(l.Downs[1].DoubleClick);
  EXPECT_EQ(l.Downs[0].Pos, (gfx::Point{50, 60}));
  EXPECT_EQ(l.Downs[0].Shift, plat::ssLeft);
  EXPECT_EQ(l.Downs[1].Shift, plat::ssLeft | plat::ssDouble);
  EXPECT_EQ(l.Ups[0].Shift, 0);

  // Clicks too far apart in time are two single clicks.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "click", "--repeat", "2", "--delay", "700", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Downs.size() == 4; }));
  EXPECT_FALSE(l.Downs[2].DoubleClick);
  EXPECT_FALSE(l.Downs[3].DoubleClick);

  // Right button with Ctrl held, and the wheel.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "keydown", "ctrl", "click", "3", "keyup", "ctrl",
                                                    "click", "4", "click", "5"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Wheel.size() == 2; }));
  ASSERT_EQ(l.Downs.size(), 5u);
  EXPECT_EQ(l.Downs[4].Button, plat::MouseButton::Right);
  EXPECT_EQ(l.Downs[4].Shift, plat::ssRight | plat::ssCtrl);
  EXPECT_EQ(l.Wheel, (std::vector<int>{120, -120}));
}

TEST_F(X11Fixture, CaptureAndHeldButtonsKeepTheMouseOutsideTheWindow) {
  RecordingListener l, other;
  auto& w = NewWindow(Rect::FromXYWH(10, 10, 100, 100), &l);
  auto& o = NewWindow(Rect::FromXYWH(300, 300, 100, 100), &other);
  ShowAndWait(w);
  ShowAndWait(o);
  // A drag that leaves the window keeps reporting to it (the implicit grab).
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "50", "50", "mousedown", "1", "mousemove",
                                                    "350", "350", "mouseup", "1"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !l.Ups.empty(); }));
  EXPECT_EQ(l.Ups[0].Pos, (gfx::Point{340, 340}));
  EXPECT_TRUE(other.Downs.empty());

  // An explicit capture does the same without a button.
  w.SetCapture();
  const std::size_t before = l.Moves.size();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "320", "330", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Downs.size() == 2; }));
  EXPECT_GT(l.Moves.size(), before);
  EXPECT_EQ(l.Downs[1].Pos, (gfx::Point{310, 320}));
  EXPECT_TRUE(other.Downs.empty());
  // Another of our windows taking the capture takes it away.
  o.SetCapture();
  EXPECT_EQ(l.CaptureLost, 1);
  o.ReleaseCapture();
  EXPECT_EQ(other.CaptureLost, 0);
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return other.Downs.size() == 1; }));
  EXPECT_EQ(l.Downs.size(), 2u);

  // Releasing the capture while the button is still held lets the pointer go: the rest of
  // the drag reaches the window under it.
  l.OnDown = [&](const plat::MouseEvent&) { w.ReleaseCapture(); };
  const std::size_t otherMoves = other.Moves.size();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "50", "50", "mousedown", "1", "sleep", "0.3",
                                                    "mousemove", "340", "350", "sleep", "0.1", "mouseup", "1"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return other.Ups.size() == 2; }));
  EXPECT_EQ(l.Downs.size(), 3u);
  EXPECT_EQ(l.Ups.size(), 2u);
  EXPECT_GT(other.Moves.size(), otherMoves);
  EXPECT_EQ(other.Ups.back().Pos, (gfx::Point{40, 50}));
}

TEST_F(X11Fixture, MoveDragFollowsThePointerUntilTheButtonIsUp) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(100, 100, 80, 40), &l);
  ShowAndWait(w);
  bool returned = false;
  l.OnDown = [&](const plat::MouseEvent&) {
    w.BeginMoveDrag();  // starts the move and returns; the events carry it on
    returned = true;
  };
  const pid_t drag = Server->Spawn({kXdotool, "mousemove", "110", "110", "mousedown", "1", "sleep", "0.2", "mousemove",
                                    "300", "250", "sleep", "0.2", "mousemove", "310", "260", "sleep", "0.2", "mouseup",
                                    "1"});
  EXPECT_EQ(PumpUntilExit(*Platform, drag), 0);
  ASSERT_TRUE(returned);
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(300, 250, 80, 40));
  Pump(*Platform, 30);
  EXPECT_EQ(ServerGeometry(Peer, Xid(w)), Rect::FromXYWH(300, 250, 80, 40));
  ASSERT_FALSE(l.Moved.empty());
  EXPECT_EQ(l.Moved.back(), Rect::FromXYWH(300, 250, 80, 40));
  EXPECT_TRUE(l.Ups.empty());  // the release ended the move
  EXPECT_EQ(l.Downs.size(), 1u);

  // Without the left button held there is nothing to move.
  l.OnDown = nullptr;
  w.BeginMoveDrag();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "320", "260", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Ups.size() == 1; }));
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(300, 250, 80, 40));
}

TEST_F(X11Fixture, KeysArriveAsVirtualKeysWithShiftStateAndText) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(0, 0, 100, 100), &l);
  ShowAndWait(w, true);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return w.Active(); }));
  EXPECT_EQ(l.Activations, (std::vector<bool>{true}));

  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "key", "--delay", "5", "a", "shift+b", "Left", "Up",
                                                    "Right", "Down", "Prior", "Next", "Home", "End", "F1", "F12",
                                                    "Return", "Escape", "space", "Tab", "BackSpace", "Delete", "7",
                                                    "ctrl+c", "alt+x"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.KeyUps.size() >= 24; }));
  std::vector<int> keys;
  for (const auto& k : l.KeyDowns) keys.push_back(k.Key);
  using namespace plat;
  const std::vector<int> expected = {'A', VK_SHIFT, 'B', VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_PRIOR,
                                     VK_NEXT, VK_HOME, VK_END, VK_F1, VK_F12, VK_RETURN, VK_ESCAPE, VK_SPACE,
                                     VK_TAB, VK_BACK, VK_DELETE, '7', VK_CONTROL, 'C', VK_MENU, 'X'};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(l.KeyDowns[0].Shift, 0);
  EXPECT_EQ(l.KeyDowns[1].Shift, ssShift);  // the shift key itself counts as held
  EXPECT_EQ(l.KeyDowns[2].Shift, ssShift);
  EXPECT_EQ(l.KeyDowns[21].Shift, ssCtrl);
  EXPECT_EQ(l.KeyDowns[23].Shift, ssAlt);
  for (const auto& k : l.KeyDowns) EXPECT_FALSE(k.Repeat);
  // Text as the classic character messages give it: control characters for Enter, Escape,
  // Tab, Backspace and Ctrl+C; none for Delete or Alt combinations.
  const std::vector<std::string> chars = {"a", "B", "\r", "\x1b", " ", "\t", "\b", "7", "\x03"};
  EXPECT_EQ(l.Chars, chars);

  // Text of any layout, and compose sequences, come through the input method. xdotool types
  // these by mapping a spare key for a moment; spaced out, each press is read before the next
  // mapping replaces the one it was typed with.
  l.Chars.clear();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "key", "--delay", "150", "Cyrillic_a", "Greek_alpha",
                                                    "EuroSign", "dead_acute", "e"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Chars.size() >= 4; }))
      << ::testing::PrintToString(l.Chars) << " after " << l.KeyDowns.size() << " presses";
  Pump(*Platform, 30);
  EXPECT_EQ(l.Chars, (std::vector<std::string>{"\xd0\xb0", "\xce\xb1", "\xe2\x82\xac", "\xc3\xa9"}));

  // A popup shown and activated does not take the focus away.
  auto& popup = NewWindow(Rect::FromXYWH(200, 0, 50, 50), nullptr, plat::WindowKind::Popup);
  ShowAndWait(popup, true);
  popup.Activate();
  Pump(*Platform, 50);
  EXPECT_TRUE(w.Active());
  EXPECT_FALSE(popup.Active());
  EXPECT_EQ(l.Activations, (std::vector<bool>{true}));

  // A key held down repeats: repeated presses without releases in between.
  const std::size_t downsBefore = l.KeyDowns.size(), upsBefore = l.KeyUps.size();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "keydown", "x", "sleep", "1", "keyup", "x"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.KeyUps.size() == upsBefore + 1; }));
  Pump(*Platform, 30);
  EXPECT_EQ(l.KeyUps.size(), upsBefore + 1);  // no release between the repeats
  ASSERT_GT(l.KeyDowns.size(), downsBefore + 1);
  EXPECT_FALSE(l.KeyDowns[downsBefore].Repeat);
  EXPECT_TRUE(l.KeyDowns.back().Repeat);
  EXPECT_EQ(l.KeyDowns.back().Key, 'X');

  // Hiding the active window hands the focus to our next window.
  RecordingListener l2;
  auto& second = NewWindow(Rect::FromXYWH(0, 200, 50, 50), &l2);
  ShowAndWait(second, true);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return second.Active() && !w.Active(); }));
  second.Hide();
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return w.Active() && !second.Active(); }));
  EXPECT_EQ(l2.Activations, (std::vector<bool>{true, false}));
  EXPECT_EQ(l.Activations, (std::vector<bool>{true, false, true}));

  // Lock keys read back their toggle state.
  EXPECT_FALSE(Platform->IsKeyToggled(VK_CAPITAL));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "key", "Caps_Lock"})), 0);
  EXPECT_TRUE(Platform->IsKeyToggled(VK_CAPITAL));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "key", "Caps_Lock"})), 0);
  EXPECT_FALSE(Platform->IsKeyToggled(VK_CAPITAL));
  EXPECT_FALSE(Platform->IsKeyToggled('A'));

  // Held keys read back while down.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "keydown", "shift"})), 0);
  EXPECT_TRUE(Platform->IsKeyDown(VK_SHIFT));
  EXPECT_FALSE(Platform->IsKeyDown(VK_CONTROL));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "keyup", "shift"})), 0);
  EXPECT_FALSE(Platform->IsKeyDown(VK_SHIFT));
}

TEST_F(X11Fixture, ClickingAWindowRaisesAndActivatesItButNotAPopup) {
  RecordingListener la, lb, lp;
  auto& a = NewWindow(Rect::FromXYWH(0, 0, 200, 200), &la);
  auto& b = NewWindow(Rect::FromXYWH(100, 100, 200, 200), &lb);
  auto& popup = NewWindow(Rect::FromXYWH(500, 0, 50, 50), &lp, plat::WindowKind::Popup);
  ShowAndWait(a);
  ShowAndWait(b, true);
  ShowAndWait(popup);
  Paint(a, gfx::clRed);
  Paint(b, gfx::clBlue);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return b.Active(); }));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "50", "50", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return a.Active() && !b.Active(); }));
  Pump(*Platform, 30);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(150, 150, 1, 1)).At(0, 0), gfx::clRed);  // a is on top now
  EXPECT_EQ(la.Downs.size(), 1u);

  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({kXdotool, "mousemove", "520", "20", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return lp.Ups.size() == 1; }));
  Pump(*Platform, 30);
  EXPECT_TRUE(a.Active());
  EXPECT_FALSE(popup.Active());
}
