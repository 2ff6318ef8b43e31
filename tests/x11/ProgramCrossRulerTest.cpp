// The cross ruler on a real X server: chosen from the strip's menu, it stands on the strip's
// zero, looks as on the virtual desktop, and leaves the keyboard with the strip.
#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

namespace {
const char* kStrip = "[Application]\nLeft=100\nTop=120\nLength=500";
const Rect kStripBounds = Rect::FromXYWH(100, 120, 500, 58);
// The zero is the strip's first column below its last row, (100, 178): the 67 x 644 cross
// ruler has its right column on x = 100 and its top on y = 177.
const Rect kCrossBounds = Rect::FromXYWH(34, 177, 67, 644);
// Its part on the 1024 x 768 screen.
const Rect kCrossVisible = Rect::FromXYWH(34, 177, 67, 768 - 177);
// The menu button, and "Cross Ruler" as the eighth command of the menu.
const char* kChooseCrossRuler =
    "mouse 145 128\nclick left\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\n"
    "key enter\n";
}  // namespace

TEST_F(X11Program, TheCrossRulerStandsOnTheZeroAndTheStripKeepsTheKeyboard) {
  const gfx::Point pointer{300, 400};
  const gfx::Bitmap look = ShotVirtual(kStrip, kChooseCrossRuler + PointerAt(pointer), kCrossVisible);
  WriteSettings(kStrip);
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  ASSERT_EQ(Geometry(strip), kStripBounds);
  ASSERT_EQ(Xdotool({"mousemove", "145", "128", "click", "1"}), 0);
  std::vector<std::string> keys{"key", "--delay", "20"};
  for (int i = 0; i < 8; ++i) keys.push_back("Down");
  keys.push_back("Return");
  ASSERT_EQ(Xdotool(keys), 0);

  ::Window cross = None;
  ASSERT_TRUE(PollUntil([&] {
    for (const ShownWindow& w : ShownWindows())
      if (w.Id != strip && w.Bounds == kCrossBounds) cross = w.Id;
    return cross != None;
  })) << "no cross ruler at 34, 177, 67 x 644";
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(pointer.x), std::to_string(pointer.y)}), 0);
  EXPECT_TRUE(WaitForPixels(kCrossVisible, look)) << Difference(Capture(kCrossVisible), look);

  // The keyboard stays with the strip: Right moves it a pixel, and the cross ruler with it.
  ::Window focus = None;
  int revert = 0;
  XGetInputFocus(Peer, &focus, &revert);
  EXPECT_EQ(focus, strip);
  ASSERT_EQ(Xdotool({"key", "Right"}), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip) == kStripBounds.Offset(1, 0); })) << "the strip did not move";
  EXPECT_TRUE(PollUntil([&] { return Geometry(cross) == kCrossBounds.Offset(1, 0); })) << "the cross ruler stayed";
  KillProgram();
}
