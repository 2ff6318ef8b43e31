// Minimising to the tray and back: the strip and the windows shown with it leave the screen
// for one icon, and a left click on the icon brings them back as they were.
#include "tests/app/StripTestSupport.h"

namespace {

// The windows that are on the screen, "NAME X Y W H topmost=T", in stacking order.
std::vector<std::string> Shown(const std::vector<std::string>& windows) {
  std::vector<std::string> shown;
  for (const std::string& w : windows)
    if (auto at = w.find(" visible=1"); at != std::string::npos) shown.push_back(w.substr(0, at) + w.substr(at + 10));
  return shown;
}

// The block of "windows" output after each "tray" line, and the tray lines themselves.
struct Steps {
  std::vector<std::string> Tray;
  std::vector<std::vector<std::string>> Windows;
};
Steps Split(const std::string& out) {
  Steps s;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("tray ", 0) == 0) {
      s.Tray.push_back(line);
      s.Windows.emplace_back();
    } else if (!s.Windows.empty() && line.find(" visible=") != std::string::npos) {
      s.Windows.back().push_back(line);
    }
  }
  return s;
}

}  // namespace

TEST_F(StripTest, MinimizeToTrayAndBackKeepsTheStripAndItsCompanions) {
  // The minimise button sits in the caption panel: horizontal at window (1 + 17, 1 + 2),
  // vertical (caption on the right, 78 in from the left when large) at (78 + 2, 1 + 18).
  struct Case {
    const char* Settings;
    int MinX, MinY;
    bool Cross;
  } cases[] = {
      {"[Application]\nLeft=100\nTop=200\nOnTop=1", 123, 208, true},
      {"[Application]\nLeft=100\nTop=200\nOrientation=1\nRulerFlip=1\nMouseLoupe=0\n[Ruler]\nLarge=1", 185, 224, false},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    const std::string minimise = "mouse " + std::to_string(c.MinX) + " " + std::to_string(c.MinY) + "\nclick left\n";
    std::string script = Settings(c.Settings) + "start\n";
    if (c.Cross) script += "menu frmMain.mnuCrossRuler\n";
    script += "tray\nwindows\n";                                      // 0: on screen, no icon
    script += minimise + "tray\nwindows\n";                             // 1: one icon, nothing shown
    script += "tray click right\ntray\nwindows\n";                      // 2: no popup menu: nothing
    script += "tray click left\ntray\nwindows\n";                       // 3: back, no icon
    script += "key right\ntray\nwindows\n";                             // 4: the strip has the keys
    // The menu's "Minimize to tray" does what the button does.
    for (int i = 0; i < 3; ++i) script += (i == 1 ? "menu frmMain.mnuMinimize\n" : minimise) + "tray\ntray dblclick left\n";
    script += "tray\nwindows\n";                                        // 8: still one strip, no icon
    script += minimise + "close\ntray\ncat Vantrel.ini\n";              // 9: closed from the tray
    StripRun r = Run(script);
    Steps s = Split(r.Out);
    ASSERT_EQ(s.Tray.size(), 10u) << r.Out;
    const std::vector<std::string> icons{"tray icons=0", "tray icons=1", "tray icons=1", "tray icons=0",
                                         "tray icons=0", "tray icons=1", "tray icons=1", "tray icons=1",
                                         "tray icons=0", "tray icons=0"};
    EXPECT_EQ(s.Tray, icons) << c.Settings;
    const std::vector<std::string> before = Shown(s.Windows[0]);
    // The first case also has the mouse loupe and its panel shown (the default).
    ASSERT_EQ(before.size(), c.Cross ? 4u : 1u) << r.Out;
    EXPECT_TRUE(Shown(s.Windows[1]).empty()) << r.Out;
    EXPECT_TRUE(Shown(s.Windows[2]).empty()) << r.Out;
    // The same windows, in any stacking order; the strip and the cross ruler at the same place,
    // size, layout and band (the loupe jumps to the pointer).
    auto fixed = [](std::vector<std::string> shown) {
      for (std::string& w : shown)
        if (w.rfind("frmMain ", 0) != 0 && w.rfind("frmCrossRuler ", 0) != 0) w = w.substr(0, w.find(' '));
      std::sort(shown.begin(), shown.end());
      return shown;
    };
    EXPECT_EQ(fixed(Shown(s.Windows[3])), fixed(before)) << c.Settings;
    // Right arrow: the strip one pixel to the right.
    const std::vector<std::string> moved = Shown(s.Windows[4]);
    const std::string strip = c.Cross ? "frmMain 101 200 640 58 topmost=1" : "frmMain 101 200 97 400 topmost=0";
    EXPECT_NE(std::find(moved.begin(), moved.end(), strip), moved.end()) << r.Out;
    EXPECT_EQ(Shown(s.Windows[8]).size(), before.size()) << r.Out;
    // The settings written from the tray hold the strip's real place and length.
    EXPECT_NE(r.Out.find("Left=101\r\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("Top=200\r\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find(c.Cross ? "Length=640\r\n" : "Length=400\r\n"), std::string::npos) << r.Out;
  }
}
