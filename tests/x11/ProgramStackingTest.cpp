// The strip's place in the stack on a real X server, with another program's window over it.
#include <algorithm>

#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

namespace {
const Rect kStripBounds = Rect::FromXYWH(100, 120, 500, 58);
// Another program's window over the right half of the strip; the caption's reading is left of it.
const Rect kOther = Rect::FromXYWH(350, 100, 400, 200);
const Rect kCovered = kStripBounds.Intersect(kOther);
const Rect kUncovered = Rect::FromXYWH(100, 120, 250, 58);
constexpr gfx::TColor kOtherColor = 0x0000FF;  // red

std::string Settings(bool onTop) {
  return std::string("[Application]\nLeft=100\nTop=120\nLength=500\nOnTop=") + (onTop ? "1" : "0");
}

std::ptrdiff_t StackIndex(const std::vector<::Window>& order, ::Window w) {
  return std::find(order.begin(), order.end(), w) - order.begin();
}

bool AllOf(const gfx::Bitmap& b, gfx::TColor c) {
  return std::all_of(b.Pixels().begin(), b.Pixels().end(), [c](gfx::TColor p) { return p == c; });
}
}  // namespace

TEST_F(X11Program, TheTopmostBandHoldsAgainstAnotherProgramsWindow) {
  // A plain window such as a terminal's, created after the strip and raised.
  auto newOther = [&] {
    const ::Window w = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), kOther.left, kOther.top,
                                           unsigned(kOther.Width()), unsigned(kOther.Height()), 0, 0, 0xFF0000);
    XMapRaised(Peer, w);
    XSync(Peer, False);
    return w;
  };

  WriteSettings(Settings(true));
  StartProgram();
  ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  ASSERT_EQ(Xdotool({"mousemove", "300", "400"}), 0);
  const gfx::Bitmap look = ShotVirtual(Settings(true), PointerAt({300, 400}), kStripBounds);
  const ::Window other = newOther();
  EXPECT_TRUE(PollUntil([&] {
    const auto order = StackingOrder();
    return StackIndex(order, strip) > StackIndex(order, other);
  })) << "a window mapped after the strip stays above it";
  EXPECT_TRUE(WaitForPixels(kStripBounds, look)) << Difference(Capture(kStripBounds), look);
  // Raised again, and again by moving it: the strip comes back on top each time.
  for (int i = 0; i < 2; ++i) {
    if (i == 0)
      XRaiseWindow(Peer, other);
    else
      XMoveWindow(Peer, other, kOther.left, kOther.top + 1);
    XSync(Peer, False);
    EXPECT_TRUE(PollUntil([&] {
      const auto order = StackingOrder();
      return StackIndex(order, strip) > StackIndex(order, other);
    })) << "round " << i;
    EXPECT_TRUE(WaitForPixels(kStripBounds, look)) << Difference(Capture(kStripBounds), look);
  }
  XDestroyWindow(Peer, other);
  KillProgram();

  // Without OnTop, the same window raised over the strip covers it.
  WriteSettings(Settings(false));
  StartProgram();
  strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  // Started up fully (a new program may come to the front once while it does so) and reading.
  const gfx::Bitmap plain = ShotVirtual(Settings(false), PointerAt({300, 400}), kStripBounds);
  ASSERT_TRUE(WaitForPixels(kStripBounds, plain)) << Difference(Capture(kStripBounds), plain);
  const ::Window cover = newOther();
  // Once the reading for a new pointer place shows, the program has seen the map before it.
  ASSERT_EQ(Xdotool({"mousemove", "200", "400"}), 0);
  const gfx::Bitmap left = ShotVirtual(Settings(false), PointerAt({200, 400}), kUncovered);
  EXPECT_TRUE(WaitForPixels(kUncovered, left)) << Difference(Capture(kUncovered), left);
  const auto order = StackingOrder();
  EXPECT_GT(StackIndex(order, cover), StackIndex(order, strip));
  EXPECT_TRUE(AllOf(Capture(kCovered), kOtherColor));
}
