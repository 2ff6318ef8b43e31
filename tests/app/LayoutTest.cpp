// The eight layouts of the strip and the flips between them.
#include "tests/app/StripTestSupport.h"

TEST_F(StripTest, OrientationFlipTurnsTheWindowAboutItsCorner) {
  // The flip button: panel (58, 2) -> screen (159..171, 103..115); after the flip it sits at
  // panel (2, 66) -> screen (103..115, 167..179).
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100") +
                   "start\nmouse 165 108\nclick left\nwindows\n"
                   "prop frmMain.Ruler.Orientation\nprop frmMain.Ruler.Left\nprop frmMain.Ruler.Width\n"
                   "prop frmMain.Ruler.Height\nprop frmMain.Ruler.TickAlign\nprop frmMain.Ruler.Cursor\n"
                   "prop frmMain.shpResize.Width\nprop frmMain.pnlCaption.Height\nprop frmMain.btnResize2.Visible\n"
                   "prop frmMain.btnResize.Visible\n"
                   "mouse 108 172\nclick left\nwindows\nprop frmMain.btnFlip.Left\nprop frmMain.lblMsatPx.Left\n"
                   "prop frmMain.lblMsPos.Left\nprop frmMain.Ruler.Cursor\nprop frmMain.btnResize.Left\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 2u);
  EXPECT_EQ(mains[0], "frmMain 100 100 67 640 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 100 100 640 58 visible=1 topmost=0");
  auto p = r.Props();
  EXPECT_EQ(p["frmMain.Ruler.Orientation"], "orVert");
  EXPECT_EQ(p["frmMain.Ruler.Left"], "18");
  EXPECT_EQ(p["frmMain.Ruler.Width"], "49");
  EXPECT_EQ(p["frmMain.Ruler.Height"], "640");
  EXPECT_EQ(p["frmMain.Ruler.TickAlign"], "taBottomRight");
  EXPECT_EQ(p["frmMain.shpResize.Width"], "20");
  EXPECT_EQ(p["frmMain.pnlCaption.Height"], "638");
  EXPECT_EQ(p["frmMain.btnResize2.Visible"], "true");
  EXPECT_EQ(p["frmMain.btnResize.Visible"], "false");
  EXPECT_EQ(p["frmMain.btnFlip.Left"], "64");
  EXPECT_EQ(p["frmMain.lblMsatPx.Left"], "87");
  EXPECT_EQ(p["frmMain.lblMsPos.Left"], "161");
  EXPECT_EQ(p["frmMain.btnResize.Left"], "623");
  auto cursors = r.Lines("frmMain.Ruler.Cursor");
  ASSERT_EQ(cursors.size(), 2u);
  EXPECT_EQ(cursors[0], "frmMain.Ruler.Cursor = 12");
  EXPECT_EQ(cursors[1], "frmMain.Ruler.Cursor = 5");
}

TEST_F(StripTest, EightLayouts) {
  struct Case {
    const char* Settings;
    const char* Window;
    int Cursor;
    const char* TickAlign;
    int NumberIndent;
    int UnitSize;
  } cases[] = {
      {"Orientation=0\nRulerFlip=0\n[Ruler]\nLarge=0", "frmMain 10 20 640 58", 5, "taBottomRight", 4, 20},
      {"Orientation=0\nRulerFlip=0\n[Ruler]\nLarge=1", "frmMain 10 20 640 87", 5, "taBottomRight", 4, 40},
      {"Orientation=0\nRulerFlip=1\n[Ruler]\nLarge=0", "frmMain 10 20 640 62", 10, "taTopLeft", 28, 20},
      {"Orientation=0\nRulerFlip=1\n[Ruler]\nLarge=1", "frmMain 10 20 640 87", 10, "taTopLeft", 45, 40},
      {"Orientation=1\nRulerFlip=0\n[Ruler]\nLarge=0", "frmMain 10 20 67 400", 12, "taBottomRight", 4, 20},
      {"Orientation=1\nRulerFlip=0\n[Ruler]\nLarge=1", "frmMain 10 20 97 400", 12, "taBottomRight", 4, 40},
      {"Orientation=1\nRulerFlip=1\n[Ruler]\nLarge=0", "frmMain 10 20 69 400", 24, "taTopLeft", 33, 20},
      {"Orientation=1\nRulerFlip=1\n[Ruler]\nLarge=1", "frmMain 10 20 97 400", 24, "taTopLeft", 45, 40},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    const std::string shot = std::string(VANTREL_BINARY_DIR) + "/layout-" + std::to_string(++n) + ".png";
    StripRun r = Run(Settings(std::string("[Application]\nLeft=10\nTop=20\n") + c.Settings) +
                     "start\nwindows\nprop frmMain.Ruler.Cursor\nprop frmMain.Ruler.TickAlign\n"
                     "prop frmMain.Ruler.NumberIndent\nprop frmMain.Ruler.UnitSize\nprop frmMain.Ruler.UnitPrice\n"
                     "mouse 40 60\nwait 55\nshot " + shot + " 0 0 660 430\n");
    EXPECT_NE(r.Out.find(std::string(c.Window) + " visible=1"), std::string::npos) << c.Settings << "\n" << r.Out;
    auto p = r.Props();
    EXPECT_EQ(p["frmMain.Ruler.Cursor"], std::to_string(c.Cursor)) << c.Settings;
    EXPECT_EQ(p["frmMain.Ruler.TickAlign"], c.TickAlign) << c.Settings;
    EXPECT_EQ(p["frmMain.Ruler.NumberIndent"], std::to_string(c.NumberIndent)) << c.Settings;
    EXPECT_EQ(p["frmMain.Ruler.UnitSize"], std::to_string(c.UnitSize)) << c.Settings;
    EXPECT_EQ(p["frmMain.Ruler.UnitPrice"], std::to_string(c.UnitSize)) << c.Settings;
  }
}

