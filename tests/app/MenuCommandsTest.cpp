// The strip's popup menu and its commands, driven as a user drives them.
#include <algorithm>

#include "tests/app/StripTestSupport.h"

namespace {

const char* kAt300 = "[Application]\nLeft=300\nTop=300";

// The line "MenuWindow X Y W H visible=1 ..." of a windows query, or "".
std::string MenuLine(const StripRun& r) {
  auto lines = r.Lines("MenuWindow ");
  return lines.empty() ? "" : lines.back();
}

int MenuWidth(const std::string& line) {
  std::istringstream in(line);
  std::string name;
  int x = 0, y = 0, w = 0;
  in >> name >> x >> y >> w;
  return w;
}

}  // namespace

TEST_F(StripTest, MenuOpensBelowItsButtonWithinTheScreen) {
  // At 300, 300 the menu button sits at 38, 2 of the caption panel (1, 1): the menu opens at
  // (300 + 38, 300 + 2 + 13 + 2); 15 rows of 19 and 5 separators of 11 in a 1-pixel margin and
  // a 2-pixel frame: 1 + 285 + 55 + 1 + 4 = 346 high.
  StripRun r = Run(Settings(kAt300) + "start\nmouse 344 308\nclick left\nwindows\n");
  const std::string first = MenuLine(r);
  const int w = MenuWidth(first);
  ASSERT_GT(w, 60) << r.Out;
  EXPECT_EQ(first, "MenuWindow 338 317 " + std::to_string(w) + " 346 visible=1 topmost=1");

  struct Case {
    const char* Screen;
    const char* Settings;
    std::string Expect;  // X Y of the menu
  } cases[] = {
      // Near the bottom: above the button, whose top is at 600 + 1 + 2.
      {"", "[Application]\nLeft=300\nTop=600", "338 257"},
      // At the right edge: moved left to end at the screen's edge.
      {"", "[Application]\nLeft=950\nTop=300", std::to_string(1024 - w) + " 317"},
      // Off the left edge: at 1.
      {"", "[Application]\nLeft=-100\nTop=300", "1 317"},
      // Fits neither below nor above: its bottom on the screen's, but never above 1.
      {"screen 1024 300\n", "[Application]\nLeft=300\nTop=100", "338 1"},
      {"screen 1024 400\n", "[Application]\nLeft=300\nTop=150", "338 54"},
      // Vertical: the button at 2, 40 of the panel.
      {"", "[Application]\nLeft=300\nTop=300\nOrientation=1", "302 355"},
      // Ruler flipped: the caption panel lies below (at 1, 44) or right (at 50, 1) of the
      // ruler, and the menu opens below the button there rather than over it.
      {"", "[Application]\nLeft=300\nTop=300\nRulerFlip=1", "338 360"},
      {"", "[Application]\nLeft=300\nTop=300\nOrientation=1\nRulerFlip=1", "351 355"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    r = Run(std::string(c.Screen) + Settings(c.Settings) + "start\nmenu frmMain.N1\nwindows\n");
    EXPECT_EQ(MenuLine(r), "MenuWindow " + c.Expect + " " + std::to_string(w) + " 346 visible=1 topmost=1")
        << c.Settings;
  }
}

TEST_F(StripTest, MenuCommandsSetTheZero) {
  // "Set end to 0": the pixel just past the strip reads 0, so the start is -640 / 20 = -32;
  // large, -640 / 40 = -16; vertical 400 high, -400 / 20 = -20. The last pixel reads -1.
  struct Case {
    const char* Settings;
    const char* Mouse;
    const char* Start;
  } cases[] = {
      {"[Application]\nLeft=100\nTop=100", "739 500", "-32"},
      {"[Application]\nLeft=100\nTop=100\n[Ruler]\nLarge=1", "739 500", "-16"},
      {"[Application]\nLeft=100\nTop=100\nOrientation=1\nLength=400", "500 499", "-20"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run(Settings(c.Settings) + "start\nmenu frmMain.mnuSetEnd0\nmouse " + c.Mouse +
                     "\nwait 55\nprop frmMain.Ruler.StartValue\nprop frmMain.lblMsPos.Caption\n"
                     "menu frmMain.mnuSetBegin0\nprop frmMain.Ruler.StartValue\nlog\n");
    EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "0");
    auto starts = r.Lines("frmMain.Ruler.StartValue");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0], std::string("frmMain.Ruler.StartValue = ") + c.Start);
    EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "-1");
    EXPECT_EQ(r.Lines("sound "), (std::vector<std::string>{"sound MenuPopup", "sound MenuCommand",
                                                           "sound MenuPopup", "sound MenuCommand"}));
  }
}

