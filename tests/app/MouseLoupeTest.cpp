// The mouse loupe and its readout panel, driven through the whole program.
#include <cmath>

#include "tests/app/StripTestSupport.h"

namespace {

// The loupe is checked by default but only shows at the next event that shows it: the end of
// a move drag on the caption strip (the strip sits at LEFT, TOP).
std::string ShowLoupe(int left = 0, int top = 0) {
  return "mouse " + std::to_string(left + 300) + " " + std::to_string(top + 8) + "\ndown left\nup left\n";
}

// "X Y W H visible=V topmost=T" of each listing of window NAME by the windows query.
std::vector<std::string> Placements(const StripRun& r, const std::string& name) {
  std::vector<std::string> out;
  for (const std::string& line : r.Lines(name + " ")) out.push_back(line.substr(name.size() + 1));
  return out;
}

}  // namespace

TEST_F(StripTest, LoupeAndPanelKeepBesideThePointerInsideTheScreen) {
  // 1024 x 768, loupe 100 x 100, panel 90 x 69. Worked by hand:
  //  (10, 10): loupe (10, 15); panel to its right, 50 lower: (110, 65).
  //  (1000, 100): past the right edge: loupe (924, 135); the panel would cross the edge, so it
  //    goes to the loupe's left one pixel apart: 924 - 90 - 1 = 833, 135 + 50 = 185.
  //  (500, 700): past the bottom: loupe (530, 668); on the bottom edge the panel sits centred
  //    above it: 530 + (100 - 90) / 2 = 535, 668 - 69 = 599.
  //  (1000, 700): both edges: loupe (924 - 130, 668) = (794, 668); panel (799, 599).
  StripRun r = Run("start\nwindows\n" + ShowLoupe() +
                   "mouse 10 10\nwait 55\nwindows\nmouse 1000 100\nwait 55\nwindows\n"
                   "mouse 500 700\nwait 55\nwindows\nmouse 1000 700\nwait 55\nwindows\n");
  auto zoom = Placements(r, "frmZoom"), info = Placements(r, "frmInfo");
  ASSERT_EQ(zoom.size(), 5u);
  EXPECT_EQ(zoom[0], "0 0 100 100 visible=0 topmost=1");  // hidden until shown
  EXPECT_EQ(zoom[1], "10 15 100 100 visible=1 topmost=1");
  EXPECT_EQ(zoom[2], "924 135 100 100 visible=1 topmost=1");
  EXPECT_EQ(zoom[3], "530 668 100 100 visible=1 topmost=1");
  EXPECT_EQ(zoom[4], "794 668 100 100 visible=1 topmost=1");
  ASSERT_EQ(info.size(), 4u);  // the panel exists only while the loupe is shown
  EXPECT_EQ(info[0], "110 65 90 69 visible=1 topmost=1");
  EXPECT_EQ(info[1], "833 185 90 69 visible=1 topmost=1");
  EXPECT_EQ(info[2], "535 599 90 69 visible=1 topmost=1");
  EXPECT_EQ(info[3], "799 599 90 69 visible=1 topmost=1");
}

