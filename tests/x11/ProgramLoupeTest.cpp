// The mouse loupe on a real X server: it follows the pointer, is cut to its disc for drawing
// and for the mouse, and leaves the keyboard with the strip.
#include "ProgramFixture.h"

#include <X11/extensions/shape.h>

using namespace x11test;
using gfx::Rect;

namespace {

// The bounding box of a window's shape of KIND, and how many rectangles make it.
std::pair<Rect, int> ShapeOf(Display* dpy, ::Window w, int kind) {
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(dpy, w, kind, &count, &ordering);
  Rect box{0, 0, 0, 0};
  for (int i = 0; i < count; ++i) {
    Rect r = Rect::FromXYWH(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    box = i == 0 ? r : Rect{std::min(box.left, r.left), std::min(box.top, r.top), std::max(box.right, r.right),
                            std::max(box.bottom, r.bottom)};
  }
  if (rects) XFree(rects);
  return {box, count};
}

}  // namespace

TEST_F(X11Program, TheMouseLoupeFollowsThePointerCutToItsDiscAndTheStripKeepsTheKeyboard) {
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  // Checked by default, the loupe shows at the end of a move drag on the caption strip.
  ASSERT_EQ(Xdotool({"mousemove", "400", "128", "mousedown", "1"}), 0);
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 2; })) << "no readout while pressed";
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);

  // Pointer (600, 400): loupe 5 pixels below it, panel beside the loupe 50 lower.
  ASSERT_EQ(Xdotool({"mousemove", "600", "400"}), 0);
  ::Window loupe = None, panel = None;
  ASSERT_TRUE(PollUntil([&] {
    loupe = panel = None;
    for (const ShownWindow& w : ShownWindows()) {
      if (w.Bounds == Rect::FromXYWH(600, 405, 100, 100)) loupe = w.Id;
      if (w.Bounds == Rect::FromXYWH(700, 455, 90, 69)) panel = w.Id;
    }
    return loupe != None && panel != None;
  })) << "loupe and panel not beside the pointer";
  ASSERT_EQ(Xdotool({"mousemove", "200", "300"}), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(loupe) == Rect::FromXYWH(200, 305, 100, 100); })) << "did not follow";

  // Cut to the disc (bounding box 1, 0 to 101, 100) for drawing and for the mouse.
  for (int kind : {ShapeBounding, ShapeInput}) {
    auto [box, count] = ShapeOf(Peer, loupe, kind);
    EXPECT_EQ(box, (Rect{1, 0, 101, 100})) << "shape kind " << kind;
    EXPECT_GT(count, 50) << "shape kind " << kind;
  }
  // Over the strip, the pixel at the loupe's corner still shows the strip, and one inside
  // the disc's edge shows the ring. Pointer (300, 100): loupe at (300, 105).
  const gfx::Bitmap before = Capture(Rect::FromXYWH(300, 125, 1, 1));
  ASSERT_EQ(Xdotool({"mousemove", "300", "100"}), 0);
  ASSERT_TRUE(PollUntil([&] { return Geometry(loupe) == Rect::FromXYWH(300, 105, 100, 100); }));
  EXPECT_TRUE(PollUntil([&] { return (Capture(Rect::FromXYWH(301, 155, 1, 1)).At(0, 0) & 0xFFFFFF) == 0; }))
      << "no ring on the disc's edge";
  EXPECT_EQ(Capture(Rect::FromXYWH(300, 125, 1, 1)).At(0, 0), before.At(0, 0)) << "the corner outside the disc is drawn";

  // The keys still reach the strip: Right moves it a pixel.
  ASSERT_EQ(Xdotool({"key", "Right"}), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip).left == 101; })) << Geometry(strip).left;
}

TEST_F(X11Program, WithThePointerStillTheProgramSleepsYetTheLoupeShowsWhatChangesUnderIt) {
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500");
  StartProgram();
  ASSERT_NE(WaitForStrip(), None) << ProgramOutput();
  ASSERT_EQ(Xdotool({"mousemove", "400", "128", "mousedown", "1", "mouseup", "1"}), 0);
  ASSERT_EQ(Xdotool({"mousemove", "600", "400"}), 0);
  ASSERT_TRUE(PollUntil([&] {
    for (const ShownWindow& w : ShownWindows())
      if (w.Bounds == Rect::FromXYWH(600, 405, 100, 100)) return true;
    return false;
  })) << "no loupe beside the pointer";

  // A window appears under the still pointer. The loupe shows the pointer's pixel at its
  // centre (650, 455), two screen pixels for one: the window's pixel (590, 390), 10 left of
  // and above the pointer, shows at (630, 435), clear of the cross and the ring. The loupe
  // refreshes a still pointer every 50th tick (2.75 s), slept ticks counted as ticks.
  const gfx::Rect probe = Rect::FromXYWH(630, 435, 1, 1);
  auto shows = [&](gfx::TColor colour) { return (Capture(probe).At(0, 0) & 0xFFFFFF) == colour; };
  ASSERT_FALSE(shows(gfx::clRed));
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.background_pixel = 0xFF0000;
  const ::Window red = XCreateWindow(Peer, DefaultRootWindow(Peer), 585, 380, 20, 20, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWOverrideRedirect | CWBackPixel, &attrs);
  XMapWindow(Peer, red);
  XSync(Peer, False);
  EXPECT_TRUE(PollUntil([&] { return shows(gfx::clRed); }, 6000))
      << "the loupe did not show the window under the still pointer";
  // From that refresh to the next, 50 ticks of the strip and of the loupe would wake the
  // program at least 50 times; asleep, it wakes about once a second to ask where the pointer
  // is. The window turns blue: the loupe shows it at its next refresh.
  const long sleeps = ProgramSleeps();
  ASSERT_GE(sleeps, 0);
  XSetWindowBackground(Peer, red, 0x0000FF);
  XClearWindow(Peer, red);
  XSync(Peer, False);
  EXPECT_TRUE(PollUntil([&] { return shows(gfx::clBlue); }, 6000)) << "the loupe did not refresh again";
  EXPECT_LT(ProgramSleeps() - sleeps, 25) << "the program does not sleep while the pointer is still";
  XDestroyWindow(Peer, red);
  XSync(Peer, False);
}
