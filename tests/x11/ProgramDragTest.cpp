// Moving the strip on a real X server by dragging its caption strip.
#include <algorithm>

#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

namespace {
// Without the mouse loupe, which shows after a drag and would count among the windows.
const char* kStrip = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";

std::vector<std::string> MouseMove(int x, int y) { return {"mousemove", std::to_string(x), std::to_string(y)}; }
}  // namespace

TEST_F(X11Program, DraggingTheCaptionStripMovesTheWindow) {
  WriteSettings(kStrip);
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();

  // Pressed on the caption strip, clear of its buttons: the zero-position readout shows
  // above the strip, in the topmost band.
  ASSERT_EQ(Xdotool(MouseMove(400, 128)), 0);
  ASSERT_EQ(Xdotool({"mousedown", "1"}), 0);
  std::vector<ShownWindow> shown;
  // Mapped, then raised into the topmost band: wait for both, not for the map alone.
  ASSERT_TRUE(PollUntil([&] { return (shown = ShownWindows()).size() == 2 && shown[0].Id == strip; }))
      << "no readout above the strip while pressed";
  EXPECT_EQ(shown[1].Bounds.left, 100);
  EXPECT_EQ(shown[1].Bounds.top, 98);
  EXPECT_EQ(shown[1].Bounds.Height(), 22);
  const ::Window readout = shown[1].Id;

  // The window follows the pointer step by step, the readout with it.
  ASSERT_EQ(Xdotool(MouseMove(450, 178)), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip) == Rect::FromXYWH(150, 170, 500, 58); })) << Geometry(strip).left;
  ASSERT_EQ(Xdotool(MouseMove(470, 180)), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip) == Rect::FromXYWH(170, 172, 500, 58); })) << Geometry(strip).left;
  EXPECT_TRUE(PollUntil([&] { return Geometry(readout).left == 170 && Geometry(readout).top == 150; }));

  // Mid-drag, strip and readout look as they do on the virtual desktop in the same state.
  const std::string drag = "mouse 400 128\ndown left\nmouse 450 178\nmouse 470 180\nwait 55\n";
  const Rect stripNow = Rect::FromXYWH(170, 172, 500, 58);
  const Rect readoutNow = Geometry(readout);
  const gfx::Bitmap stripLook = ShotVirtual(kStrip, drag, stripNow);
  const gfx::Bitmap readoutLook = ShotVirtual(kStrip, drag, readoutNow);
  EXPECT_TRUE(WaitForPixels(stripNow, stripLook)) << Difference(Capture(stripNow), stripLook);
  EXPECT_TRUE(WaitForPixels(readoutNow, readoutLook)) << Difference(Capture(readoutNow), readoutLook);

  // Released: the readout goes, the strip stays where it was dropped.
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
  EXPECT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; })) << "the readout stays after the release";
  // The pointer moving on afterwards leaves it there: the reading for the new place shows
  // only once the program has seen that move.
  ASSERT_EQ(Xdotool(MouseMove(700, 600)), 0);
  const gfx::Bitmap after = ShotVirtual(kStrip, drag + "up left\n" + PointerAt({700, 600}), stripNow);
  EXPECT_TRUE(WaitForPixels(stripNow, after)) << Difference(Capture(stripNow), after);
  EXPECT_EQ(Geometry(strip), stripNow) << "moved after the release";
}
