// The lens beside the strip ("Loupe" on, "Mouse loupe" off), driven through the whole program.
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
  // "X Y W H visible=V topmost=T" of the lens after the pointer went to each point in turn.
  std::vector<std::string> LensAt(const std::string& settings, const std::vector<gfx::Point>& points) {
    std::string script = LensSettings(settings);
    for (gfx::Point p : points) script += "mouse " + std::to_string(p.x) + " " + std::to_string(p.y) + "\nwait 55\nwindows\n";
    StripRun r = Run(script);
    std::vector<std::string> out;
    for (const std::string& line : r.Lines("Form1 ")) out.push_back(line.substr(6));
    return out;
  }
};

TEST_F(LensTest, ShowsOverTheRulerBodyOnlyPlacedBesideThePointerAndTurnedAtTheScreenEdges) {
  // Screen 1024 x 768, lens 200 x 200; strips 58 thick with a 17-pixel caption strip.
  struct Case {
    const char* settings;
    std::vector<gfx::Point> points;
    std::vector<const char*> expected;
  } cases[] = {
      // Horizontal at (10, 560), 1000 long: body 577 < y < 618. Left X - 40 unless
      // 1024 < X + 160, then X - 210; top Y - 30 unless 768 < Y + 170, then Y - 200.
      {"Left=10\nTop=560\nLength=1000",
       {{300, 577}, {300, 578}, {864, 598}, {865, 599}, {9, 600}, {1009, 617}},
       {"0 0 200 200 visible=0", "260 548 200 200 visible=1", "824 568 200 200 visible=1",
        "655 399 200 200 visible=1", "655 399 200 200 visible=0", "799 417 200 200 visible=1"}},
      // Flipped, at (10, 130), 62 thick: caption strip at the bottom, body 130 <= y < 192 - 18.
      // Top Y - 200, but strip top + 10 = 140 while Y - 150 < 0.
      {"Left=10\nTop=130\nLength=1000\nRulerFlip=1",
       {{500, 129}, {500, 149}, {500, 150}, {500, 173}, {500, 174}},
       {"0 0 200 200 visible=0", "460 140 200 200 visible=1", "460 -50 200 200 visible=1",
        "460 -27 200 200 visible=1", "460 -27 200 200 visible=0"}},
      // Vertical at (820, 0), 760 long, 67 thick, an 18-pixel caption strip: body
      // 838 < x < 887. Top Y - 30 unless 768 < Y + 200, then Y - 230; left X - 20 unless
      // 1024 < X + 180, then X - 230.
      {"Orientation=1\nLeft=820\nTop=0\nLength=760",
       {{838, 300}, {839, 300}, {844, 568}, {845, 569}},
       {"0 0 200 200 visible=0", "819 270 200 200 visible=1", "824 538 200 200 visible=1",
        "615 339 200 200 visible=1"}},
      // Vertical flipped at (160, 0), 69 thick: caption strip on the right, body
      // 160 <= x < 229 - 19. Left X - 230, but strip left + 10 = 170 while X - 190 < 0.
      {"Orientation=1\nRulerFlip=1\nLeft=160\nTop=0\nLength=760",
       {{159, 300}, {189, 300}, {190, 300}, {209, 740}, {210, 300}},
       {"0 0 200 200 visible=0", "170 270 200 200 visible=1", "-40 270 200 200 visible=1",
        "-21 510 200 200 visible=1", "-21 510 200 200 visible=0"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> got = LensAt(c.settings, c.points);
    ASSERT_EQ(got.size(), c.expected.size()) << c.settings;
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(got[i], std::string(c.expected[i]) + " topmost=1") << c.settings << " point " << i;
  }
  // Only with "Loupe" checked and "Mouse loupe" unchecked; unchecking "Loupe" hides it.
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=200") +
                   "start\nmouse 600 240\nwait 55\nprop Form1.Visible\n");
  EXPECT_EQ(r.Props()["Form1.Visible"], "false") << "the mouse loupe rules";
  r = Run(LensSettings("Left=100\nTop=200\nLoupe=0") + "mouse 600 240\nwait 55\nprop Form1.Visible\n");
  EXPECT_EQ(r.Props()["Form1.Visible"], "false");
  r = Run(LensSettings("Left=100\nTop=200") +
          "mouse 600 240\nwait 55\nprop Form1.Visible\nmenu frmMain.mnuLoupe\nprop frmMain.mnuLoupe.Checked\n"
          "windows\nmouse 610 240\nwait 55\nwindows\n");
  EXPECT_EQ(r.Lines("Form1.Visible"), std::vector<std::string>{"Form1.Visible = true"});
  EXPECT_EQ(r.Props()["frmMain.mnuLoupe.Checked"], "false");
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 560 210 200 200 visible=0 topmost=1",
                                                          "Form1 560 210 200 200 visible=0 topmost=1"}));
}

