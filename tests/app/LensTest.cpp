// The lens beside the strip ("Loupe" on, "Mouse loupe" off), driven through the whole program.
#include <array>
#include <filesystem>

#include "tests/app/StripTestSupport.h"

namespace {

// The lens follows the pointer only with the mouse loupe off.
std::string LensSettings(const std::string& more = "") {
  return "file Vantrel.ini <<<\n[Application]\nMouseLoupe=0\n" + more + "\n>>>\nstart\n";
}

}  // namespace

class LensTest : public StripTest {
 protected:
  // "X Y visible=V" of the lens (which must be 200 x 200 and topmost) after each point in turn.
  std::vector<std::string> LensAt(const std::string& settings, const std::vector<gfx::Point>& points) {
    std::string script = LensSettings(settings);
    for (gfx::Point p : points) script += "mouse " + std::to_string(p.x) + " " + std::to_string(p.y) + "\nwait 55\nwindows\n";
    std::vector<std::string> out;
    for (const std::string& line : Run(script).Lines("Form1 ")) {
      const std::size_t size = line.find(" 200 200 visible="), top = line.find(" topmost=1");
      out.push_back(size == std::string::npos || top == std::string::npos
                        ? line : line.substr(6, size - 6) + line.substr(size + 8, top - size - 8));
    }
    return out;
  }
};

