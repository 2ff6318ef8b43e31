// The cross ruler: where it stands, how it follows the strip's zero, its reading and angle,
// the look it takes from the strip, and its grips.
#include "crossruler/TfrmCrossRuler.h"
#include "tests/app/StripTestSupport.h"
#include "tests/toolkit/CoreFixture.h"
#include "toolkit/core/ResourceLoader.h"

namespace {

// Chooses a command from the strip's menu, opened by the menu button at screen (X, Y): the
// commands are reached with Down from the top (separators are skipped), then Enter.
std::string Choose(const std::string& item, int x, int y) {
  static const std::map<std::string, int> steps{{"mnuSetBegin0", 4},  {"mnuSetEnd0", 5}, {"mnuRulerFlip", 6},
                                                {"mnuFlip", 7},       {"mnuCrossRuler", 8}, {"mnuAlwaysTop", 13}};
  std::string s = "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nclick left\n";
  for (int i = 0; i < steps.at(item); ++i) s += "key down\n";
  return s + "key enter\n";
}

// "frmCrossRuler X Y W H" of each "windows" query.
std::vector<std::string> CrossBounds(const StripRun& r) {
  std::vector<std::string> bounds;
  for (const std::string& line : r.Lines("frmCrossRuler ")) bounds.push_back(line.substr(0, line.find(" visible")));
  return bounds;
}

}  // namespace

TEST_F(StripTest, TheFirstLayoutPlacesTheHiddenCrossRulerOnTheZero) {
  // The cross ruler is 644 long and 67 (49 + 20 - 2) thick, 97 (79 + 20 - 2) in large mode;
  // turned horizontal it is 58 (41 + 19 - 2) high. Vertical: left = zero x - width + 1, top =
  // zero y - 1 (hanging from the strip's bottom), or zero y + 1 - 644 flipped. Horizontal: top =
  // zero y - 58 + 1, left = zero x - 1, or zero x + 1 - 644 flipped. Its start value is
  // -(644 / pixels per unit) when flipped: -32.2, or -16.1 in large mode.
  struct Case {
    const char* Settings;
    const char* Bounds;
    const char* StartValue;
  } cases[] = {
      // Zero (100, 258): the strip's first column, below its last row.
      {"Length=643", "frmCrossRuler 34 257 67 644", "0"},
      // Zero 100 pixels into the strip: (200, 258).
      {"Length=643\nMeasureStart=-5", "frmCrossRuler 134 257 67 644", "0"},
      // Flipped, the zero is on the strip's top row: (100, 200); partly off the screen.
      {"RulerFlip=1", "frmCrossRuler 34 -443 67 644", "-32.2"},
      {"RulerFlip=1\n[Ruler]\nLarge=1", "frmCrossRuler 4 -443 97 644", "-16.1"},
      // Large, not flipped: zero (100, 287).
      {"[Ruler]\nLarge=1", "frmCrossRuler 4 286 97 644", "0"},
      // Vertical strip 67 wide: zero (167, 200); flipped, 69 wide with the zero at (100, 200).
      {"Orientation=1", "frmCrossRuler 166 143 644 58", "0"},
      {"Orientation=1\nRulerFlip=1", "frmCrossRuler -543 143 644 58", "-32.2"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run(Settings(std::string("[Application]\nLeft=100\nTop=200\n") + c.Settings) +
                     "start\nwindows\nprop frmCrossRuler.Ruler.StartValue\n");
    auto cross = r.Lines("frmCrossRuler ");
    ASSERT_EQ(cross.size(), 1u) << r.Out;
    EXPECT_EQ(cross[0], std::string(c.Bounds) + " visible=0 topmost=0") << c.Settings;
    EXPECT_EQ(r.Props()["frmCrossRuler.Ruler.StartValue"], c.StartValue) << c.Settings;
  }
}

TEST_F(StripTest, TheCrossRulerFollowsEveryMoveOfTheZero) {
  // The strip starts 640 x 58 at (101, 209) after the first keys; each step names the zero.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=200") +
                   "start\nkey right\nkey pagedown\nkey up\nwindows\n"  // zero (101, 267)
                   // Dragged by the caption strip by (50, 20): zero (151, 287).
                   "mouse 400 215\ndown left\nmouse 450 235\nup left\nwindows\n"
                   "key end shift\nwindows\n"   // start value -31.95: zero (790, 287)
                   "key home shift\nwindows\n"  // zero (151, 287)
                   // Rolled 40 pixels right: start value -2, zero (191, 287).
                   "mouse 400 260\ndown left\nmouse 440 260\nup left\nwindows\n"
                   // Ruler flip: 62 high, the zero on its top row (191, 229).
                   + Choose("mnuRulerFlip", 196, 238) + "windows\n"
                   // The flip button (caption strip now at the bottom): vertical, 69 x 640; the zero
                   // on its left column, 40 pixels down: (151, 269).
                   "mouse 216 281\nclick left\nwindows\n"
                   "key home ctrl\nwindows\n"  // zero (0, 40)
                   "key end ctrl\nwindows\n"   // at (955, 128): zero (955, 168)
                   + Choose("mnuSetBegin0", 1013, 175) + "windows\n"  // zero (955, 128)
                   + Choose("mnuSetEnd0", 1013, 175) + "windows\n");  // -640 / 20 = -32: zero (955, 768)
  EXPECT_EQ(CrossBounds(r), (std::vector<std::string>{
                                "frmCrossRuler 35 266 67 644", "frmCrossRuler 85 286 67 644",
                                "frmCrossRuler 724 286 67 644", "frmCrossRuler 85 286 67 644",
                                "frmCrossRuler 125 286 67 644", "frmCrossRuler 125 -414 67 644",
                                "frmCrossRuler -492 212 644 58", "frmCrossRuler -643 -17 644 58",
                                "frmCrossRuler 312 111 644 58", "frmCrossRuler 312 71 644 58",
                                "frmCrossRuler 312 711 644 58"}))
      << r.Out;
}

