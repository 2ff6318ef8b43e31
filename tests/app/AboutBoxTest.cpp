// The About box through the scenario runner: where it opens, that it is modal and how it
// closes, its panels and title bar on the screen, its link, and what it does to the loupes
// and to the settings.
#include "tests/app/StripTestSupport.h"

namespace {

// Client 345 x 250 in a dialog frame (3 pixels each side, a 19-pixel title bar): 351 x 275,
// centred on the 1024 x 768 screen at ((1024 - 351) / 2, (768 - 275) / 2) = (336, 246). The
// client area starts at (339, 268).
const std::string kOpen = "frmAbout 336 246 351 275 visible=1";
const std::string kClosed = "frmAbout 336 246 351 275 visible=0";
const std::string kOpenAbout = "menu frmMain.mnuAbout\n";

std::string LineOf(const StripRun& r, const std::string& prefix) {
  auto lines = r.Lines(prefix);
  return lines.empty() ? "" : lines[0];
}

}  // namespace

TEST_F(StripTest, AboutBoxOpensCentredAndModalAndClosesEveryWay) {
  // The strip at (0, 0), without the mouse loupe over it: its flip button is at (65, 8). OK is at client (136, 216), 75 x 25:
  // its middle on the screen (339 + 173, 268 + 228). The title bar's close button: 16 x 14 at
  // window (330, 5), middle (336 + 338, 246 + 12).
  StripRun r = Run(Settings("[Application]\nLeft=0\nTop=0\nMouseLoupe=0") + "start\n" + kOpenAbout +
                   "windows\nmouse 65 8\nclick left\nprop frmMain.Height\n"
                   "mouse 512 496\nclick left\nwindows\n" +
                   kOpenAbout + "key enter\nwindows\n" + kOpenAbout + "key escape\nwindows\n" + kOpenAbout +
                   "mouse 674 258\nclick left\nwindows\n"
                   // Closed, the strip's flip button works again: the same click turns it.
                   "mouse 65 8\nclick left\nprop frmMain.Height\n");
  const auto about = r.Lines("frmAbout ");
  ASSERT_EQ(about.size(), 5u) << r.Out;
  EXPECT_EQ(about[0].substr(0, kOpen.size()), kOpen);
  for (std::size_t i = 1; i < about.size(); ++i) EXPECT_EQ(about[i].substr(0, kClosed.size()), kClosed) << i;
  const auto heights = r.Lines("frmMain.Height");
  ASSERT_EQ(heights.size(), 2u);
  EXPECT_EQ(heights[0], "frmMain.Height = 58");  // the flip did nothing while the box was open
  EXPECT_NE(heights[1], "frmMain.Height = 58");
}

TEST_F(StripTest, AboutBoxPanelsAndTitleBarAreWhereAndAsTheyShouldBe) {
  // Panel2 at client (16, 16): screen (355, 284), 313 x 161, white. Panel1 at client (16, 184):
  // screen (355, 452), 313 x 17, pale yellow. Lowered: shadow grey on the top and left edges,
  // white on the bottom and right.
  // Title area: window x 3 to 328 (the close button's 20-pixel cell off the bar's right at
  // 348), 325 pixels in 64 bands, olive to yellow. Band 31 ends at MulDiv(32, 325, 64) =
  // 162.5 -> 163 and is 0x80 + MulDiv(31, 127, 63) = 0xBE; band 32 is 0x80 + 64.5 -> 0xC1;
  // band 63 from 319.92 -> 320 to 325 is yellow. Screen x = 339 + title x, top row y = 249.
  struct Probe {
    int x, y;
    const char* color;
  };
  const Probe probes[] = {
      {355, 284, "0x808080"}, {400, 284, "0x808080"}, {355, 400, "0x808080"},  // Panel2's top and left
      {360, 290, "0xFFFFFF"}, {667, 300, "0xFFFFFF"}, {400, 444, "0xFFFFFF"},  // inside, right, bottom
      {355, 452, "0x808080"}, {400, 452, "0x808080"}, {355, 460, "0x808080"},  // Panel1's top and left
      {360, 460, "0x80FFFF"}, {667, 460, "0xFFFFFF"}, {360, 468, "0xFFFFFF"},  // inside, right, bottom
      {339, 249, "0x008080"}, {343, 249, "0x008080"}, {344, 249, "0x008282"},  // bands 0 and 1
      {501, 249, "0x00BEBE"}, {502, 249, "0x00C1C1"},                          // bands 31 and 32
      {659, 249, "0x00FFFF"}, {663, 249, "0x00FFFF"}, {658, 249, "0x00FDFD"},  // band 63, band 62
  };
  std::string script = Settings("[Application]\nLeft=0\nTop=0") + "start\n" + kOpenAbout;
  for (const Probe& p : probes) script += "pixel " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
  StripRun r = Run(script);
  const auto pixels = r.Lines("pixel ");
  ASSERT_EQ(pixels.size(), std::size(probes)) << r.Out;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const Probe& p = probes[i];
    EXPECT_EQ(pixels[i], "pixel " + std::to_string(p.x) + " " + std::to_string(p.y) + " " + p.color);
  }
}