TEST_F(StripTest, LoupePanelReadsOffsetsDistanceAreasAndColour) {
  // Strip at (100, 200), 58 high, scale from 0: the reference point is the zero on the
  // ruler's outer row, (100, 257). Ruler colour 0x0A14FF: red 255, green 20, blue 10.
  struct Case {
    int x, y;
    const char *caption, *dxy, *opp, *half;
  } cases[] = {
      {97, 261, "X:97 Y:261 dX:-3 dY:4", "5", "12", "6"},         // 3-4-5 with a negative offset
      {101, 258, "X:101 Y:258 dX:1 dY:1", "1", "1", "0"},          // sqrt 2 = 1.41 rounds down
      {103, 262, "X:103 Y:262 dX:3 dY:5", "6", "15", "7"},         // sqrt 34 = 5.83 rounds up
      {100, 40, "X:100 Y:40 dX:0 dY:-217", "217", "0", "0"},
  };
  std::string script = Settings("[Application]\nLeft=100\nTop=200\n[Ruler]\nColor=660735") + "start\n" + ShowLoupe(100, 200);
  for (const Case& c : cases)
    script += "mouse " + std::to_string(c.x) + " " + std::to_string(c.y) +
              "\nwait 55\nprop frmZoom.Caption\nprop frmInfo.lblX.Caption\nprop frmInfo.lblDY.Caption\n"
              "prop frmInfo.lblDXY.Caption\nprop frmInfo.lblOpp.Caption\nprop frmInfo.lblHalfOpp.Caption\n";
  // A pointer over the ruler's plain background, clear of ticks and numbers.
  script += "mouse 111 222\nwait 55\nprop frmInfo.lblRed.Caption\nprop frmInfo.lblGreen.Caption\nprop frmInfo.lblBlue.Caption\n";
  StripRun r = Run(script);
  auto captions = r.Lines("frmZoom.Caption"), dxy = r.Lines("frmInfo.lblDXY"), opp = r.Lines("frmInfo.lblOpp"),
       half = r.Lines("frmInfo.lblHalfOpp"), x = r.Lines("frmInfo.lblX"), dy = r.Lines("frmInfo.lblDY");
  ASSERT_EQ(captions.size(), std::size(cases));
  ASSERT_EQ(dxy.size(), std::size(cases));
  ASSERT_EQ(opp.size(), std::size(cases));
  ASSERT_EQ(half.size(), std::size(cases));
  ASSERT_EQ(x.size(), std::size(cases));
  ASSERT_EQ(dy.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(captions[i], std::string("frmZoom.Caption = ") + cases[i].caption);
    EXPECT_EQ(x[i], "frmInfo.lblX.Caption = " + std::to_string(cases[i].x));
    EXPECT_EQ(dy[i], "frmInfo.lblDY.Caption = " + std::to_string(cases[i].y - 257));
    EXPECT_EQ(dxy[i], std::string("frmInfo.lblDXY.Caption = ") + cases[i].dxy);
    EXPECT_EQ(opp[i], std::string("frmInfo.lblOpp.Caption = ") + cases[i].opp);
    EXPECT_EQ(half[i], std::string("frmInfo.lblHalfOpp.Caption = ") + cases[i].half);
  }
  auto p = r.Props();
  EXPECT_EQ(p["frmInfo.lblRed.Caption"], "255 #FF");
  EXPECT_EQ(p["frmInfo.lblGreen.Caption"], "20 #14");
  EXPECT_EQ(p["frmInfo.lblBlue.Caption"], "10 #A");

  // A zero 60000 pixels away (scale start -3000 units of 20 pixels): origin x = 100 + 60000.
  // Pointer (90, 250): dX = -60010, dY = -7; distance sqrt(60010^2 + 49) = 60010.0004,
  // rectangle 420070, triangle 210035. Squares this size overflow 32 bits.
  std::filesystem::remove(FDir / "Vantrel.ini");
  r = Run(Settings("[Application]\nLeft=100\nTop=200\nMeasureStart=-3000") + "start\n" + ShowLoupe(100, 200) +
          "mouse 90 250\nwait 55\nprop frmZoom.Caption\nprop frmInfo.lblDXY.Caption\nprop frmInfo.lblOpp.Caption\n"
          "prop frmInfo.lblHalfOpp.Caption\n");
  p = r.Props();
  EXPECT_EQ(p["frmZoom.Caption"], "X:90 Y:250 dX:-60010 dY:-7");
  EXPECT_EQ(p["frmInfo.lblDXY.Caption"], "60010");
  EXPECT_EQ(p["frmInfo.lblOpp.Caption"], "420070");
  EXPECT_EQ(p["frmInfo.lblHalfOpp.Caption"], "210035");
}

