// Measuring the measuring card (vantrel-testcard --measure) through the whole program: every
// expected number comes from the card's layout, never from the measuring code.
#include "tests/app/StripTestSupport.h"
#include "tools/testcard/Cards.h"
#include "tools/testcard/MeasureCardLayout.h"

namespace {

using namespace measurecard;

// Runs SCRIPT with the measuring card as the desktop's wallpaper, at its top-left corner.
StripRun RunOnCard(const std::filesystem::path& dir, const std::string& script) {
  std::ostringstream out, err;
  scenario::Runner runner(scenario::ProgramMain, dir.string(), out, err);
  runner.Desktop().SetWallpaper(MeasureCard());
  StripRun r;
  r.Status = runner.Run(script);
  r.Out = out.str();
  r.Err = err.str();
  EXPECT_EQ(r.Status, 0) << r.Err;
  return r;
}

std::string Centre(const gfx::Rect& r) {
  return std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2);
}

// The strip below the card, and the loupe shown by a click on its caption strip.
const std::string kStripBelowCard = "file Vantrel.ini <<<\n[Application]\nLeft=100\nTop=650\n>>>\nstart\n"
                                    "mouse 400 658\ndown left\nup left\n";

}  // namespace

TEST_F(StripTest, LoupePanelGradesContrastAgainstAChosenBackground) {
  // B over the swatches' white ground takes white; the published ratios on white are
  // #767676 4.54:1 (AA for text, AAA for large text) and #777777 4.48:1 (AA for large text
  // only); #336699 gives 6.00:1 (hand-worked in the graphics tests). Shift+B drops it.
  const std::string rows = "prop frmInfo.lblContrast.Caption\nprop frmInfo.lblLarge.Caption\nwindows\n";
  StripRun r = RunOnCard(FDir, kStripBelowCard + "mouse 45 405\nwait 55\nkey b\nwait 55\n" +
                                   "mouse " + Centre(kSwatch767676) + "\nwait 55\n" + rows +
                                   "mouse " + Centre(kSwatch777777) + "\nwait 55\n" + rows +
                                   "mouse " + Centre(kSwatch336699) + "\nwait 55\n" + rows +
                                   "key b shift\nwait 55\nwindows\n");
  std::vector<std::string> contrast = r.Lines("frmInfo.lblContrast.Caption = ");
  std::vector<std::string> large = r.Lines("frmInfo.lblLarge.Caption = ");
  std::vector<std::string> panel = r.Lines("frmInfo ");
  ASSERT_EQ(contrast.size(), 3u);
  ASSERT_EQ(large.size(), 3u);
  ASSERT_EQ(panel.size(), 4u);
  const char* expected[3][2] = {{"4.54:1 text AA", "large text AAA"},
                                {"4.48:1 text fail", "large text AA"},
                                {"6.00:1 text AA", "large text AAA"}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(contrast[i], std::string("frmInfo.lblContrast.Caption = ") + expected[i][0]);
    EXPECT_EQ(large[i], std::string("frmInfo.lblLarge.Caption = ") + expected[i][1]);
    EXPECT_NE(panel[i].find(" 90 93 visible=1"), std::string::npos) << panel[i];  // two rows more
  }
  EXPECT_NE(panel[3].find(" 90 69 visible=1"), std::string::npos) << panel[3];
}