TEST_F(StripTest, AboutBoxLinkOpensTheProjectsAddressOncePerClickAndNotWhenReleasedAway) {
  // The link fills Panel1's line; its middle is at (511, 460). A marker line between the press
  // released away and the last two clicks.
  StripRun r = Run(Settings("[Application]\nLeft=0\nTop=0") + "start\n" + kOpenAbout +
                   "mouse 511 460\nclick left\ndown left\nmouse 511 300\nup left\nlog\nprop frmAbout.Visible\n"
                   "mouse 511 460\nclick left\nclick left\nlog\n");
  std::string seen;
  for (const auto& line : r.Lines(""))
    if (line.rfind("open ", 0) == 0 || line.rfind("frmAbout.", 0) == 0) seen += line + "\n";
  EXPECT_EQ(seen, "open https://vantrel.org\nfrmAbout.Visible = true\nopen https://vantrel.org\nopen https://vantrel.org\n");
}

TEST_F(StripTest, AboutSuspendsTheLoupesAndTheSettingsKeepTheUsersLoupe) {
  // Lens ("Loupe") and mouse loupe on, strip always on top.
  const std::string ini = Settings("[Application]\nLeft=0\nTop=0\nLoupe=1\nMouseLoupe=1\nOnTop=1");
  StripRun r = Run(ini + "start\n" + kOpenAbout +
                   "prop frmMain.mnuLoupe.Checked\nwindows\nkey enter\nprop frmMain.mnuLoupe.Checked\nwindows\n");
  const auto loupe = r.Lines("frmMain.mnuLoupe.Checked");
  ASSERT_EQ(loupe.size(), 2u) << r.Out;
  EXPECT_EQ(loupe[0], "frmMain.mnuLoupe.Checked = false");
  EXPECT_EQ(loupe[1], "frmMain.mnuLoupe.Checked = true");
  const auto zoom = r.Lines("frmZoom ");
  ASSERT_EQ(zoom.size(), 2u) << r.Out;
  EXPECT_NE(zoom[0].find("visible=0"), std::string::npos);  // hidden while the box is open
  EXPECT_NE(zoom[1].find("visible=1"), std::string::npos);  // and shown after, as it is checked
  // Over a strip that stays on top the box stays on top too, never under it.
  EXPECT_EQ(LineOf(r, "frmAbout "), kOpen + " topmost=1");

  // Ending the program with the box open writes the Loupe the user had.
  StripRun closed = Run(ini + "start\n" + kOpenAbout + "close\ncat Vantrel.ini\n");
  EXPECT_NE(closed.Out.find("Loupe=1\r\n"), std::string::npos) << closed.Out;
  EXPECT_EQ(closed.Out.find("Loupe=0"), std::string::npos) << closed.Out;
}