TEST_F(StripTest, TheCrossRulerCommandShowsItBesideTheStripThatKeepsTheKeyboard) {
  // Without the mouse loupe, which would float under the pointer among the windows listed.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=200\nOnTop=1\nMouseLoupe=0") + "start\n" + Choose("mnuCrossRuler", 145, 208) +
                   "windows\nprop frmMain.Active\nprop frmMain.mnuCrossRuler.Checked\n"
                   // The keys still go to the strip, and the cross ruler follows.
                   "key right\n" + Choose("mnuAlwaysTop", 146, 208) + "windows\n" + Choose("mnuCrossRuler", 146, 208) +
                   "windows\n" + Choose("mnuCrossRuler", 146, 208) + "close\ncat Vantrel.ini\n");
  std::vector<std::string> visible;
  // (The mouse loupe, shown again after each menu, is left out.)
  for (const std::string& line : r.Lines("frm"))
    if (line.find("visible=1") != std::string::npos && line.rfind("frmZoom", 0) != 0) visible.push_back(line);
  // Shown right above the strip, in the topmost band with it, then out of it with it.
  ASSERT_EQ(visible.size(), 5u) << r.Out;
  EXPECT_EQ(visible[0], "frmCrossRuler 34 257 67 644 visible=1 topmost=1");
  EXPECT_EQ(visible[1], "frmMain 100 200 640 58 visible=1 topmost=1");
  EXPECT_EQ(visible[2], "frmCrossRuler 35 257 67 644 visible=1 topmost=0");
  EXPECT_EQ(visible[3], "frmMain 101 200 640 58 visible=1 topmost=0");
  EXPECT_EQ(r.Props()["frmMain.Active"], "true");
  EXPECT_EQ(r.Props()["frmMain.mnuCrossRuler.Checked"], "true");
  auto hidden = r.Lines("frmCrossRuler ");
  ASSERT_EQ(hidden.size(), 3u);
  EXPECT_NE(hidden[2].find("visible=0"), std::string::npos);
  // Not a setting: closed while shown, the next start is without it again.
  EXPECT_EQ(r.Out.find("Cross", r.Out.find("[Application]")), std::string::npos) << r.Out;
  r = Run("start\nprop frmMain.mnuCrossRuler.Checked\nwindows\n");
  EXPECT_EQ(r.Props()["frmMain.mnuCrossRuler.Checked"], "false");
  EXPECT_NE(r.Out.find("frmCrossRuler 35 257 67 644 visible=0"), std::string::npos) << r.Out;
}