TEST_F(LensTest, PictureIsTheScreenEnlargedUnderTheMarkerWithItsRimAndStippledArrowhead) {
  // Strip at (100, 200); the pointer at (601, 240) over the ruler body (between two ticks)
  // puts the lens at (561, 210). At factor 2 the capture is 100 x 100 around (601 - 12, 240),
  // from (539, 190); at factor 4 it is 50 x 50 around (601 - 6, 240), from (570, 215).
  // Picture pixel (i, j) shows screen pixel (left + i div z, top + j div z), so the pointer's
  // column 601 fills picture columns 124 .. 124 + z - 1, where the marker line stands.
  for (const int z : {2, 4}) {
    SCOPED_TRACE("factor " + std::to_string(z));
    const int left = z == 2 ? 539 : 570, top = z == 2 ? 190 : 215;
    const std::string pre = (FDir / "pre.bmp").string(), pic = (FDir / "pic.png").string(),
                      lens = (FDir / "lens.bmp").string();
    StripRun r = Run(LensSettings("Left=100\nTop=200\nMagnification=" + std::to_string(z)) +
                     // Away from the strip first: the lens is hidden and the screen is as it
                     // will be captured.
                     "mouse 601 150\nwait 55\nshot " + pre + "\nmouse 601 240\nwait 55\nwindows\nlog\n"
                     "menu Form1.Copy1\nlog\nclipboard " + pic + "\nshot " + lens + " 561 210 200 200\n");
    EXPECT_EQ(r.Lines("Form1 "), std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=1"});
    EXPECT_EQ(r.Lines("clipboard"), std::vector<std::string>{"clipboard bitmap 200x200"});
    const gfx::Bitmap screen = gfx::ReadBmpFile(pre), picture = gfx::ReadPngFile(pic), shown = gfx::ReadBmpFile(lens);
    ASSERT_EQ(picture.Width(), 200);
    ASSERT_EQ(picture.Height(), 200);
    ASSERT_EQ(shown.Width(), 200);
    ASSERT_EQ(shown.Height(), 200);
    int wrong = 0;
    for (int j = 0; j < 200; ++j)
      for (int i = 0; i < 200; ++i) wrong += picture.At(i, j) != screen.Get(left + i / z, top + j / z);
    EXPECT_EQ(wrong, 0) << "pixels of the copied picture that are not the enlarged screen";
    EXPECT_NE(screen.At(601, 240), 0u) << "the pointer's pixel should not be black: the marker must show";
    // The marker line: black over the pointer's column from the picture's middle down.
    for (int j = 100; j < 160; ++j)
      for (int i = 124; i < 124 + z; ++i) ASSERT_EQ(shown.At(i, j), 0u) << i << ", " << j;
    EXPECT_EQ(shown.At(124 + z, 150), picture.At(124 + z, 150));
    // The rim: inside the disc outline, black up to the picture at the disc's left and right
    // edges (its outermost pixel lies outside the outline; see the framed lens below).
    int rows = 0;
    for (int j = 116; j <= 132; ++j) {
      for (int i : {51, 52, 197, 198}) EXPECT_EQ(shown.At(i, j), 0u) << i << ", " << j;
      for (int i : {53, 196})
        if (picture.At(i, j) != 0) {
          ++rows;
          EXPECT_EQ(shown.At(i, j), picture.At(i, j)) << i << ", " << j;
        }
    }
    EXPECT_GT(rows, 4);
    // The arrowhead above the line (16 x 10 at 117, 99, pointing up, apex at 125, 99): inside
    // its outline a 25 % stipple darkens every other pixel of every other row. Which of the
    // four phases depends on the pattern's origin; exactly one must fit every pixel.
    struct Px {
      int i, j;
      bool dark;
    };
    std::vector<Px> inside;
    for (int j = 102; j <= 107; ++j)
      for (int i = 117; i < 133; ++i) {
        const double half = (j - 99) * 8.0 / 9.0 - 1.5;  // the outline's half width, less a margin
        if (std::abs(i - 124.5) >= half || (i >= 124 && i < 124 + z) || picture.At(i, j) == 0) continue;
        const bool dark = shown.At(i, j) != picture.At(i, j);
        if (dark) EXPECT_EQ(shown.At(i, j), 0u) << i << ", " << j;
        inside.push_back({i, j, dark});
      }
    ASSERT_GE(inside.size(), 6u);
    int fits = 0, dark = 0;
    for (int phase = 0; phase < 4; ++phase)
      fits += std::all_of(inside.begin(), inside.end(),
                          [&](const Px& p) { return p.dark == (p.i % 2 == phase % 2 && p.j % 2 == phase / 2); });
    for (const Px& p : inside) dark += p.dark;
    EXPECT_EQ(fits, 1) << dark << " of " << inside.size() << " darkened";
    EXPECT_GT(dark, 0);
  }
}

TEST_F(LensTest, LockViewKeepsThePictureMediumRestartsTheTimerAndCopyTakesThePicture) {
  const std::string a = (FDir / "a.bmp").string(), b = (FDir / "b.bmp").string(), c = (FDir / "c.bmp").string();
  StripRun r = Run(LensSettings("Left=100\nTop=200") + "clipboard " + a +
                   "\nmouse 601 240\nwait 55\nmenu Form1.Copy1\nclipboard " + a +
                   "\nmenu Form1.LockView1\nprop Form1.LockView1.Checked\n"
                   // Over other pixels: the caption and the place follow, the picture stays.
                   "mouse 650 245\nwait 55\nprop Form1.Caption\nwindows\nmenu Form1.Copy1\nclipboard " + b +
                   "\nmenu Form1.LockView1\nmouse 651 245\nwait 55\nmenu Form1.Copy1\nclipboard " + c + "\nlog\n");
  EXPECT_EQ(r.Lines("clipboard"), (std::vector<std::string>{"clipboard empty", "clipboard bitmap 200x200",
                                                              "clipboard bitmap 200x200", "clipboard bitmap 200x200"}));
  EXPECT_EQ(r.Props()["Form1.LockView1.Checked"], "true");
  EXPECT_EQ(r.Props()["Form1.Caption"], "X:650 Y:245");
  EXPECT_EQ(r.Lines("Form1 "), std::vector<std::string>{"Form1 610 215 200 200 visible=1 topmost=1"});
  EXPECT_EQ(gfx::ReadBmpFile(b), gfx::ReadBmpFile(a));
  EXPECT_NE(gfx::ReadBmpFile(c), gfx::ReadBmpFile(a)) << "unlocked, the picture follows again";

  // A still pointer: only the lens's own timer refreshes it. Fast starts it at 55 ms; Medium
  // 50 ms later restarts it at 100 ms, so nothing comes at 55 and the next refresh at 150.
  r = Run(LensSettings("Left=100\nTop=200") +
          "mouse 601 240\nwait 55\nprop Form1.Timer1.Enabled\nprop Form1.Refreshes\nmenu Form1.Fast1\nwait 50\n"
          "menu Form1.Medium1\nprop Form1.Timer1.Interval\nprop Form1.Timer1.Enabled\nprop Form1.Fast1.Checked\n"
          "prop Form1.Medium1.Checked\nwait 99\nprop Form1.Refreshes\nwait 1\nprop Form1.Refreshes\nwait 100\n"
          "prop Form1.Refreshes\n");
  EXPECT_EQ(r.Lines("Form1.Timer1.Enabled"),
            (std::vector<std::string>{"Form1.Timer1.Enabled = false", "Form1.Timer1.Enabled = true"}));
  EXPECT_EQ(r.Props()["Form1.Timer1.Interval"], "100");
  EXPECT_EQ(r.Props()["Form1.Fast1.Checked"], "false");
  EXPECT_EQ(r.Props()["Form1.Medium1.Checked"], "true");
  const std::vector<std::string> counts = r.Lines("Form1.Refreshes");
  ASSERT_EQ(counts.size(), 4u);
  const int start = std::stoi(counts[0].substr(counts[0].find('=') + 2));
  for (int k = 1; k < 4; ++k)
    EXPECT_EQ(counts[std::size_t(k)], "Form1.Refreshes = " + std::to_string(start + (k == 1 ? 0 : k - 1))) << k;
}

TEST_F(LensTest, SaveWritesThePictureAsBmpOrPngAsksBeforeReplacingAndTheLensGoesBackOnTop) {
  const std::string lens = (FDir / "lens").string(), clip = (FDir / "clip.bmp").string();
  StripRun r = Run(LensSettings("Left=100\nTop=200") + "mouse 601 240\nwait 55\nmenu Form1.Copy1\nclipboard " + clip +
                   // The default extension makes "lens" lens.bmp; a ".png" name gives a PNG.
                   "\nanswer savefile " + lens + "\nmenu Form1.Savetofile1\nanswer savefile " + lens +
                   ".PNG\nmenu Form1.Savetofile1\n"
                   // Out of the topmost band by the menu: a cancelled save writes nothing and
                   // still puts the lens back on top.
                   "menu Form1.AlwaysonTop1\nwindows\nanswer savefile cancel\nmenu Form1.Savetofile1\nwindows\n"
                   // A new picture; replacing lens.bmp is refused, so it keeps the old one.
                   "mouse 651 245\nwait 55\nanswer savefile " + lens + "\nanswer message no\nmenu Form1.Savetofile1\n"
                   "answer savefile /nonexistent-folder/lens.bmp\nanswer message ok\nmenu Form1.AlwaysonTop1\nmenu Form1.AlwaysonTop1\n"
                   "menu Form1.Savetofile1\nwindows\nlog\n");
  const gfx::Bitmap picture = gfx::ReadBmpFile(clip);
  ASSERT_EQ(picture.Width(), 200);
  EXPECT_EQ(gfx::ReadBmpFile(lens + ".bmp"), picture);
  EXPECT_EQ(gfx::ReadPngFile(lens + ".PNG"), picture);
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(FDir)) ++files;
  EXPECT_EQ(files, 4) << "Vantrel.ini, clip.bmp, lens.bmp, lens.PNG";
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=0",
                                                          "Form1 561 210 200 200 visible=1 topmost=1",
                                                          "Form1 611 215 200 200 visible=1 topmost=1"}));
  const std::vector<std::string> messages = r.Lines("message ");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("lens.bmp already exists"), std::string::npos) << messages[0];
  EXPECT_NE(messages[1].find("The picture could not be saved"), std::string::npos) << messages[1];
  EXPECT_NE(messages[1].find("/nonexistent-folder/lens.bmp"), std::string::npos) << messages[1];
}