TEST_F(LensTest, ShowsOverTheRulerBodyOnlyPlacedBesideThePointerAndTurnedAtTheScreenEdges) {
  // Screen 1024 x 768, lens 200 x 200. Horizontal: left X - 40 unless 1024 < X + 160, then
  // X - 210; top Y - 30 unless 768 < Y + 170, then Y - 200; flipped, top Y - 200 but strip
  // top + 10 while Y - 150 < 0. Vertical: top Y - 30 unless 768 < Y + 200, then Y - 230; left
  // X - 20 unless 1024 < X + 180, then X - 230; flipped, X - 230 but strip left + 10 while
  // X - 190 < 0. The body leaves out the caption strip (17 or 18 pixels, and one more beside
  // it when flipped).
  struct Case {
    const char* settings;
    std::vector<gfx::Point> points;
    std::vector<const char*> expected;
  } cases[] = {
      // At (10, 560), 1000 x 58: body 577 < y < 618, 10 <= x < 1010.
      {"Left=10\nTop=560\nLength=1000",
       {{300, 577}, {300, 578}, {864, 598}, {865, 599}, {9, 600}, {1009, 617}},
       {"0 0 visible=0", "260 548 visible=1", "824 568 visible=1", "655 399 visible=1", "655 399 visible=0",
        "799 417 visible=1"}},
      // Flipped at (10, 130), 1000 x 62: body 130 <= y < 174.
      {"Left=10\nTop=130\nLength=1000\nRulerFlip=1",
       {{500, 129}, {500, 149}, {500, 150}, {500, 173}, {500, 174}},
       {"0 0 visible=0", "460 140 visible=1", "460 -50 visible=1", "460 -27 visible=1", "460 -27 visible=0"}},
      // Vertical at (820, 0), 67 x 760: body 838 < x < 887.
      {"Orientation=1\nLeft=820\nTop=0\nLength=760",
       {{838, 300}, {839, 300}, {844, 568}, {845, 569}},
       {"0 0 visible=0", "819 270 visible=1", "824 538 visible=1", "615 339 visible=1"}},
      // Vertical flipped at (160, 0), 69 x 760: body 160 <= x < 210.
      {"Orientation=1\nRulerFlip=1\nLeft=160\nTop=0\nLength=760",
       {{159, 300}, {189, 300}, {190, 300}, {209, 740}, {210, 300}},
       {"0 0 visible=0", "170 270 visible=1", "-40 270 visible=1", "-21 510 visible=1", "-21 510 visible=0"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LensAt(c.settings, c.points), std::vector<std::string>(c.expected.begin(), c.expected.end())) << c.settings;
  // Not with the mouse loupe on (the default), nor with "Loupe" off; unchecking "Loupe" hides it.
  for (const std::string& start : {Settings("[Application]\nLeft=100\nTop=200") + "start\n",
                                   LensSettings("Left=100\nTop=200\nLoupe=0")})
    EXPECT_EQ(Run(start + "mouse 600 240\nwait 55\nprop Form1.Visible\n").Props()["Form1.Visible"], "false");
  EXPECT_EQ(LensAt("Left=100\nTop=200", {{600, 240}}), std::vector<std::string>{"560 210 visible=1"});
  // Hidden, it still refreshes at each tick in which the pointer moved, and only then.
  StripRun r = Run(LensSettings("Left=100\nTop=200") + "mouse 300 100\nwait 55\nprop Form1.Refreshes\nwait 110\n"
                   "mouse 301 100\nwait 55\nprop Form1.Refreshes\nprop Form1.Visible\n");
  EXPECT_EQ(r.Lines("Form1.Refreshes"), (std::vector<std::string>{"Form1.Refreshes = 1", "Form1.Refreshes = 2"}));
  EXPECT_EQ(r.Props()["Form1.Visible"], "false");
  EXPECT_EQ(Run(LensSettings("Left=100\nTop=200") + "mouse 600 240\nwait 55\nmenu frmMain.mnuLoupe\nprop Form1.Visible\n")
                .Props()["Form1.Visible"], "false");
}

TEST_F(LensTest, PictureIsTheScreenEnlargedUnderTheMarkerWithItsRimAndStippledArrowhead) {
  // Strip at (100, 200); the pointer at (601, 240), between two ticks, puts the lens at
  // (561, 210). Factor 2 captures 100 x 100 around (601 - 12, 240), from (539, 190); factor 4
  // 50 x 50 around (601 - 6, 240), from (570, 215). Picture pixel (i, j) shows screen pixel
  // (left + i div z, top + j div z), so column 601 fills picture columns 124 .. 124 + z - 1,
  // under the marker line.
  const std::string pre = (FDir / "pre.bmp").string(), pic = (FDir / "pic.png").string(),
                    lens = (FDir / "lens.bmp").string();
  for (const int z : {2, 4}) {
    SCOPED_TRACE("factor " + std::to_string(z));
    const int left = z == 2 ? 539 : 570, top = z == 2 ? 190 : 215;
    // Away from the strip first, where the lens is hidden: the screen as it will be captured.
    StripRun r = Run(LensSettings("Left=100\nTop=200\nMagnification=" + std::to_string(z)) + "mouse 601 150\nwait 55\nshot " +
                     pre + "\nmouse 601 240\nwait 55\nlog\nmenu Form1.Copy1\nlog\nclipboard " + pic + "\nshot " + lens +
                     " 561 210 200 200\n");
    EXPECT_EQ(r.Lines("clipboard"), std::vector<std::string>{"clipboard bitmap 200x200"});
    const gfx::Bitmap screen = gfx::ReadBmpFile(pre), picture = gfx::ReadPngFile(pic), shown = gfx::ReadBmpFile(lens);
    ASSERT_EQ(picture.Bounds(), (gfx::Rect{0, 0, 200, 200}));
    ASSERT_EQ(shown.Bounds(), picture.Bounds());
    int wrong = 0;
    for (int j = 0; j < 200; ++j)
      for (int i = 0; i < 200; ++i) wrong += picture.At(i, j) != screen.Get(left + i / z, top + j / z);
    EXPECT_EQ(wrong, 0) << "pixels of the copied picture that are not the enlarged screen";
    ASSERT_NE(screen.At(601, 240), 0u) << "a black pointer pixel would hide the marker";
    for (int j = 100; j < 160; ++j)
      for (int i = 124; i < 124 + z; ++i) ASSERT_EQ(shown.At(i, j), 0u) << "marker " << i << ", " << j;
    EXPECT_EQ(shown.At(124 + z, 150), picture.At(124 + z, 150));
    // The rim, inside the disc outline that takes its outermost pixel (the framed lens below
    // shows all three).
    for (int j = 116; j <= 132; ++j)
      for (int i : {51, 52, 197, 198}) EXPECT_EQ(shown.At(i, j), 0u) << "rim " << i << ", " << j;
    // The arrowhead (16 x 10 at 117, 99, apex 125, 99): inside its outline a 25 % stipple
    // blackens every other pixel of every other row; exactly one of the four phases fits.
    std::vector<std::array<int, 3>> inside;  // i, j, darkened
    for (int j = 102; j <= 107; ++j)
      for (int i = 117; i < 133; ++i)
        if (std::abs(i - 124.5) < (j - 99) * 8.0 / 9.0 - 1.5 && (i < 124 || i >= 124 + z) && picture.At(i, j) != 0) {
          inside.push_back({i, j, shown.At(i, j) != picture.At(i, j)});
          if (inside.back()[2]) { EXPECT_EQ(shown.At(i, j), 0u); }
        }
    ASSERT_GE(inside.size(), 6u);
    int fits = 0;
    for (int ph = 0; ph < 4; ++ph)
      fits += std::all_of(inside.begin(), inside.end(),
                          [&](const auto& p) { return p[2] == (p[0] % 2 == ph % 2 && p[1] % 2 == ph / 2); });
    EXPECT_EQ(fits, 1);
  }
}

TEST_F(LensTest, FirstPictureOverAVerticalOrFlippedStripIsTakenTheWayTheStripLies) {
  // One tick with the pointer on the ruler: the picture must already be shifted for the
  // strip's orientation and flip (factor 2, 100 x 100 captured). Vertical at (820, 0): the
  // pointer (850, 600) shifted by (0, -8) gives the square from (800, 542); the horizontal
  // shift (-12, 0) would give (788, 550). Flipped horizontal at (10, 130): (500, 150) shifted
  // by (-12, -8) gives (438, 92); unflipped it would be (438, 100). The screen is shot first
  // with the pointer beside the strip at the same reading, so the caption shows the same.
  struct Case {
    const char* Settings;
    gfx::Point Before, On, From;
  } cases[] = {{"Orientation=1\nLeft=820\nTop=0\nLength=760", {700, 600}, {850, 600}, {800, 542}},
               {"Left=10\nTop=130\nLength=1000\nRulerFlip=1", {500, 300}, {500, 150}, {438, 92}}};
  const std::string pre = (FDir / "pre.bmp").string(), pic = (FDir / "pic.bmp").string();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Settings);
    auto at = [](gfx::Point p) { return "mouse " + std::to_string(p.x) + " " + std::to_string(p.y) + "\nwait 55\n"; };
    Run(LensSettings(c.Settings) + at(c.Before) + "shot " + pre + "\n" + at(c.On) + "menu Form1.Copy1\nclipboard " + pic + "\n");
    const gfx::Bitmap screen = gfx::ReadBmpFile(pre), picture = gfx::ReadBmpFile(pic);
    ASSERT_EQ(picture.Bounds(), (gfx::Rect{0, 0, 200, 200}));
    int wrong = 0;
    for (int j = 0; j < 200; ++j)
      for (int i = 0; i < 200; ++i) wrong += picture.At(i, j) != screen.Get(c.From.x + i / 2, c.From.y + j / 2);
    EXPECT_EQ(wrong, 0) << "pixels of the first picture that are not the enlarged screen";
  }
}

