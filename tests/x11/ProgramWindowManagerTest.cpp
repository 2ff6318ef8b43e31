// The strip under real window managers, a tiling one (i3) and a stacking one (openbox): it
// floats at its stored place and size, undecorated, above ordinary windows, and follows the
// program's own drags, grip and flips, whatever the manager would do with a plain window.
#include "ProgramFixture.h"  // gtest before Xlib

#include <X11/Xutil.h>

#include <algorithm>

using namespace x11test;
using gfx::Rect;

namespace {

constexpr gfx::TColor kOtherColor = 0x0000FF;  // red, a colour the strip never shows

std::vector<std::string> Args(std::initializer_list<std::string> words) { return words; }
std::vector<std::string> MouseMove(int x, int y) { return {"mousemove", std::to_string(x), std::to_string(y)}; }

std::ptrdiff_t StackIndex(const std::vector<::Window>& order, ::Window w) {
  return std::find(order.begin(), order.end(), w) - order.begin();
}

std::string Text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.Width()) + "x" +
         std::to_string(r.Height());
}

class X11ProgramManaged : public X11Program {
 protected:
  // The strip shows exactly R, and the manager's frame around it is no larger: not tiled, no
  // title bar, no border.
  void ExpectStripAt(::Window strip, const Rect& r, const char* when) {
    EXPECT_TRUE(PollUntil([&] { return Geometry(strip) == r && Geometry(TopLevel(strip)) == r; }))
        << when << ": strip " << Text(Geometry(strip)) << ", frame " << Text(Geometry(TopLevel(strip))) << ", want "
        << Text(r);
  }

  // Another program's plain window over the strip, asking for a place of its own, activated.
  void ExpectAboveAnOrdinaryWindow(::Window strip, const Rect& stripBounds) {
    const ::Window other = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 100, 100, 800, 500, 0, 0, 0xFF0000);
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = USPosition | USSize;
    XSetWMNormalHints(Peer, other, hints);
    XFree(hints);
    XMapWindow(Peer, other);
    XSync(Peer, False);
    ASSERT_TRUE(PollUntil([&] {
      XWindowAttributes a{};
      return XGetWindowAttributes(Peer, other, &a) && a.map_state == IsViewable;
    }));
    ASSERT_EQ(Xdotool(Args({"windowactivate", "--sync", std::to_string(other)})), 0);
    EXPECT_TRUE(PollUntil([&] {
      const auto order = StackingOrder();
      return StackIndex(order, TopLevel(strip)) > StackIndex(order, TopLevel(other));
    })) << "the strip went below the window activated after it";
    const gfx::Bitmap seen = Capture(stripBounds);
    EXPECT_TRUE(std::none_of(seen.Pixels().begin(), seen.Pixels().end(), [](gfx::TColor c) { return c == kOtherColor; }))
        << "the other window shows through the strip";
    XDestroyWindow(Peer, other);
    XSync(Peer, False);
  }

  // A left-button drag from FROM to TO; the program must have taken the press before the move.
  void Drag(gfx::Point from, gfx::Point to, const std::function<bool()>& pressed) {
    ASSERT_EQ(Xdotool(MouseMove(from.x, from.y)), 0);
    ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
    ASSERT_TRUE(PollUntil(pressed)) << "the press did not reach the strip";
    ASSERT_EQ(Xdotool(MouseMove(to.x, to.y)), 0);
  }

  // A left-button press on the grip at AT; the program takes it by warping the pointer to the
  // grip's fixed point WARPED, and only a move after that warp lengthens the strip.
  void PressGrip(gfx::Point at, gfx::Point warped) {
    ASSERT_EQ(Xdotool(MouseMove(at.x, at.y)), 0);
    ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
    gfx::Point now{};
    ASSERT_TRUE(PollUntil([&] {
      ::Window root = 0, child = 0;
      int wx = 0, wy = 0;
      unsigned mask = 0;
      XQueryPointer(Peer, DefaultRootWindow(Peer), &root, &child, &now.x, &now.y, &wx, &wy, &mask);
      return now.x == warped.x && now.y == warped.y;
    })) << "the press on the grip did not put the pointer on its fixed point; it is at " << now.x << "," << now.y;
  }

  // Start under MANAGER, at 200,150 with length 640: checks placement, stacking, a move by the
  // caption strip, the grip both ways and the close button.
  void HorizontalStripUnder(const std::string& manager) {
    StartWindowManager(manager);
    WriteSettings("[Application]\nLeft=200\nTop=150\nLength=640\nOnTop=1\nMouseLoupe=0");
    StartProgram();
    const ::Window strip = WaitForStrip();
    ASSERT_NE(strip, None) << ProgramOutput();
    ExpectStripAt(strip, Rect::FromXYWH(200, 150, 640, 58), "at start");
    ExpectAboveAnOrdinaryWindow(strip, Rect::FromXYWH(200, 150, 640, 58));

    // Caption strip 200..839 x 150..168, clear of the buttons and labels at x 500; the
    // position readout shows while the button is held.
    Drag({500, 158}, {560, 208}, [&] { return ShownWindows().size() == 2; });
    ExpectStripAt(strip, Rect::FromXYWH(260, 200, 640, 58), "moved");
    ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
    ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }));

    // The grip (13 wide, 4 from the end: x 883..895). The press puts the pointer on the grip's
    // left + 2, from where width = x - 260 + 13 + 2; so x 990 gives 745 and x 885 gives 640.
    PressGrip({890, 208}, {885, 208});
    ASSERT_EQ(Xdotool(MouseMove(990, 208)), 0);
    ExpectStripAt(strip, Rect::FromXYWH(260, 200, 745, 58), "lengthened");
    ASSERT_EQ(Xdotool(MouseMove(885, 208)), 0);
    ExpectStripAt(strip, Rect::FromXYWH(260, 200, 640, 58), "shortened again");
    ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);

    // The close button: panel at 1,1 in the window, the button at 2,2 in the panel.
    ASSERT_EQ(Xdotool({"mousemove", "269", "209", "click", "1"}), 0);
    EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
    EXPECT_EQ(Setting("Left"), "260");
    EXPECT_EQ(Setting("Top"), "200");
    EXPECT_EQ(Setting("Length"), "640");
    EXPECT_EQ(Setting("Orientation"), "0");
  }
};

}  // namespace

