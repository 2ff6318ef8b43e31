// The strip on a real X server: where it appears, what it looks like, what it reads.
#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

namespace {
const char* kStrip = "[Application]\nLeft=100\nTop=120\nLength=500";
const Rect kStripBounds = Rect::FromXYWH(100, 120, 500, 58);
}  // namespace

TEST_F(X11Program, TheStripAppearsWhereTheSettingsPutItWithTheStoredSize) {
  struct Case {
    const char* Settings;
    Rect Expect;
  } cases[] = {
      {kStrip, kStripBounds},
      // Partly off the screen stays where it was put.
      {"[Application]\nLeft=900\nTop=-20\nLength=300", Rect::FromXYWH(900, -20, 300, 58)},
      {"[Application]\nLeft=-50\nTop=500\nLength=300\nOrientation=1", Rect::FromXYWH(-50, 500, 67, 300)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Settings);
    WriteSettings(c.Settings);
    StartProgram();
    const ::Window strip = WaitForStrip();
    ASSERT_NE(strip, None) << ProgramOutput();
    EXPECT_EQ(Geometry(strip), c.Expect);
    KillProgram();
  }
}

TEST_F(X11Program, AScreenshotOfTheStripMatchesTheVirtualDesktopPixelForPixel) {
  struct Case {
    const char* Settings;
    Rect Bounds;
    gfx::Point Pointer;
  } cases[] = {
      {kStrip, kStripBounds, {300, 400}},
      // Vertical, flipped, large: the turned captions and the other scale.
      {"[Application]\nLeft=600\nTop=100\nLength=450\nOrientation=1\nRulerFlip=1\n[Ruler]\nLarge=1",
       Rect::FromXYWH(600, 100, 97, 450), {20, 333}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Settings);
    const gfx::Bitmap expected = ShotVirtual(c.Settings, PointerAt(c.Pointer), c.Bounds);
    WriteSettings(c.Settings);
    StartProgram();
    const ::Window strip = WaitForStrip();
    ASSERT_NE(strip, None) << ProgramOutput();
    ASSERT_EQ(Geometry(strip), c.Bounds);
    ASSERT_EQ(Xdotool({"mousemove", std::to_string(c.Pointer.x), std::to_string(c.Pointer.y)}), 0);
    EXPECT_TRUE(WaitForPixels(c.Bounds, expected)) << Difference(Capture(c.Bounds), expected);
    KillProgram();
  }
}

TEST_F(X11Program, MovingThePointerUpdatesTheReading) {
  WriteSettings(kStrip);
  StartProgram();
  ASSERT_NE(WaitForStrip(), None) << ProgramOutput();
  // Left of the strip, far right of it on the screen, above it: readings -60, 631, 200.
  const gfx::Point points[] = {{40, 10}, {731, 500}, {300, 400}};
  std::vector<gfx::Bitmap> looks;
  for (gfx::Point p : points) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    looks.push_back(ShotVirtual(kStrip, PointerAt(p), kStripBounds));
    ASSERT_EQ(Xdotool({"mousemove", std::to_string(p.x), std::to_string(p.y)}), 0);
    EXPECT_TRUE(WaitForPixels(kStripBounds, looks.back())) << Difference(Capture(kStripBounds), looks.back());
  }
  // Each reading looks different, so each wait above saw the strip change.
  EXPECT_NE(looks[0], looks[1]);
  EXPECT_NE(looks[1], looks[2]);
  EXPECT_NE(looks[0], looks[2]);
}