TEST_F(StripTest, CrossReadingAndAngle) {
  // Strip at (100, 200): the cross ruler's top is 257, so n = y - 257 and D = x - 100. It
  // reads while hidden. atan2(60, 60) = 45 degrees, atan2(-30, 60) = -26.565.
  struct Case {
    int X, Y;
    const char* Reading;
    const char* Angle;
  } cases[] = {
      {160, 317, "60", "45.00"}, {70, 317, "60", "-26.57"}, {100, 357, "100", "0.00"},
      {160, 257, "0", ""},       {160, 250, "-7", ""},      {160, 317, "60", "45.00"},
  };
  std::string script = Settings("[Application]\nLeft=100\nTop=200") + "start\n";
  for (const Case& c : cases)
    script += "mouse " + std::to_string(c.X) + " " + std::to_string(c.Y) +
              "\nwait 55\nprop frmCrossRuler.lblMsPos.Caption\nprop frmCrossRuler.Ruler.Caption\n";
  // Rolling the cross ruler 40 pixels down: its scale starts at -2, the same point reads 40 less.
  script += Choose("mnuCrossRuler", 145, 208) + "mouse 60 400\ndown left\nmouse 60 440\nup left\nwait 55\n"
            "mouse 160 317\nwait 55\nprop frmCrossRuler.lblMsPos.Caption\nprop frmCrossRuler.Ruler.Caption\n";
  StripRun r = Run(script);
  auto readings = r.Lines("frmCrossRuler.lblMsPos.Caption = ");
  auto angles = r.Lines("frmCrossRuler.Ruler.Caption =");
  ASSERT_EQ(readings.size(), std::size(cases) + 1);
  ASSERT_EQ(angles.size(), std::size(cases) + 1);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(readings[i], std::string("frmCrossRuler.lblMsPos.Caption = ") + cases[i].Reading) << i;
    EXPECT_EQ(angles[i], std::string("frmCrossRuler.Ruler.Caption = ") + cases[i].Angle) << i;
  }
  EXPECT_EQ(readings.back(), "frmCrossRuler.lblMsPos.Caption = 20");
  EXPECT_EQ(angles.back(), "frmCrossRuler.Ruler.Caption = 71.57");  // atan2(60, 20)
}

TEST_F(StripTest, TheCrossRulerTakesTheStripsLook) {
  // Red ticks of 100, 50 and 20 per cent on green: across the 49 pixels of the vertical cross
  // ruler they are 49, 24 and 9 long (per cent x thickness, rounded down), from its right edge;
  // the ruler's frame takes its outer columns, so 47, 23 and 8 of them stay red.
  const std::string shot = (FDir / "cross.bmp").string();
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=200\n[Ruler]\nColor=65280\nTickColor=255\nTickBig=100\n"
                            "TickMiddle=50\nTickSmall=20\nRoll=0\nFontRotation=90\nNumberAlign=3") +
                   "start\n" + Choose("mnuCrossRuler", 145, 208) + "mouse 600 600\nwait 55\nshot " + shot +
                   " 52 257 49 41\nprop frmCrossRuler.Ruler.RollEnabled\nprop frmCrossRuler.Ruler.FontRotation\n"
                   "prop frmCrossRuler.Ruler.NumberAlign\n");
  auto p = r.Props();
  EXPECT_EQ(p["frmCrossRuler.Ruler.RollEnabled"], "false");
  EXPECT_EQ(p["frmCrossRuler.Ruler.FontRotation"], "fr90");
  EXPECT_EQ(p["frmCrossRuler.Ruler.NumberAlign"], "naBottomRight");
  gfx::Bitmap b = gfx::ReadBmpFile(shot);
  ASSERT_EQ(b.Width(), 49);
  ASSERT_EQ(b.Height(), 41);
  // Rows 40 (a unit), 10 (a half) and 2 (a tenth) from the ruler's top.
  auto redRun = [&b](int y) {
    int n = 0;
    for (int x = b.Width() - 2; x >= 0 && b.At(x, y) == 0x0000FF; --x) ++n;
    return n;
  };
  EXPECT_EQ(redRun(40), 47);
  EXPECT_EQ(redRun(10), 23);
  EXPECT_EQ(redRun(2), 8);
  EXPECT_EQ(b.At(30, 5), 0x00FF00u);
}