TEST_F(StripTest, LoupeMeasuresFromTheZeroOnTheRulersOuterEdgeInEveryLayout) {
  // Strip at (100, 200). Horizontal: 58 high, ticks along the bottom row (y 257), or along the
  // top row (y 200) when flipped. Vertical: 67 wide, ticks along the right column (x 166).
  // Large: 87 high (y 286), 40 pixels a unit, so scale start 1 puts the zero at x 60. The
  // panel shows the pointer's offsets from there: the pointer at (500, 500) minus the zero.
  struct Case {
    const char* settings;
    const char* grab;  // a point on the caption strip, which lies opposite the ticks
    int x, y;          // the zero
  } cases[] = {
      {"", "400 208", 100, 257},
      {"RulerFlip=1", "400 249", 100, 200},
      {"Orientation=1\nLength=400", "108 400", 166, 200},
      {"Orientation=1\nLength=400\nRulerFlip=1", "158 400", 100, 200},
      {"MeasureStart=1\n[Ruler]\nLarge=1", "400 208", 60, 286},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run(Settings(std::string("[Application]\nLeft=100\nTop=200\n") + c.settings) + "start\n" +
                     "mouse " + c.grab + "\ndown left\nup left\n" +
                     "mouse 500 500\nwait 55\nprop frmInfo.lblDX.Caption\nprop frmInfo.lblDY.Caption\n");
    auto p = r.Props();
    EXPECT_EQ(p["frmInfo.lblDX.Caption"] + " " + p["frmInfo.lblDY.Caption"],
              std::to_string(500 - c.x) + " " + std::to_string(500 - c.y))
        << c.settings;
  }
}

TEST_F(StripTest, LoupeRefreshesAStillPointerEveryFiftiethTickAndFollowsAMovedZero) {
  // Strip at (100, 100): zero at x 100. Pointer still at (500, 400): dX 400. Shift+End puts
  // the zero on the strip's last pixel, x 739, without the mouse moving: dX 500 - 739 = -239.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100") + "start\n" + ShowLoupe(100, 100) +
                   "mouse 500 400\nwait 55\nprop frmZoom.FStillTicks\n"
                   "wait 2695\nprop frmZoom.FStillTicks\nwait 55\nprop frmZoom.FStillTicks\n"
                   "prop frmZoom.Caption\nkey end shift\nwait 55\nprop frmZoom.Caption\nprop frmZoom.FStillTicks\n");
  auto ticks = r.Lines("frmZoom.FStillTicks"), caption = r.Lines("frmZoom.Caption");
  ASSERT_EQ(ticks.size(), 4u);
  EXPECT_EQ(ticks[0], "frmZoom.FStillTicks = 0");   // the move refreshed at once
  EXPECT_EQ(ticks[1], "frmZoom.FStillTicks = 49");  // 49 still ticks: no refresh yet
  EXPECT_EQ(ticks[2], "frmZoom.FStillTicks = 0");   // the 50th refreshed
  EXPECT_EQ(ticks[3], "frmZoom.FStillTicks = 0");
  ASSERT_EQ(caption.size(), 2u);
  EXPECT_EQ(caption[0], "frmZoom.Caption = X:500 Y:400 dX:400 dY:243");
  EXPECT_EQ(caption[1], "frmZoom.Caption = X:500 Y:400 dX:-239 dY:243");
}

TEST_F(StripTest, LoupeHidesDuringAMoveDragAndTheMouseFallsThroughOutsideItsDisc) {
  // Strip at (100, 100). Pointer (300, 90) puts the loupe at (300, 95), its top rows over the
  // caption strip (y 100 to 118). Loupe pixel (5, 10) lies outside the disc (row 10 spans
  // x 20 to 81): a press there reaches the strip, whose move drag hides the loupe until the
  // button is released. A press at the disc's middle (350, 145) stays with the loupe.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100") + "start\n" + ShowLoupe(100, 100) +
                   "mouse 300 90\nwait 55\nwindows\n"
                   "mouse 305 105\ndown left\nwindows\nup left\nwindows\n"
                   "mouse 300 90\nwait 55\nmouse 350 145\ndown left\nwindows\nup left\n");
  auto zoom = Placements(r, "frmZoom");
  ASSERT_EQ(zoom.size(), 4u);
  EXPECT_EQ(zoom[0], "300 95 100 100 visible=1 topmost=1");
  EXPECT_EQ(zoom[1], "300 95 100 100 visible=0 topmost=1");  // the strip took the press
  EXPECT_EQ(zoom[2].substr(zoom[2].find("visible")), "visible=1 topmost=1");
  EXPECT_EQ(zoom[3], "300 95 100 100 visible=1 topmost=1");  // the disc took it
  auto main = Placements(r, "frmMain");
  ASSERT_EQ(main.size(), 4u);
  EXPECT_EQ(main[3], main[2]) << "a press on the disc must not move the strip";
}