TEST_F(LensTest, BorderMenuAndStackingCommands) {
  // Beneath the lens's corner (561 + 10, 210 + 10) lies the strip's caption strip; the disc
  // leaves it showing, the framed (rectangular) lens covers it.
  StripRun r = Run(LensSettings("Left=100\nTop=200") +
                   "mouse 601 240\nwait 55\npixel 571 220\nmenu Form1.ToggleBorder1\nprop Form1.ToggleBorder1.Caption\n"
                   "windows\npixel 571 220\nmenu Form1.ToggleBorder1\nprop Form1.ToggleBorder1.Caption\nwindows\n"
                   "pixel 571 220\n"
                   // F12's command, then a double click on the picture, show and hide the menus.
                   "menu Form1.HideMenu1\nprop Form1.File1.Visible\nprop Form1.View1.Visible\n"
                   "mouse 686 335\ndblclick left\nprop Form1.File1.Visible\nprop Form1.View1.Visible\n");
  const std::vector<std::string> pixels = r.Lines("pixel ");
  ASSERT_EQ(pixels.size(), 3u);
  EXPECT_NE(pixels[1], pixels[0]);
  EXPECT_EQ(pixels[2], pixels[0]) << "the disc outline is back";
  EXPECT_EQ(r.Lines("Form1.ToggleBorder1.Caption"), (std::vector<std::string>{"Form1.ToggleBorder1.Caption = Hide Border",
                                                                               "Form1.ToggleBorder1.Caption = Show Border"}));
  // The frame keeps the 200 x 200 picture: 4 pixels each side and a 16-pixel title bar.
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 208 224 visible=1 topmost=1",
                                                          "Form1 561 210 200 200 visible=1 topmost=1"}));
  EXPECT_EQ(r.Lines("Form1.File1.Visible"),
            (std::vector<std::string>{"Form1.File1.Visible = true", "Form1.File1.Visible = false"}));
  EXPECT_EQ(r.Lines("Form1.View1.Visible"),
            (std::vector<std::string>{"Form1.View1.Visible = true", "Form1.View1.Visible = false"}));

  // While the strip's menu is open, and with the mouse loupe on, the lens is left where it is.
  r = Run(LensSettings("Left=100\nTop=200") +
          "mouse 601 240\nwait 55\nmouse 144 208\nclick left\nwait 55\nmouse 301 240\nwait 55\nwindows\n"
          "key escape\nwait 55\nmouse 302 240\nwait 55\nwindows\nmenu frmMain.mnuZoom\nmouse 500 500\nwait 55\nwindows\n");
  EXPECT_EQ(r.Lines("Form1 "), (std::vector<std::string>{"Form1 561 210 200 200 visible=1 topmost=1",
                                                          "Form1 262 210 200 200 visible=1 topmost=1",
                                                          "Form1 262 210 200 200 visible=1 topmost=1"}));
}