TEST_F(LensTest, LockViewKeepsThePictureAndMediumRestartsTheTimer) {
  const std::string a = (FDir / "a.bmp").string(), b = (FDir / "b.bmp").string(), c = (FDir / "c.bmp").string();
  // Locked, over other pixels: the caption and the place follow, the picture stays.
  StripRun r = Run(LensSettings("Left=100\nTop=200") + "clipboard " + a + "\nmouse 601 240\nwait 55\nmenu Form1.Copy1\n"
                   "clipboard " + a + "\nmenu Form1.LockView1\nmouse 650 245\nwait 55\nprop Form1.Caption\nwindows\n"
                   "menu Form1.Copy1\nclipboard " + b + "\nmenu Form1.LockView1\nmouse 651 245\nwait 55\n"
                   "menu Form1.Copy1\nclipboard " + c + "\n");
  EXPECT_EQ(r.Lines("clipboard"), std::vector<std::string>{"clipboard empty"});
  EXPECT_EQ(r.Props()["Form1.Caption"], "X:650 Y:245");
  EXPECT_EQ(r.Lines("Form1 "), std::vector<std::string>{"Form1 610 215 200 200 visible=1 topmost=1"});
  EXPECT_EQ(gfx::ReadBmpFile(b), gfx::ReadBmpFile(a));
  EXPECT_NE(gfx::ReadBmpFile(c), gfx::ReadBmpFile(a)) << "unlocked, the picture follows again";
  // A still pointer: only the lens's own timer refreshes it. Fast starts it at 55 ms; Medium
  // 50 ms later restarts it at 100 ms, so nothing comes at 55 and the next refresh at 150.
  r = Run(LensSettings("Left=100\nTop=200") +
          "mouse 601 240\nwait 55\nprop Form1.Refreshes\nmenu Form1.Fast1\nwait 50\nmenu Form1.Medium1\n"
          "prop Form1.Timer1.Interval\nprop Form1.Fast1.Checked\nwait 99\nprop Form1.Refreshes\nwait 1\n"
          "prop Form1.Refreshes\nwait 100\nprop Form1.Refreshes\n");
  EXPECT_EQ(r.Props()["Form1.Timer1.Interval"], "100");
  EXPECT_EQ(r.Props()["Form1.Fast1.Checked"], "false");
  const std::vector<std::string> counts = r.Lines("Form1.Refreshes");
  ASSERT_EQ(counts.size(), 4u);
  const int n = std::stoi(counts[0].substr(18));
  for (int k : {1, 2, 3}) EXPECT_EQ(counts[k], "Form1.Refreshes = " + std::to_string(n + std::max(0, k - 1))) << k;
}