TEST_F(StripTest, RulerFlipMovesTheStripToTheOtherSide) {
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100\nRulerFlip=1") +
                   "start\nwindows\nprop frmMain.shpResize.Top\nprop frmMain.pnlCaption.Top\nprop frmMain.Ruler.Top\n"
                   "pixel 300 100\npixel 300 161\n");
  EXPECT_NE(r.Out.find("frmMain 100 100 640 62 visible=1"), std::string::npos) << r.Out;
  auto p = r.Props();
  EXPECT_EQ(p["frmMain.shpResize.Top"], "43");
  EXPECT_EQ(p["frmMain.pnlCaption.Top"], "44");
  EXPECT_EQ(p["frmMain.Ruler.Top"], "0");
  auto px = r.Lines("pixel");
  ASSERT_EQ(px.size(), 2u) << r.Out;
  EXPECT_EQ(px[0], "pixel 300 100 0x000000");  // the ruler's frame at the top
  EXPECT_EQ(px[1], "pixel 300 161 0x000000");  // the strip's outline at the bottom
}

TEST_F(StripTest, ALongStripKeepsItsLengthThroughFlips) {
  StripRun r = Run(Settings("[Application]\nLength=5000") +
                   "start\nmouse 65 8\nclick left\nwindows\nmouse 8 73\nclick left\nwindows\nmouse 65 8\nclick left\n"
                   "windows\nclose\ncat Vantrel.ini\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 3u);
  EXPECT_EQ(mains[0], "frmMain 0 0 67 5000 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 0 0 5000 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 0 0 67 5000 visible=1 topmost=0");
  EXPECT_NE(r.Out.find("Length=5000\r\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Orientation=1\r\n"), std::string::npos) << r.Out;
}

TEST_F(StripTest, VerticalLabelsReadDownwardsWithUprightDigits) {
  const std::string shot = (FDir / "labels.bmp").string();
  // The reading of y = 400 on a vertical strip at top 100 is 300.
  StripRun r = Run(Settings("[Application]\nOrientation=1\nLeft=100\nTop=100") +
                   "start\nmouse 500 400\nwait 55\nprop frmMain.lblMsPos.Caption\nshot " + shot + " 101 101 18 300\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "300");
  gfx::Bitmap b = gfx::ReadBmpFile(shot);
  // "Mouse at pixel:" runs down the strip from y = 89 (panel) for about 70 pixels, 8-ish wide.
  gfx::Bitmap label = b.Copy(gfx::Rect{0, 85, 18, 164});
  gfx::Rect ink = InkBounds(label);
  EXPECT_GT(ink.Height(), 55);
  EXPECT_LT(ink.Width(), 12);
  // The digits stand in a column below it: three blobs, each taller than wide, one above the other.
  gfx::Bitmap digits = b.Copy(gfx::Rect{0, 166, 18, 240});
  gfx::Rect dink = InkBounds(digits);
  EXPECT_GT(dink.Height(), 20);
  EXPECT_LT(dink.Width(), 9);
  int blobs = 0;
  bool inBlob = false;
  std::string rows;
  for (int y = dink.top; y < dink.bottom; ++y) {
    bool any = false;
    for (int x = 0; x < digits.Width(); ++x) any = any || IsInk(digits.At(x, y));
    if (any && !inBlob) ++blobs;
    inBlob = any;
    rows += any ? '#' : '.';
  }
  EXPECT_EQ(blobs, 3) << rows;
}
