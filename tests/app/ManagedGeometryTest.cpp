// A window manager that forces its own place and size on the strip (as a tiling one does with
// a plain window): the strip is laid out and read for the window it really has, but only the
// program's own commands change what the settings keep.
#include "tests/app/StripTestSupport.h"

TEST_F(StripTest, AManagersGeometryIsDrawnAndReadButNotKept) {
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100") +
                   "start\nmanage 0 0 1024 740\nmouse 300 400\nwait 55\nwindows\n"
                   "prop frmMain.Ruler.Width\nprop frmMain.Ruler.Top\nprop frmMain.pnlCaption.Width\n"
                   "prop frmMain.btnResize.Left\nprop frmMain.lblMsPos.Caption\n"
                   // The flip button (panel 58,2): turned about the real corner, with the
                   // user's length; then a key moves it a pixel.
                   "mouse 65 8\nclick left\nwindows\nkey right\nwindows\nclose\ncat Vantrel.ini\n");
  auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 3u);
  EXPECT_EQ(mains[0], "frmMain 0 0 1024 740 visible=1 topmost=0");
  auto p = r.Props();
  // Laid out for 1024 x 740: the ruler (41 high) along the bottom, the grip 13 + 4 from the end.
  EXPECT_EQ(p["frmMain.Ruler.Width"], "1024");
  EXPECT_EQ(p["frmMain.Ruler.Top"], "699");
  EXPECT_EQ(p["frmMain.pnlCaption.Width"], "1022");
  EXPECT_EQ(p["frmMain.btnResize.Left"], "1007");
  // Read from where the window really is: x 300 on a strip starting at 0.
  EXPECT_EQ(p["frmMain.lblMsPos.Caption"], "300");
  EXPECT_EQ(mains[1], "frmMain 0 0 67 640 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 1 0 67 640 visible=1 topmost=0");
  // The key chose the left; the top stays the user's, and so does the length.
  for (const char* line : {"\nLeft=1\r\n", "\nTop=100\r\n", "\nOrientation=1\r\n", "\nLength=640\r\n"})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
}