TEST_F(LensTest, SaveWritesBmpOrPngAsksBeforeReplacingAndPutsTheLensBackOnTop) {
  const std::string lens = (FDir / "lens").string(), clip = (FDir / "clip.bmp").string();
  // "lens" gets the default extension; ".PNG" gives a PNG. Taken out of the topmost band, the
  // lens goes back after a cancelled save too, which writes nothing. A new picture is then
  // not allowed to replace lens.bmp, and a folder that does not exist gives a message.
  StripRun r = Run(LensSettings("Left=100\nTop=200") + "mouse 601 240\nwait 55\nmenu Form1.Copy1\nclipboard " + clip +
                   "\nanswer savefile " + lens + "\nmenu Form1.Savetofile1\nanswer savefile " + lens +
                   ".PNG\nmenu Form1.Savetofile1\nmenu Form1.AlwaysonTop1\nwindows\nanswer savefile cancel\n"
                   "menu Form1.Savetofile1\nwindows\nmouse 651 245\nwait 55\nanswer savefile " + lens +
                   "\nanswer message no\nmenu Form1.Savetofile1\nanswer savefile /nonexistent-folder/lens.bmp\n"
                   "answer message ok\nmenu Form1.AlwaysonTop1\nmenu Form1.AlwaysonTop1\nmenu Form1.Savetofile1\nwindows\nlog\n");
  const gfx::Bitmap picture = gfx::ReadBmpFile(clip);
  EXPECT_EQ(gfx::ReadBmpFile(lens + ".bmp"), picture);
  EXPECT_EQ(gfx::ReadPngFile(lens + ".PNG"), picture);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir), {}), 4) << "Vantrel.ini, clip.bmp, lens.bmp, lens.PNG";
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=0",
                                                          "Form1 561 210 200 200 visible=1 topmost=1",
                                                          "Form1 611 215 200 200 visible=1 topmost=1"}));
  const std::vector<std::string> messages = r.Lines("message ");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("lens.bmp already exists"), std::string::npos) << messages[0];
  EXPECT_EQ(messages[1], "message The picture could not be saved: cannot create \"/nonexistent-folder/lens.bmp\"");
}

