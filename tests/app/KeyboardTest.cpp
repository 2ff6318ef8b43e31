// Keys: moves, corners, scale nudges and re-zeroing.
#include "tests/app/StripTestSupport.h"

namespace {
const char* kAt100 = "[Application]\nLeft=100\nTop=100";
}

TEST_F(StripTest, PlainKeysMoveTheWindow) {
  StripRun r = Run(Settings(kAt100) +
                   "start\nkey up\nkey left\nkey left\nwindows\nkey pageup\nkey pagedown\nkey pagedown\nkey down\n"
                   "key right\nwindows\nkey home\nwindows\nkey end\nwindows\n"
                   "keydown pageup\nwindows\nkeyup pageup\nwindows\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 6u);
  EXPECT_EQ(mains[0], "frmMain 98 99 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 99 110 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 99 0 640 58 visible=1 topmost=0");  // horizontal: Home to the top
  EXPECT_EQ(mains[3], "frmMain 99 710 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[4], "frmMain 99 700 640 58 visible=1 topmost=0");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 6u) << r.Out;
  EXPECT_NE(readouts[4].find("visible=1"), std::string::npos) << r.Out;  // while the key is down
  EXPECT_NE(readouts[5].find("visible=0"), std::string::npos) << r.Out;
}

TEST_F(StripTest, VerticalHomeAndEndGoToTheSides) {
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100\nOrientation=1") +
                   "start\nkey home\nwindows\nkey end\nwindows\nkey end shift\nprop frmMain.Ruler.StartValue\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 2u) << r.Out;
  EXPECT_EQ(mains[0], "frmMain 0 100 67 400 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 957 100 67 400 visible=1 topmost=0");
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "-20");
}

TEST_F(StripTest, CtrlSendsTheWindowToCorners) {
  StripRun r = Run(Settings(kAt100) + "start\nkey end ctrl\nwindows\nkey home ctrl\nwindows\nkey home ctrl\nwindows\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 3u) << r.Out;
  EXPECT_EQ(mains[0], "frmMain 384 710 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 0 0 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 0 0 640 58 visible=1 topmost=0");
}

TEST_F(StripTest, ShiftNudgesAndReZeroesTheScale) {
  StripRun r = Run(Settings(kAt100) +
                   "start\nkey right shift\nprop frmMain.Ruler.StartValue\nmouse 100 300\nwait 55\n"
                   "prop frmMain.lblMsPos.Caption\n"
                   "keydown up shift\nwindows\nprop frmMain.Ruler.StartValue\nkeyup up shift\nwindows\n"
                   "key left shift\nkey left shift\nprop frmMain.Ruler.StartValue\n"
                   "key end shift\nprop frmMain.Ruler.StartValue\nkey home shift\nprop frmMain.Ruler.StartValue\n"
                   "windows\n");
  auto values = r.Lines("frmMain.Ruler.StartValue");
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0], "frmMain.Ruler.StartValue = 0.05");
  EXPECT_EQ(values[1], "frmMain.Ruler.StartValue = 0.05");  // Up on a horizontal ruler: no change
  EXPECT_EQ(values[2], "frmMain.Ruler.StartValue = -0.05");
  EXPECT_EQ(values[3], "frmMain.Ruler.StartValue = -31.95");
  EXPECT_EQ(values[4], "frmMain.Ruler.StartValue = 0");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "1");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 3u) << r.Out;
  EXPECT_NE(readouts[0].find("visible=1"), std::string::npos) << r.Out;
  EXPECT_NE(readouts[1].find("visible=0"), std::string::npos) << r.Out;
  // The window never moved.
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 3u) << r.Out;
  EXPECT_EQ(mains.back(), "frmMain 100 100 640 58 visible=1 topmost=0");

  std::filesystem::remove(FDir / "Vantrel.ini");
  r = Run(Settings("[Ruler]\nLarge=1") + "start\nkey right shift\nprop frmMain.Ruler.StartValue\n");
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "0.025");
}

TEST_F(StripTest, AltShowsTheReadoutWhileHeld) {
  StripRun r = Run(Settings(kAt100) + "start\nkeydown alt\nwindows\nkeyup alt\nwindows\nkeydown a alt\nwindows\n");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 3u);
  EXPECT_NE(readouts[0].find("visible=1"), std::string::npos) << r.Out;
  EXPECT_NE(readouts[1].find("visible=0"), std::string::npos) << r.Out;
  EXPECT_NE(readouts[2].find("visible=1"), std::string::npos) << r.Out;
}