TEST_F(X11ProgramManaged, UnderATilingManagerTheStripFloatsWhereTheSettingsPutIt) { HorizontalStripUnder("i3"); }

TEST_F(X11ProgramManaged, UnderAStackingManagerTheStripFloatsWhereTheSettingsPutIt) { HorizontalStripUnder("openbox"); }

TEST_F(X11ProgramManaged, UnderATilingManagerAVerticalStripKeepsItsSizeThroughDragsAndFlips) {
  StartWindowManager("i3");
  WriteSettings("[Application]\nLeft=200\nTop=150\nLength=400\nOrientation=1\nOnTop=1\nMouseLoupe=0");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  // 67 wide: narrower than the smallest floating window i3 makes of its own accord.
  ExpectStripAt(strip, Rect::FromXYWH(200, 150, 67, 400), "at start");
  ExpectAboveAnOrdinaryWindow(strip, Rect::FromXYWH(200, 150, 67, 400));

  // The caption strip runs down the left edge (x 200..219); y 450 is below its labels.
  Drag({210, 450}, {260, 500}, [&] { return ShownWindows().size() == 2; });
  ExpectStripAt(strip, Rect::FromXYWH(250, 200, 67, 400), "moved");
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }));

  // The grip at the bottom (y 583..595); from the grip's top + 2, height = y - 200 + 13 + 2.
  PressGrip({259, 590}, {259, 585});
  ASSERT_EQ(Xdotool(MouseMove(259, 690)), 0);
  ExpectStripAt(strip, Rect::FromXYWH(250, 200, 67, 505), "lengthened");
  ASSERT_EQ(Xdotool(MouseMove(259, 585)), 0);
  ExpectStripAt(strip, Rect::FromXYWH(250, 200, 67, 400), "shortened again");
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);

  // The flip button (panel 2,66 in the vertical layout; 64,2 in the horizontal one after a
  // flip) turns the strip about its top-left corner, length kept, thickness 58 or 67.
  ASSERT_EQ(Xdotool({"mousemove", "259", "273", "click", "1"}), 0);
  ExpectStripAt(strip, Rect::FromXYWH(250, 200, 400, 58), "flipped to horizontal");
  ASSERT_EQ(Xdotool({"mousemove", "321", "209", "click", "1"}), 0);
  ExpectStripAt(strip, Rect::FromXYWH(250, 200, 67, 400), "flipped back");

  ASSERT_EQ(Xdotool({"mousemove", "259", "209", "click", "1"}), 0);
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "250");
  EXPECT_EQ(Setting("Top"), "200");
  EXPECT_EQ(Setting("Length"), "400");
  EXPECT_EQ(Setting("Orientation"), "1");
}
