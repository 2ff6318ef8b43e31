// The strip on a desk of two monitors of different sizes: A, 1024 x 768 at the origin (the
// primary), and B, 800 x 600 to its right, tops aligned; below B, x 1024-1823 and y 600-767,
// lies dead area that no monitor shows.
#include "tests/app/StripTestSupport.h"

namespace {

const char* kDesk = "monitor 0 0 1024 768\nmonitor 1024 0 800 600\n";

std::string At(int left, int top, const std::string& more = "") {
  return "file Vantrel.ini <<<\n[Application]\nLeft=" + std::to_string(left) + "\nTop=" + std::to_string(top) + "\n" +
         more + "\n>>>\n";
}

// "X Y" of the last listing of window NAME (visible), or what the listing said instead.
std::string Where(const StripRun& r, const std::string& name) {
  const auto lines = r.Lines(name + " ");
  if (lines.empty()) return "no " + name;
  std::istringstream in(lines.back());
  std::string n, visible;
  int x = 0, y = 0, w = 0, h = 0;
  in >> n >> x >> y >> w >> h >> visible;
  return visible == "visible=1" ? std::to_string(x) + " " + std::to_string(y) : lines.back();
}

}  // namespace

TEST_F(StripTest, CornersEdgesMenuAndAboutBoxKeepToTheStripsMonitor) {
  // The 640 x 58 strip on B at (1100, 300). Its menu opens at the button, (1138, 317), but
  // 308 rows reach past B's bottom and do not fit above the button (top 303) either: its
  // bottom goes on B's, 600 - 308 = 292. Ctrl+End: B's corner, (1824 - 640, 600 - 58).
  // Ctrl+Home: (1024, 0). End: B's bottom, 542. The 351 x 275 About box: centred on B,
  // (1024 + 224, 162).
  StripRun r = Run(kDesk + At(1100, 300) +
                   "start\nmenu frmMain.N1\nwindows\nkey escape\n"
                   "key end ctrl\nwindows\nkey home ctrl\nwindows\nkey end\nwindows\n"
                   "menu frmMain.mnuAbout\nwindows\nkey enter\n");
  const auto mains = r.Lines("frmMain ");
  ASSERT_EQ(mains.size(), 5u) << r.Out;
  const auto menu = r.Lines("MenuWindow ");
  ASSERT_FALSE(menu.empty()) << r.Out;
  EXPECT_EQ(menu[0].rfind("MenuWindow 1138 292 ", 0), 0u) << menu[0];
  EXPECT_NE(menu[0].find(" 308 visible=1"), std::string::npos) << menu[0];
  EXPECT_EQ(mains[1], "frmMain 1184 542 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[2], "frmMain 1024 0 640 58 visible=1 topmost=0");
  EXPECT_EQ(mains[3], "frmMain 1024 542 640 58 visible=1 topmost=0");
  EXPECT_EQ(Where(r, "frmAbout"), "1248 162");

  // On A the corner is A's, as on a desk of one monitor: (1024 - 640, 768 - 58).
  r = Run(kDesk + At(100, 100) + "start\nkey end ctrl\nwindows\n");
  EXPECT_EQ(Where(r, "frmMain"), "384 710");
}

TEST_F(StripTest, TheMagnifiersKeepToThePointersMonitorAndSeeTheNeighboursPixels) {
  // The 100 x 100 loupe and its 90 x 69 panel, placed as on a screen of the pointer's
  // monitor alone (the strip lies on B at (1024, 280) and shows the loupe after a click on
  // its caption strip):
  //  (1000, 700) on A, the dead area to its right: past A's right and bottom edges, so the
  //    loupe goes to (1024 - 100 - 130, 768 - 100) = (794, 668), the panel centred above it,
  //    (799, 599); spread over the whole desk it would sit at (1030, 668), in the dead area.
  //  (1500, 599) on B's bottom row: 476, 599 on B; past its bottom, so (476 + 30, 500) on B,
  //    (1530, 500); the panel above it at (1535, 431).
  //  (1020, 300) on A by B: the loupe turns left, (924, 335). Its 50 x 50 capture from
  //    (995, 275) takes in B's first 21 columns, so the enlarged pixel (80, 80) of the loupe,
  //    at (1004, 415) on the screen, shows B's pixel (995 + 40, 275 + 40) = (1035, 315), and
  //    (20, 80), at (944, 415), A's wallpaper at (1005, 315).
  StripRun r = Run(kDesk + At(1024, 280) +
                   "start\nmouse 1324 288\ndown left\nup left\n"
                   "mouse 1000 700\nwait 55\nwindows\nmouse 1500 599\nwait 55\nwindows\n"
                   "mouse 1020 300\nwait 55\nwindows\npixel 1004 415\npixel 1035 315\npixel 944 415\n");
  const auto zoom = r.Lines("frmZoom "), info = r.Lines("frmInfo ");
  ASSERT_EQ(zoom.size(), 3u) << r.Out;
  ASSERT_EQ(info.size(), 3u) << r.Out;
  EXPECT_EQ(zoom[0], "frmZoom 794 668 100 100 visible=1 topmost=1");
  EXPECT_EQ(info[0], "frmInfo 799 599 90 69 visible=1 topmost=1");
  EXPECT_EQ(zoom[1], "frmZoom 1530 500 100 100 visible=1 topmost=1");
  EXPECT_EQ(info[1], "frmInfo 1535 431 90 69 visible=1 topmost=1");
  EXPECT_EQ(zoom[2], "frmZoom 924 335 100 100 visible=1 topmost=1");
  const auto pixels = r.Lines("pixel ");
  ASSERT_EQ(pixels.size(), 3u) << r.Out;
  const std::string seen = pixels[0].substr(pixels[0].rfind(' '));
  EXPECT_EQ(seen, pixels[1].substr(pixels[1].rfind(' ')));
  EXPECT_NE(seen, " 0x000000");  // not the dead area's black
  EXPECT_EQ(pixels[2], "pixel 944 415 0x808000");

  // The 200 x 200 lens over the strip at B's bottom, (1100, 542), pointer at (1700, 580),
  // that is (676, 580) on B: 800 < 676 + 160, so left 676 - 210; 600 < 580 + 170, so top
  // 580 - 200: (1490, 380). Over the whole desk it would hang down to 750, in the dead area.
  r = Run(kDesk + At(1100, 542, "MouseLoupe=0") + "start\nmouse 1700 580\nwait 55\nwindows\n");
  EXPECT_EQ(Where(r, "Form1"), "1490 380");
}
