// The strip on a desk of two monitors of different sizes: A, 1024 x 768 at the origin (the
// primary), and B, 800 x 600 to its right, tops aligned; below B, x 1024-1823 and y 600-767,
// lies dead area that no monitor shows.
#include "tests/app/StripTestSupport.h"

namespace {

std::string Desk(int left, int top, const std::string& more = "") {
  return "monitor 0 0 1024 768\nmonitor 1024 0 800 600\nfile Vantrel.ini <<<\n[Application]\nLeft=" +
         std::to_string(left) + "\nTop=" + std::to_string(top) + "\n" + more + "\n>>>\nstart\n";
}

}  // namespace

TEST_F(StripTest, CornersEdgesMenuAndAboutBoxKeepToTheStripsMonitor) {
  // The 640 x 58 strip on B at (1100, 300). Its 346-row menu, due at (1138, 317) below the
  // button, fits neither below it on B nor above it (top 303): its bottom goes on B's, at
  // 600 - 346 = 254. Ctrl+End: (1824 - 640, 600 - 58); Ctrl+Home: (1024, 0); End: B's bottom,
  // 542. The 351 x 275 About box centred on B: (1024 + 224, 162).
  StripRun r = Run(Desk(1100, 300) + "menu frmMain.N1\nwindows\nkey escape\nkey end ctrl\nwindows\nkey home ctrl\n"
                                     "windows\nkey end\nwindows\nmenu frmMain.mnuAbout\nwindows\nkey enter\n");
  const auto mains = r.Lines("frmMain "), menu = r.Lines("MenuWindow "), about = r.Lines("frmAbout ");
  ASSERT_EQ(mains.size(), 5u) << r.Out;
  ASSERT_EQ(about.size(), 5u) << r.Out;
  EXPECT_EQ(menu[0].rfind("MenuWindow 1138 254 ", 0), 0u) << menu[0];
  EXPECT_EQ(mains[1], "frmMain 1184 542 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 1024 0 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[3], "frmMain 1024 542 640 58 visible=1 topmost=0");
  EXPECT_EQ(about[4], "frmAbout 1248 162 351 275 visible=1 topmost=0");
}

TEST_F(StripTest, TheMagnifiersKeepToThePointersMonitorAndSeeTheNeighboursPixels) {
  // The 100 x 100 loupe and its 90 x 69 panel, placed as on a screen of the pointer's monitor
  // alone (the strip on B at (1024, 280) shows the loupe after a click on its caption):
  //  (1000, 700) on A, by the dead area: past A's right and bottom edges, the loupe goes to
  //    (1024 - 100 - 130, 768 - 100) = (794, 668) and the panel centred above it, (799, 599);
  //  (1500, 599), (476, 599) on B: past its bottom, (476 + 30, 500) on B, (1530, 500); the
  //    panel above it at (1535, 431);
  //  (1020, 300) on A by B: the loupe turns left, (924, 335). Its 50 x 50 capture from
  //    (995, 275) takes in 21 columns of B: its enlarged pixel (80, 80), (1004, 415) on the
  //    screen, shows B's (995 + 40, 275 + 40); (20, 80), at (944, 415), A's wallpaper.
  StripRun r = Run(Desk(1024, 280) + "mouse 1324 288\nclick left\nmouse 1000 700\nwait 55\nwindows\n"
                                     "mouse 1500 599\nwait 55\nwindows\nmouse 1020 300\nwait 55\nwindows\n"
                                     "pixel 1004 415\npixel 1035 315\npixel 944 415\n");
  const auto zoom = r.Lines("frmZoom "), info = r.Lines("frmInfo "), pixels = r.Lines("pixel ");
  ASSERT_EQ(zoom.size(), 3u) << r.Out;
  ASSERT_EQ(info.size(), 3u) << r.Out;
  ASSERT_EQ(pixels.size(), 3u) << r.Out;
  EXPECT_EQ(zoom[0] + info[0], "frmZoom 794 668 100 100 visible=1 topmost=1frmInfo 799 599 90 69 visible=1 topmost=1");
  EXPECT_EQ(zoom[1] + info[1], "frmZoom 1530 500 100 100 visible=1 topmost=1frmInfo 1535 431 90 69 visible=1 topmost=1");
  EXPECT_EQ(zoom[2], "frmZoom 924 335 100 100 visible=1 topmost=1");
  EXPECT_EQ(pixels[0].substr(15), pixels[1].substr(15));
  EXPECT_NE(pixels[0].substr(15), "0x000000");  // not the dead area's black
  EXPECT_EQ(pixels[2], "pixel 944 415 0x808000");

  // The 200 x 200 lens over the strip at B's bottom, pointer at (1700, 580), (676, 580) on B:
  // 800 < 676 + 160, so left 676 - 210; 600 < 580 + 170, so top 580 - 200.
  r = Run(Desk(1100, 542, "MouseLoupe=0") + "mouse 1700 580\nwait 55\nwindows\n");
  EXPECT_EQ(r.Lines("Form1 ").back(), "Form1 1490 380 200 200 visible=1 topmost=1");
}
