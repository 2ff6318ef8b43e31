// The frozen screen on the virtual desktop: the magnifiers and the caption measure the still
// picture while the desktop changes underneath, and the live pixels once it thaws.
#include "tests/app/StripTestSupport.h"

namespace {

// A desktop whose pixel (x, y) is red x mod 256, green y mod 256 and blue BLUE: any reading
// names the pixel it came from and the picture it came from.
void WriteDesktop(const std::filesystem::path& file, int blue) {
  gfx::Bitmap b(1024, 768);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) b.At(x, y) = gfx::TColor((x & 0xFF) | (y & 0xFF) << 8 | blue << 16);
  gfx::WriteBmpFile(file.string(), b);
}

}  // namespace

TEST_F(StripTest, FrozenTheReadingsKeepTheOldPixelsUntilTheScreenThaws) {
  WriteDesktop(FDir / "a.bmp", 0x40);
  WriteDesktop(FDir / "b.bmp", 0x80);
  const std::string loupe = "prop frmInfo.lblRed.Caption\nprop frmInfo.lblGreen.Caption\nprop frmInfo.lblBlue.Caption\n";
  // The lens refreshes on every move, shown or not: its Copy gives its picture.
  const std::string lens = "menu Form1.Copy1\nclipboard " + (FDir / "lens.bmp").string() + "\n";
  StripRun r = Run(Settings("[Application]\nLeft=100\nTop=600\nLength=600\nMouseLoupe=1\nLoupe=1") +
                   "screen 1024 768\nwallpaper a.bmp\nstart\nmouse 300 300\nwait 55\n"
                   "key f\nwait 200\nprop frmMain.mnuFreeze.Checked\nwallpaper b.bmp\n"
                   "mouse 310 320\nwait 55\n" + loupe + lens + "prop frmMain.lblMsPos.Caption\n"
                   "pixel 500 500\npixel 0 0\npixel 1023 767\npixel 2 2\n"
                   "key escape\nwait 55\nprop frmMain.mnuFreeze.Checked\n" + loupe + "pixel 500 500\n"
                   "menu frmMain.mnuFreeze\nwait 200\nprop frmMain.mnuFreeze.Checked\nmenu frmMain.mnuFreeze\n"
                   "prop frmMain.mnuFreeze.Checked\n");
  // Pointer (310, 320) on picture a: red 310 - 256 = 54 (#36), green 320 - 256 = 64 (#40),
  // blue 0x40 = 64, though the desktop shows picture b by now.
  EXPECT_EQ(r.Lines("frmInfo."), (std::vector<std::string>{
                                     "frmInfo.lblRed.Caption = 54 #36", "frmInfo.lblGreen.Caption = 64 #40",
                                     "frmInfo.lblBlue.Caption = 64 #40",
                                     // Thawed: the live picture b, blue 0x80.
                                     "frmInfo.lblRed.Caption = 54 #36", "frmInfo.lblGreen.Caption = 64 #40",
                                     "frmInfo.lblBlue.Caption = 128 #80"}));
  EXPECT_EQ(r.Lines("frmMain.mnuFreeze"),
            (std::vector<std::string>{"frmMain.mnuFreeze.Checked = true", "frmMain.mnuFreeze.Checked = false",
                                      "frmMain.mnuFreeze.Checked = true", "frmMain.mnuFreeze.Checked = false"}));
  // Strip at x 100, zero 0: the pointer's column 310 reads 210 on the frozen picture.
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "210");
  // The screen shows picture a (500 = 256 + 244: red and green 0xF4) inside an orange frame
  // two pixels wide at the monitor's edges; thawed, picture b again.
  EXPECT_EQ(r.Lines("pixel "), (std::vector<std::string>{"pixel 500 500 0x40F4F4", "pixel 0 0 0x0080FF",
                                                          "pixel 1023 767 0x0080FF", "pixel 2 2 0x400202",
                                                          "pixel 500 500 0x80F4F4"}));
  // Factor 2, horizontal ruler: the lens takes 100 x 100 pixels around (310 - 12, 320) and
  // doubles them, so its picture's pixel (20, 20) shows desktop (298 - 50 + 10, 320 - 50 + 10)
  // = (258, 280): red 2, green 24, from picture a.
  const gfx::Bitmap shot = gfx::ReadBmpFile((FDir / "lens.bmp").string());
  ASSERT_EQ(shot.Width(), 200);
  ASSERT_EQ(shot.Height(), 200);
  EXPECT_EQ(shot.At(20, 20) & 0xFFFFFF, 0x401802u);
}