TEST_F(StripTest, MenuHidesTheMouseLoupeWhileOpen) {
  // Checked: hidden while the menu is open, shown after it closes (with or without a command).
  StripRun r = Run(Settings("[Application]\nLeft=300\nTop=300\nMouseLoupe=1") +
                   "start\nmouse 344 308\nclick left\nprop frmZoom.Visible\nkey escape\nprop frmZoom.Visible\n"
                   "click left\nprop frmZoom.Visible\nmenu frmMain.mnuLoupe\nprop frmZoom.Visible\n");
  EXPECT_EQ(r.Lines("frmZoom.Visible"), (std::vector<std::string>{"frmZoom.Visible = false", "frmZoom.Visible = true",
                                                                  "frmZoom.Visible = false", "frmZoom.Visible = true"}));
  // Unchecked: it stays hidden.
  std::filesystem::remove(FDir / "Vantrel.ini");
  r = Run(Settings("[Application]\nLeft=300\nTop=300\nMouseLoupe=0") +
          "start\nmouse 344 308\nclick left\nkey escape\nprop frmZoom.Visible\n");
  EXPECT_EQ(r.Props()["frmZoom.Visible"], "false");
}

TEST_F(StripTest, MenuChecksReachTheStackAndTheSettingsFile) {
  StripRun r = Run(Settings(kAt300) +
                   "start\nmenu frmMain.mnuAlwaysTop\nwindows\nmenu frmMain.mnuAlwaysTop\nwindows\n"
                   "menu frmMain.mnuAlwaysTop\nmenu frmMain.mnuLoupe\nmenu frmMain.mnuRulerFlip\nclose\ncat Vantrel.ini\n");
  auto strips = r.Lines("frmMain ");
  ASSERT_EQ(strips.size(), 2u);
  EXPECT_NE(strips[0].find("topmost=1"), std::string::npos);
  EXPECT_NE(strips[1].find("topmost=0"), std::string::npos);
  EXPECT_NE(r.Out.find("OnTop=1\r\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("\nLoupe=0\r\n"), std::string::npos);
  EXPECT_NE(r.Out.find("RulerFlip=1\r\n"), std::string::npos);
}

TEST_F(StripTest, OpenMenuByKeysAndMouse) {
  // While the menu is open the caption keeps reading the pointer; the arrows move the
  // highlight (not the strip), skipping separators and wrapping; Enter chooses.
  StripRun r = Run(Settings(kAt300) +
                   "start\nmouse 344 308\nclick left\nmouse 600 700\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "key up\nprop MenuWindow.Selected\nkey down\nprop MenuWindow.Selected\n"
                   "key down\nkey down\nkey down\nkey down\nkey down\nkey down\nprop MenuWindow.Selected\n"
                   "key q\nprop frmMain.Menu.IsOpen\nprop frmMain.Left\nlog\n"
                   "key up\nkey up\nkey enter\nprop frmMain.Menu.IsOpen\nprop frmMain.Ruler.StartValue\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "300");
  auto selected = r.Lines("MenuWindow.Selected");
  ASSERT_EQ(selected.size(), 3u);
  EXPECT_EQ(selected[0], "MenuWindow.Selected = 19");  // Exit, from nothing upwards
  EXPECT_EQ(selected[1], "MenuWindow.Selected = 0");   // wrapped to About
  EXPECT_EQ(selected[2], "MenuWindow.Selected = 8");   // 1 2 4 5 7 8: past N1 and N5
  EXPECT_EQ(r.Lines("frmMain.Menu.IsOpen"), (std::vector<std::string>{"frmMain.Menu.IsOpen = true", "frmMain.Menu.IsOpen = false"}));
  EXPECT_EQ(r.Props()["frmMain.Left"], "300");
  EXPECT_EQ(r.Lines("beep"), std::vector<std::string>{"beep"});
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "-32");  // up twice from Flip: Set end to 0

  // The mouse: the row under the pointer lights up; a release on a separator does nothing; a
  // press outside closes the menu without a command.
  std::filesystem::remove(FDir / "Vantrel.ini");
  // Rows from the menu's top (317): frame 2 + margin 1, About 3..22, Help 22..41, Ruler
  // Properties 41..60, N1 60..71.
  r = Run(Settings(kAt300) +
          "start\nmouse 344 308\nclick left\nmouse 380 345\nprop MenuWindow.Selected\n"
          "mouse 380 382\nclick left\nprop frmMain.Menu.IsOpen\nmouse 800 600\nclick left\n"
          "prop frmMain.Menu.IsOpen\nlog\n");
  auto rows = r.Lines("MenuWindow.Selected");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], "MenuWindow.Selected = 1");
  EXPECT_EQ(r.Lines("frmMain.Menu.IsOpen"), (std::vector<std::string>{"frmMain.Menu.IsOpen = true", "frmMain.Menu.IsOpen = false"}));
  EXPECT_EQ(r.Lines("sound "), std::vector<std::string>{"sound MenuPopup"});
}