TEST_F(StripTest, LoupeEnlargesThePixelsAroundThePointerExactlyWithAHollowCross) {
  // The strip at (100, 100); the pointer P = (250, 150) over the ruler's ticks. A shot of the
  // square around P is taken while the loupe is far away; then, with the loupe at (250, 155),
  // each loupe pixel (x, y) inside the disc must show the source pixel
  //   P - (c / 2) + (x * c / 100, y * c / 100)   (c = 100 div factor: 50, 33, 25),
  // that is 2 x 2 blocks at factor 2 and 4 x 4 at factor 4, unless the source lies under the
  // loupe itself (x >= 250 and y >= 155), which the loupe sees as its own picture. The cross
  // bars are hollow black rectangles, hand-placed for each factor:
  //   factor 2: vertical x 50-52, horizontal y 50-52; 3: 48-52; 4: 47-51; both 25-74 long.
  struct Bars {
    int factor, from, to;
  } bars[] = {{2, 50, 52}, {3, 48, 52}, {4, 47, 51}};
  const int px = 250, py = 150;
  for (const Bars& b : bars) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    const std::string before = (FDir / "before.bmp").string(), after = (FDir / "after.bmp").string();
    StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100\nMagnification=" + std::to_string(b.factor)) +
                     "start\n" + ShowLoupe(100, 100) + "mouse 900 600\nwait 55\n" +
                     "shot " + before + " 200 100 100 100\nmouse 250 150\nwait 55\n" +
                     "shot " + after + " 250 155 100 100\nprop frmZoom.FZoomFactor\n");
    ASSERT_EQ(r.Props()["frmZoom.FZoomFactor"], std::to_string(b.factor));
    gfx::Bitmap src = gfx::ReadBmpFile(before), loupe = gfx::ReadBmpFile(after);
    ASSERT_EQ(src.Width(), 100);
    ASSERT_EQ(loupe.Width(), 100);
    ASSERT_EQ(loupe.Height(), 100);
    const int c = 100 / b.factor;
    int compared = 0, inked = 0, wrong = 0, barsWrong = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        // Well inside the disc, clear of the ring along its edge.
        if (std::hypot(x + 0.5 - 51, y + 0.5 - 50) > 40) continue;
        const bool onVertical = y >= 25 && y <= 74 && (x == b.from || x == b.to);
        const bool onHorizontal = x >= 25 && x <= 74 && (y == b.from || y == b.to);
        const bool verticalEnds = (y == 25 || y == 74) && x >= b.from && x <= b.to;
        const bool horizontalEnds = (x == 25 || x == 74) && y >= b.from && y <= b.to;
        if (onVertical || onHorizontal || verticalEnds || horizontalEnds) {
          barsWrong += (loupe.At(x, y) & 0xFFFFFF) != 0;
          continue;
        }
        const int sx = px - c / 2 + x * c / 100, sy = py - c / 2 + y * c / 100;
        if (sx >= 250 && sy >= 155) continue;
        ++compared;
        const gfx::TColor want = src.At(sx - 200, sy - 100) & 0xFFFFFF;
        inked += want == 0;
        wrong += (loupe.At(x, y) & 0xFFFFFF) != want;
      }
    EXPECT_GT(compared, 2000) << "factor " << b.factor;
    EXPECT_GT(inked, 100) << "the ticks must be in the picture, factor " << b.factor;
    EXPECT_EQ(wrong, 0) << "factor " << b.factor;
    EXPECT_EQ(barsWrong, 0) << "factor " << b.factor;
  }
}

TEST_F(StripTest, MagnificationFromTheSettingsIsClampedToTwoToFour) {
  // 7 gives 4 (capture 100 div 4 = 25 pixels), 0 and -3 give 2 (50), 3 stays (33).
  struct Case {
    const char* stored;
    const char* factor;
    const char* capture;
  } cases[] = {{"7", "4", "25"}, {"0", "2", "50"}, {"-3", "2", "50"}, {"3", "3", "33"}};
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run(Settings(std::string("[Application]\nMagnification=") + c.stored) +
                     "start\nprop frmZoom.FZoomFactor\nprop frmZoom.CaptureWidth\nclose\ncat Vantrel.ini\n");
    auto p = r.Props();
    EXPECT_EQ(p["frmZoom.FZoomFactor"], c.factor) << c.stored;
    EXPECT_EQ(p["frmZoom.CaptureWidth"], c.capture) << c.stored;
    EXPECT_NE(r.Out.find(std::string("Magnification=") + c.factor + "\r\n"), std::string::npos) << c.stored;
  }
}