TEST_F(StripTest, CrossRulerGrips) {
  // Each layout: press the grip, move without moving, move 40 pixels outwards, then far
  // inwards (held at 180 long); the far end on the main ruler stays. The press puts the pointer
  // on the grip's fixed point: 2 pixels into the grip along the strip.
  struct Case {
    const char* Settings;
    int MenuX, MenuY;   // the strip's menu button
    const char* Press;  // on the grip
    const char* Fixed;  // where the press put the pointer
    const char* Out;
    const char* In;
    std::vector<std::string> Bounds;
  } cases[] = {
      // Vertical, grip at the bottom: panel (2, 627), screen y 885.
      {"Left=100\nTop=200\nLength=643", 145, 208, "43 891", "42 886", "42 926", "42 300",
       {"frmCrossRuler 34 257 67 644", "frmCrossRuler 34 257 67 684", "frmCrossRuler 34 257 67 180"}},
      // Vertical flipped, grip at the top: panel (2, 3) of a cross ruler at (34, 57).
      {"Left=100\nTop=700\nRulerFlip=1", 145, 752, "43 67", "42 62", "42 22", "42 900",
       {"frmCrossRuler 34 57 67 644", "frmCrossRuler 34 17 67 684", "frmCrossRuler 34 521 67 180"}},
      // Horizontal, grip at the right: panel (627, 2) of a cross ruler at (166, 643).
      {"Left=100\nTop=700\nOrientation=1", 109, 747, "800 652", "795 651", "835 651", "200 651",
       {"frmCrossRuler 166 643 644 58", "frmCrossRuler 166 643 684 58", "frmCrossRuler 166 643 180 58"}},
      // Horizontal flipped, grip at the left: panel (2, 2) of a cross ruler at (57, 643).
      {"Left=700\nTop=700\nOrientation=1\nRulerFlip=1", 758, 747, "66 652", "61 651", "21 651", "900 651",
       {"frmCrossRuler 57 643 644 58", "frmCrossRuler 17 643 684 58", "frmCrossRuler 521 643 180 58"}},
  };
  // Without the mouse loupe, which would sit under the pointer on the grips.
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run(std::string("screen 1400 1400\n") + Settings(std::string("[Application]\nMouseLoupe=0\n") + c.Settings) +
                     "start\n" + Choose("mnuCrossRuler", c.MenuX, c.MenuY) +
                     // A right press does nothing, and after the release a move changes nothing.
                     "mouse " + c.Press + "\ndown right\nmouse " + c.Out + "\nup right\nwindows\n" +
                     "mouse " + c.Press + "\ndown left\nmouse " + c.Fixed + "\nwindows\n" +
                     "mouse " + c.Out + "\nwindows\nprop frmCrossRuler.Ruler.StartValue\nmouse " + c.In +
                     "\nwindows\nup left\nmouse " + c.Out + "\nwindows\n");
    const std::vector<std::string> bounds{c.Bounds[0], c.Bounds[0], c.Bounds[1], c.Bounds[2], c.Bounds[2]};
    EXPECT_EQ(CrossBounds(r), bounds) << c.Settings << "\n" << r.Out;
    // Flipped, the zero stays at the far end: -684 / 20.
    const bool flipped = std::string(c.Settings).find("RulerFlip") != std::string::npos;
    EXPECT_EQ(r.Props()["frmCrossRuler.Ruler.StartValue"], flipped ? "-34.2" : "0") << c.Settings;
  }
}

// The cross ruler on its own, without the strip that used to register the ruler cursors.
class CrossRulerAloneTest : public CoreTest {};

TEST_F(CrossRulerAloneTest, ShowsTheRulerCursorsOverItsRulerWithoutTheStrip) {
  auto* cross = TComponent::Create<TfrmCrossRuler>(App.get());
  cross->SetBounds(0, 0, 644, 58);
  cross->Show();
  // Standing across a horizontal strip it is vertical: the arrow points right, at its ticks
  // (ARROWH); along a vertical strip it is horizontal and points down (ARROWV). The points lie
  // on the ruler body, beyond the caption strip (20 wide, 19 high).
  struct Case {
    bool Vertical;
    gfx::Point Over;
    const char* Picture;
  } cases[] = {{true, {40, 300}, "ARROWH"}, {false, {300, 40}, "ARROWV"}};
  for (const Case& c : cases) {
    cross->SetPerpendicular(c.Vertical);
    cross->SetLarge(false);
    cross->SetFlipped(false);
    cross->SetBounds(0, 0, cross->Width(), cross->Height());
    Desk.InjectMouseMove(c.Over.x, c.Over.y);
    Settle();
    const plat::CursorLook shown = Desk.CurrentCursor(), picture = LoadCursorResource(c.Picture);
    ASSERT_TRUE(shown.IsCustom) << c.Picture;
    EXPECT_EQ(shown.Image.Pixels, picture.Image.Pixels) << c.Picture;
    EXPECT_EQ(shown.Image.HotSpot, picture.Image.HotSpot) << c.Picture;
  }
}
