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
