// Moving the strip by its caption strip and lengthening it by its grip.
#include "tests/app/StripTestSupport.h"

namespace {
const char* kAt100 = "[Application]\nLeft=100\nTop=100";
}

TEST_F(StripTest, DraggingTheCaptionStripMovesTheWindow) {
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 400 108\ndown left\nmouse 450 158\nmouse 470 160\nwindows\nup left\nwindows\n"
                   // The labels on the strip move it too.
                   "mouse 200 168\ndown left\nmouse 190 148\nup left\nprop frmMain.Left\nprop frmMain.Top\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 2u);
  EXPECT_EQ(mains[0], "frmMain 170 152 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 170 152 640 58 visible=1 topmost=0");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 2u) << r.Out;
  EXPECT_EQ(readouts[0].rfind("frmPosition 170 130 ", 0), 0u) << readouts[0];
  EXPECT_NE(readouts[0].find("visible=1"), std::string::npos);
  EXPECT_NE(readouts[1].find("visible=0"), std::string::npos);
  EXPECT_EQ(r.Props()["frmMain.Left"], "160");
  EXPECT_EQ(r.Props()["frmMain.Top"], "132");
}

TEST_F(StripTest, RightButtonOnTheStripStartsNothingButEndsADrag) {
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 400 108\ndown right\nmouse 450 158\nup right\nwindows\n"
                   // A left drag ended by releasing the right button.
                   "mouse 400 108\ndown left\nmouse 420 118\ndown right\nup right\nwindows\nmouse 480 180\nup left\n"
                   "windows\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 3u);
  EXPECT_EQ(mains[0], "frmMain 100 100 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[1], "frmMain 120 110 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 120 110 640 58 visible=1 topmost=0");
  auto readouts = r.Lines("frmPosition ");
  ASSERT_EQ(readouts.size(), 3u) << r.Out;
  EXPECT_NE(readouts[1].find("visible=0"), std::string::npos) << r.Out;
}

TEST_F(StripTest, TheGripChangesTheLength) {
  // The grip sits 4 pixels from the end: screen x 724..736 for a strip at 100 of 640.
  StripRun r = Run(Settings(kAt100) +
                   "start\nmouse 730 108\ndown left\nup left\nprop frmMain.Width\n"
                   "down left\nmouse 830 108\nprop frmMain.Width\nprop frmMain.Ruler.Width\n"
                   "prop frmMain.pnlCaption.Width\nprop frmMain.shpResize.Width\nprop frmMain.btnResize.Left\n"
                   "mouse 1300 108\nprop frmMain.Width\n"
                   "mouse 110 108\nprop frmMain.Width\nup left\n"
                   // A right press on the grip does nothing.
                   "mouse 290 108\ndown right\nmouse 600 108\nup right\nprop frmMain.Width\n");
  auto widths = r.Lines("frmMain.Width");
  ASSERT_EQ(widths.size(), 5u);
  EXPECT_EQ(widths[0], "frmMain.Width = 640");   // a press alone keeps the length
  EXPECT_EQ(widths[1], "frmMain.Width = 745");   // the cursor was put on the grip at 725
  EXPECT_EQ(widths[2], "frmMain.Width = 938");   // the pointer stops at 1023: the end is past the screen
  EXPECT_EQ(widths[3], "frmMain.Width = 201");   // never shorter than the strip needs
  EXPECT_EQ(widths[4], "frmMain.Width = 201");
  auto p = r.Props();
  EXPECT_EQ(p["frmMain.Ruler.Width"], "745");
  EXPECT_EQ(p["frmMain.pnlCaption.Width"], "743");
  EXPECT_EQ(p["frmMain.shpResize.Width"], "745");
  EXPECT_EQ(p["frmMain.btnResize.Left"], "728");
}

TEST_F(StripTest, TheVerticalGripChangesTheHeight) {
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100\nOrientation=1") +
                   "start\nprop frmMain.btnResize2.Top\nmouse 108 490\ndown left\nup left\nprop frmMain.Height\n"
                   "down left\nmouse 108 600\nprop frmMain.Height\nup left\nprop frmMain.btnResize2.Top\n");
  auto heights = r.Lines("frmMain.Height");
  ASSERT_EQ(heights.size(), 2u);
  EXPECT_EQ(heights[0], "frmMain.Height = 400");
  EXPECT_EQ(heights[1], "frmMain.Height = 515");
  auto tops = r.Lines("frmMain.btnResize2.Top");
  ASSERT_EQ(tops.size(), 2u);
  EXPECT_EQ(tops[0], "frmMain.btnResize2.Top = 383");
  EXPECT_EQ(tops[1], "frmMain.btnResize2.Top = 498");
}
