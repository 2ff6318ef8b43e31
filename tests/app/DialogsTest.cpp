// The program's dialogs: a click on a window that one of them blocks leaves the dialog in front
// with the keyboard, and their fields cut, copy and paste through the desktop's clipboard.
#include "tests/app/StripTestSupport.h"

namespace {

// The query lines between two "frmMain.Left = " lines, which the scripts print as separators.
std::vector<std::vector<std::string>> Blocks(const std::string& out) {
  std::vector<std::vector<std::string>> blocks(1);
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("frmMain.Left = ", 0) == 0) blocks.emplace_back();
    else blocks.back().push_back(line);
  }
  return blocks;
}

// The name of the highest visible window in a "windows" listing.
std::string TopWindow(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (line.find(" visible=1 ") != std::string::npos) return line.substr(0, line.find(' '));
  return "";
}

}  // namespace

TEST_F(StripTest, AClickOnABlockedWindowBeepsAndTheDialogKeepsTheFrontAndTheKeyboard) {
  // The strip at (100, 400), 640 x 58, always on top (out of the topmost band while the lens
  // shows); the dialogs open centred and leave its menu button at (144, 408) uncovered. The
  // properties dialog hides the strip: its colour chooser's row clicks the dialog's own Cancel
  // button (560, 544) instead, below the chooser.
  const std::string strip = "mouse 144 408\nclick left\n";
  struct Case {
    const char* Dialog;
    std::string Open, Click;
    const char* Key;
  } cases[] = {
      {"frmAbout", "menu frmMain.mnuAbout\n", strip, "enter"},
      {"dlgInput", "key u ctrl\n", strip, "escape"},
      {"MessageBox", "answer input abc\nkey u ctrl\n", strip, "enter"},
      {"dlgSave", "mouse 300 430\nwait 55\nmenu Form1.Savetofile1\n", strip, "escape"},
      {"dlgColor", "menu frmMain.mnuRulerProperties\nmouse 429 292\nclick left\n", "mouse 560 544\nclick left\n", "escape"},
  };
  const std::string mark = "prop frmMain.Left\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dialog);
    StripRun r = Run(Settings("[Application]\nLeft=100\nTop=400\nMouseLoupe=0\nOnTop=1") + "start\nwait 200\n" + c.Open +
                     "log\n" + mark + "windows\n" + mark + c.Click + "wait 55\nwindows\n" + mark + "log\n" + mark +
                     "key " + c.Key + "\nwindows\n");
    const auto blocks = Blocks(r.Out);
    ASSERT_EQ(blocks.size(), 5u) << r.Out;
    EXPECT_EQ(TopWindow(blocks[1]), c.Dialog) << "opened";
    EXPECT_EQ(TopWindow(blocks[2]), c.Dialog) << "after the click and a tick";
    EXPECT_EQ(blocks[3], std::vector<std::string>{"beep"});
    const std::string dialog = c.Dialog;
    EXPECT_TRUE(std::none_of(blocks[4].begin(), blocks[4].end(), [&](const std::string& line) {
      return line.rfind(dialog + " ", 0) == 0 && line.find(" visible=1 ") != std::string::npos;
    })) << c.Key << " did not close it:\n" << r.Out;
  }
}

TEST_F(StripTest, DialogFieldsCutCopyAndPasteThroughTheDesktopClipboard) {
  // Another program's "13" pasted over the small tick size (field at 560, 339, its text all
  // selected by Ctrl+A), cut back to the clipboard, and pasted again.
  StripRun r = Run(Settings("[Application]\nMouseLoupe=0") + "start\nwait 200\nmenu frmMain.mnuRulerProperties\n"
                   "mouse 560 339\nclick left\ncliptext 13\nkey a ctrl\nkey v ctrl\nprop frmRulerProperties.txtTickSmall.Text\n"
                   "log\nkey a ctrl\nkey x ctrl\nprop frmRulerProperties.txtTickSmall.Text\nlog\n"
                   "key v ctrl\nprop frmRulerProperties.txtTickSmall.Text\nlog\n");
  EXPECT_EQ(r.Lines("frmRulerProperties.txtTickSmall.Text = "),
            (std::vector<std::string>{"frmRulerProperties.txtTickSmall.Text = 13", "frmRulerProperties.txtTickSmall.Text = ",
                                      "frmRulerProperties.txtTickSmall.Text = 13"}));
  EXPECT_EQ(r.Lines("clipboard "), std::vector<std::string>{"clipboard text 13"});
}
