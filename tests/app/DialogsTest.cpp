// The program's dialogs: their fields cut, copy and paste through the desktop's clipboard.
#include "tests/app/StripTestSupport.h"

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