TEST_F(StripTest, MouseLoupeCommandShowsAndHidesItAndTheSettingKeepsIt) {
  // The strip at (100, 100); its menu button at screen (145, 108). "Mouse loupe" is the tenth
  // item down, separators skipped.
  const std::string openMenu = "mouse 145 108\nclick left\n";
  const std::string chooseZoom = openMenu + "key down\nkey down\nkey down\nkey down\nkey down\nkey down\n"
                                            "key down\nkey down\nkey down\nkey down\nkey enter\n";
  // Checked by default: the open menu hides the loupe, closing it unchosen shows it again;
  // choosing the command hides it and clears the check, and the close writes 0.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=100") + "start\n" + ShowLoupe(100, 100) + "wait 55\nwindows\n" +
                   openMenu + "windows\nkey escape\nwindows\n" + chooseZoom +
                   "windows\nprop frmMain.mnuZoom.Checked\nclose\ncat Vantrel.ini\n");
  auto zoom = Placements(r, "frmZoom");
  ASSERT_EQ(zoom.size(), 4u);
  EXPECT_NE(zoom[0].find("visible=1"), std::string::npos);
  EXPECT_NE(zoom[1].find("visible=0"), std::string::npos) << "shown over the open menu";
  EXPECT_NE(zoom[2].find("visible=1"), std::string::npos) << "not back after the menu";
  EXPECT_NE(zoom[3].find("visible=0"), std::string::npos);
  EXPECT_EQ(Placements(r, "frmInfo").size(), 2u) << "the panel outlives its loupe";
  EXPECT_EQ(r.Props()["frmMain.mnuZoom.Checked"], "false");
  EXPECT_NE(r.Out.find("MouseLoupe=0\r\n"), std::string::npos) << r.Out;

  // Off at start: nothing shows until the command; it then shows topmost at the pointer and
  // the close writes 1. Pointer (400, 300): loupe (400, 305) after a tick.
  r = Run("start\n" + chooseZoom + "mouse 400 300\nwait 55\nwindows\nprop frmMain.mnuZoom.Checked\nclose\ncat Vantrel.ini\n");
  zoom = Placements(r, "frmZoom");
  ASSERT_EQ(zoom.size(), 1u);
  EXPECT_EQ(zoom[0], "400 305 100 100 visible=1 topmost=1");
  EXPECT_EQ(r.Props()["frmMain.mnuZoom.Checked"], "true");
  EXPECT_NE(r.Out.find("MouseLoupe=1\r\n"), std::string::npos) << r.Out;
}

TEST_F(StripTest, CopyKeysPutTheReadingAndTheColourUnderThePointerOnTheClipboard) {
  // Strip at (100, 200), scale from 0: the pointer at x 151 reads 51, on an odd pixel (no tick)
  // under the numbers and clear of the ticks (the middle tick is at 50). Ruler colour 0x0A14FF (0xBBGGRR): red FF,
  // green 14, blue 0A, so "#FF140A" there.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=200\nMouseLoupe=0\n[Ruler]\nColor=660735") +
                   "start\nmouse 151 240\nwait 60\nkey c ctrl\n"
                   // The colour needs the mouse loupe: without it, nothing is copied.
                   "key c ctrl shift\nlog\n"
                   "menu frmMain.mnuZoom\nmouse 151 240\nwait 60\npixel 151 240\nkey c ctrl shift\n"
                   // Rolled by keys, the reading follows.
                   "key right shift\nwait 60\nkey c ctrl\nlog\n");
  auto copied = r.Lines("clipboard");
  ASSERT_EQ(r.Lines("pixel"), std::vector<std::string>{"pixel 151 240 0x0A14FF"});
  ASSERT_EQ(copied.size(), 3u) << r.Out;
  EXPECT_EQ(copied[0], "clipboard text 51");
  EXPECT_EQ(copied[1], "clipboard text #FF140A");
  EXPECT_EQ(copied[2], "clipboard text 52");  // Shift+Right: every pixel reads one more
}
