// The reading of the pixel under the cursor, and the position readout.
#include "tests/app/StripTestSupport.h"

namespace {
const char* kAt100 = "[Application]\nLeft=100\nTop=100";
}

TEST_F(StripTest, ReadingFollowsTheCursorAnywhereOnTheScreen) {
  StripRun r = Run(Settings(kAt100) +
                   "start\n"
                   "mouse 100 130\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 99 130\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 739 130\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 900 700\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 0 0\nwait 55\nprop frmMain.lblMsPos.Caption\n");
  auto lines = r.Lines("frmMain.lblMsPos.Caption");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "frmMain.lblMsPos.Caption = 0");
  EXPECT_EQ(lines[1], "frmMain.lblMsPos.Caption = -1");
  EXPECT_EQ(lines[2], "frmMain.lblMsPos.Caption = 639");
  EXPECT_EQ(lines[3], "frmMain.lblMsPos.Caption = 800");
  EXPECT_EQ(lines[4], "frmMain.lblMsPos.Caption = -100");
}

TEST_F(StripTest, ReadingCountsFromTheScaleStart) {
  // Rolling the scale 30 pixels to the left: start value 1.5, the first pixel reads 30.
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 400 140\ndown left\nmouse 370 140\nup left\n"
                   "mouse 100 300\nwait 55\nprop frmMain.Ruler.StartValue\nprop frmMain.lblMsPos.Caption\n");
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "1.5");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "30");
  // Large mode: 40 pixels a unit, start value 1 reads 40 at the first pixel.
  std::filesystem::remove(FDir / "Vantrel.ini");
  r = Run(Settings("[Application]\nLeft=100\nMeasureStart=1\n[Ruler]\nLarge=1") +
          "start\nmouse 100 300\nwait 55\nprop frmMain.lblMsPos.Caption\nprop frmMain.Height\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "40");
  EXPECT_EQ(r.Props()["frmMain.Height"], "87");
  // Shift+End: the last pixel of the strip reads 0.
  std::filesystem::remove(FDir / "Vantrel.ini");
  r = Run(Settings(kAt100) + "start\nkey end shift\nmouse 739 300\nwait 55\nprop frmMain.lblMsPos.Caption\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "0");
}

TEST_F(StripTest, AStillCursorReadsWhatTheStripMovesUnderIt) {
  // Strip at x 100: the cursor at 300 reads 200. The Right key moves the strip to 101 under
  // the still cursor, which now lies over the strip's pixel 199; moving to 301 reads 200 again.
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 300 300\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "key right\nwait 110\nprop frmMain.Left\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 300 300\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 301 300\nwait 55\nprop frmMain.lblMsPos.Caption\n");
  auto lines = r.Lines("frmMain.lblMsPos.Caption");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(r.Props()["frmMain.Left"], "101");
  EXPECT_EQ(lines[0], "frmMain.lblMsPos.Caption = 200");
  EXPECT_EQ(lines[1], "frmMain.lblMsPos.Caption = 199");
  EXPECT_EQ(lines[2], "frmMain.lblMsPos.Caption = 199");
  EXPECT_EQ(lines[3], "frmMain.lblMsPos.Caption = 200");
}

TEST_F(StripTest, PositionReadoutStaysOnTheScreen) {
  struct Case {
    const char* Settings;
    const char* Press;  // a point on the caption strip
    const char* Expect;
  } cases[] = {
      // Above the strip.
      {"[Application]\nLeft=100\nTop=300", "400 308", "frmPosition 100 278 "},
      // At the top of the screen: below it.
      {"[Application]\nLeft=100\nTop=0", "400 8", "frmPosition 100 58 "},
      // Partly off the left edge: at 0.
      {"[Application]\nLeft=-50\nTop=300", "400 308", "frmPosition 0 278 "},
      // Flipped at the bottom of the screen: above it rather than below.
      {"[Application]\nLeft=100\nTop=706\nRulerFlip=1", "400 760", "frmPosition 100 684 "},
      // Flipped in the middle: below it.
      {"[Application]\nLeft=100\nTop=300\nRulerFlip=1", "400 355", "frmPosition 100 362 "},
  };
  for (const Case& c : cases) {
    StripRun r = Run(Settings(c.Settings) + "start\nmouse " + c.Press + "\ndown left\nwindows\nprop frmPosition.lblTxt.Caption\nup left\nwindows\n");
    auto readouts = r.Lines("frmPosition ");
    ASSERT_EQ(readouts.size(), 2u) << r.Out;
    EXPECT_EQ(readouts[0].rfind(c.Expect, 0), 0u) << c.Settings << "\n" << r.Out;
    EXPECT_NE(readouts[0].find("visible=1 topmost=1"), std::string::npos) << r.Out;
    EXPECT_NE(readouts[1].find("visible=0"), std::string::npos) << r.Out;
  }
  StripRun r = Run(Settings("[Application]\nLeft=900\nTop=300") + "start\nmouse 1000 308\ndown left\nwindows\nprop frmPosition.lblTxt.Caption\n");
  EXPECT_EQ(r.Props()["frmPosition.lblTxt.Caption"], " Ruler zero position at x=900 y=358 ");
  // Right edge aligned: left + width = 1024.
  const auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 1u) << r.Out;
  const std::string& line = readouts[0];
  int x, y, w, h;
  ASSERT_EQ(std::sscanf(line.c_str(), "frmPosition %d %d %d %d", &x, &y, &w, &h), 4);
  EXPECT_EQ(x + w, 1024);
  EXPECT_EQ(h, 22);
}

TEST_F(StripTest, RollingTheRulerShowsTheZeroMoving) {
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 400 140\ndown left\nmouse 440 140\nwindows\nprop frmPosition.lblTxt.Caption\n"
                   "up left\nwindows\n");
  EXPECT_EQ(r.Props()["frmPosition.lblTxt.Caption"], " Ruler zero position at x=140 y=158 ");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 2u);
  EXPECT_NE(readouts[0].find("visible=1"), std::string::npos);
  EXPECT_NE(readouts[1].find("visible=0"), std::string::npos);
}