TEST_F(LensTest, BorderMenuAndStackingCommands) {
  // The lens stands at (561, 210) over the strip at (100, 200), whose ruler (rows 218 .. 257)
  // shows its pale yellow 0x80FFFF between the ticks. Beneath the lens's corners (563, 240)
  // and (571, 220) lies that ruler: the disc leaves it showing. A framed lens covers (563, 240)
  // with its frame's button-face grey 0xC0C0C0 (2 pixels into the 4-pixel frame, below the
  // 16-pixel title bar); a menu-showing (square) lens covers (571, 220) with its menu bar,
  // grey 0xC0C0C0 too. The frame keeps the 200 x 200 picture, so the rim's left edge is at
  // 565 + 50 .. 52, and 618 shows picture column 53: screen column 539 + 53 / 2 = 565 of row
  // 190 + 124 / 2 = 252, between two ticks (every second column from the strip's start at 100).
  StripRun r = Run(LensSettings("Left=100\nTop=200") +
                   "mouse 601 240\nwait 55\npixel 563 240\nmenu Form1.ToggleBorder1\nwindows\npixel 563 240\n"
                   "pixel 615 354\npixel 616 354\npixel 617 354\npixel 618 354\nprop Form1.ToggleBorder1.Caption\n"
                   "menu Form1.ToggleBorder1\nprop Form1.ToggleBorder1.Caption\nwindows\npixel 563 240\n"
                   // F12's command, then a double click on the picture, show and hide the menus.
                   "menu Form1.HideMenu1\nprop Form1.View1.Visible\npixel 571 220\n"
                   "mouse 686 335\ndblclick left\nprop Form1.View1.Visible\npixel 571 220\n");
  std::vector<std::string> px;
  for (const std::string& line : r.Lines("pixel ")) px.push_back(line.substr(line.size() - 8));
  EXPECT_EQ(px, (std::vector<std::string>{"0x80FFFF", "0xC0C0C0", "0x000000", "0x000000", "0x000000", "0x80FFFF",
                                          "0x80FFFF", "0xC0C0C0", "0x80FFFF"}));
  EXPECT_EQ(r.Lines("Form1.ToggleBorder1.Caption"), (std::vector<std::string>{"Form1.ToggleBorder1.Caption = Hide Border",
                                                                               "Form1.ToggleBorder1.Caption = Show Border"}));
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 208 224 visible=1 topmost=1",
                                                          "Form1 561 210 200 200 visible=1 topmost=1"}));
  EXPECT_EQ(r.Lines("Form1.View1.Visible"),
            (std::vector<std::string>{"Form1.View1.Visible = true", "Form1.View1.Visible = false"}));
  // While the strip's menu is open, and with the mouse loupe on, the lens is left where it is.
  r = Run(LensSettings("Left=100\nTop=200") +
          "mouse 601 240\nwait 55\nmouse 144 208\nclick left\nwait 55\nmouse 301 240\nwait 55\nwindows\n"
          "key escape\nwait 55\nmouse 302 240\nwait 55\nwindows\nmenu frmMain.mnuZoom\nmouse 500 500\nwait 55\nwindows\n");
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=1",
                                                          "Form1 262 210 200 200 visible=1 topmost=1",
                                                          "Form1 262 210 200 200 visible=1 topmost=1"}));
  // Nor does it follow while the About box is open; it does again once the box is closed.
  r = Run(LensSettings("Left=100\nTop=200") + "mouse 601 240\nwait 55\nmenu frmMain.mnuAbout\nmouse 650 245\nwait 55\n"
          "windows\nkey enter\nmouse 651 245\nwait 55\nwindows\n");
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=1",
                                                          "Form1 611 215 200 200 visible=1 topmost=1"}));
}
