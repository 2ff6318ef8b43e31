// Measuring between edges on a real X server: the beams find another program's window.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ProgramFixture.h"

using namespace x11test;

namespace {

class X11Measure : public X11Program {
 protected:
  // Whether xclip reads TEXT from the clipboard within 10 s.
  ::testing::AssertionResult ClipboardBecomes(const std::string& text) {
    const std::string out = (Dir / "clip.txt").string();
    std::string read;
    const bool ok = PollUntil([&] {
      const pid_t pid = Server->Spawn({"xclip", "-selection", "clipboard", "-o"}, out);
      int status = 0;
      waitpid(pid, &status, 0);
      std::ifstream in(out);
      std::ostringstream s;
      s << in.rdbuf();
      read = s.str();
      return read == text;
    }, 10000);
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "clipboard: '" << read << "', want '" << text << "'";
  }
};

}  // namespace

TEST_F(X11Measure, EdgeBeamsMeasureAnotherProgramsWindowAndCopyItsSize) {
  // A red 137 x 41 window of another program at (300, 100), on Xvfb's black-and-white root
  // weave, where every pixel differs from its neighbours: the beams stop at its border.
  const gfx::Rect red = gfx::Rect::FromXYWH(300, 100, 137, 41);
  const gfx::Point at{350, 120};
  WriteSettings("[Application]\nLeft=100\nTop=600\nMouseLoupe=0\nLoupe=0");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  const ::Window other = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), red.left, red.top, unsigned(red.Width()),
                                             unsigned(red.Height()), 0, 0, 0xFF0000);
  XMapRaised(Peer, other);
  XSync(Peer, False);
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "key", "e"}), 0);
  ASSERT_TRUE(PollUntil([&] {
    const std::vector<ShownWindow> shown = ShownWindows();
    return std::any_of(shown.begin(), shown.end(), [](const ShownWindow& w) { return w.Bounds.Height() == 1; });
  })) << "no beams after E";
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(at.x), std::to_string(at.y)}), 0);
  const gfx::Rect beamH{red.left, at.y, red.right, at.y + 1}, beamV{at.x, red.top, at.x + 1, red.bottom};
  EXPECT_TRUE(PollUntil([&] {
    int found = 0;
    for (const ShownWindow& w : ShownWindows()) found += w.Bounds == beamH || w.Bounds == beamV;
    return found == 2;
  })) << "the beams do not end at the red window's border";

  // Ctrl+C puts "137 x 41" on the clipboard, as xclip reads it.
  ASSERT_EQ(Xdotool({"key", "ctrl+c"}), 0);
  EXPECT_TRUE(ClipboardBecomes("137 x 41"));
  XDestroyWindow(Peer, other);
  KillProgram();
}

TEST_F(X11Measure, ADraggedZeroSnapsOntoAnotherProgramsWindowAndTheChosenFormatIsCopied) {
  // The strip (58 high) at (200, 52): the row just below it, y 110, crosses a red 137 x 41
  // window at (300, 100). Dragged 103 to the right, its zero (its first pixel) would lie at 303,
  // 3 right of the window's left edge: it lands on 300. The settings choose CSS for readings.
  const gfx::Rect red = gfx::Rect::FromXYWH(300, 100, 137, 41);
  WriteSettings("[Application]\nLeft=200\nTop=52\nMouseLoupe=0\nLoupe=0\n[Copy]\nReading=css");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  const ::Window other = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), red.left, red.top, unsigned(red.Width()),
                                             unsigned(red.Height()), 0, 0, 0xFF0000);
  XMapWindow(Peer, other);
  XSync(Peer, False);
  ASSERT_TRUE(PollUntil([&] { return Capture(gfx::Rect::FromXYWH(350, 110, 1, 1)).At(0, 0) == 0x0000FFu; }))
      << "the red window is not shown";
  // Pressed on the caption strip, then moved in two steps, as a hand does.
  ASSERT_EQ(Xdotool({"mousemove", "500", "60", "mousedown", "1"}), 0);
  ASSERT_EQ(Xdotool({"mousemove", "550", "60"}), 0);
  ASSERT_TRUE(PollUntil([&] { return Geometry(strip).left == 250; })) << Geometry(strip).left;
  ASSERT_EQ(Xdotool({"mousemove", "603", "60"}), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip).left == red.left; })) << Geometry(strip).left;
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);

  // The beams inside the window, Ctrl+C: the size as CSS, as xclip reads it. The strip covers
  // the window's top rows (down to y 110), so the beams find 137 across and 141 - 110 = 31 down.
  ASSERT_EQ(Xdotool({"key", "e", "mousemove", "350", "120"}), 0);
  ASSERT_TRUE(PollUntil([&] {
    for (const ShownWindow& w : ShownWindows())
      if (w.Bounds == gfx::Rect{red.left, 120, red.right, 121}) return true;
    return false;
  })) << "no beam across the window";
  ASSERT_EQ(Xdotool({"key", "ctrl+c"}), 0);
  EXPECT_TRUE(ClipboardBecomes("width: 137px; height: 31px;"));
  XDestroyWindow(Peer, other);
  KillProgram();
}

TEST_F(X11Program, AnotherProgramActivatedKeepsTheKeyboardWhileThePointerMoves) {
  // With the lens option on, the strip's tick gives the strip the keyboard as the pointer moves,
  // but only while the program has it: once another program's window is activated, moves over
  // the screen must leave the focus there.
  WriteSettings("[Application]\nLeft=100\nTop=600\nMouseLoupe=0\nLoupe=1");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1"}), 0);  // the strip has the keyboard
  ASSERT_TRUE(PollUntil([&] {
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(Peer, &focus, &revert);
    return focus == strip;
  })) << "the strip did not take the keyboard";
  const ::Window other = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 100, 100, 300, 200, 0, 0, 0x00FF00);
  XMapWindow(Peer, other);
  XSync(Peer, False);
  ASSERT_TRUE(PollUntil([&] {
    XWindowAttributes a{};
    return XGetWindowAttributes(Peer, other, &a) && a.map_state == IsViewable;
  }));
  XSetInputFocus(Peer, other, RevertToParent, CurrentTime);
  XSync(Peer, False);
  // Moves over the other window, over the strip's ruler (where the lens shows) and away: each
  // runs the tick.
  for (const char* y : {"150", "200", "630", "640", "500"}) ASSERT_EQ(Xdotool({"mousemove", "300", y}), 0);
  // The tick has run after the last move once the caption reads it (x 300 at the strip's 100).
  const gfx::Rect caption = gfx::Rect::FromXYWH(100, 600, 640, 18);
  const gfx::Bitmap read = ShotVirtual("[Application]\nLeft=100\nTop=600\nMouseLoupe=0\nLoupe=1", PointerAt({300, 500}), caption);
  ASSERT_TRUE(WaitForPixels(caption, read)) << Difference(Capture(caption), read);
  ::Window focus = None;
  int revert = 0;
  XGetInputFocus(Peer, &focus, &revert);
  EXPECT_EQ(focus, other) << "the strip took the keyboard back";
  XDestroyWindow(Peer, other);
  KillProgram();
}
