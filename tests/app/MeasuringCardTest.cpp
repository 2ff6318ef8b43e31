// Measuring the measuring card (vantrel-testcard --measure) through the whole program: every
// expected number comes from the card's layout, never from the measuring code.
#include "tests/app/StripTestSupport.h"
#include "tools/testcard/Cards.h"
#include "tools/testcard/MeasureCardLayout.h"

namespace {

using namespace measurecard;

const gfx::Bitmap& Card() {
  static const gfx::Bitmap card = MeasureCard();
  return card;
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
  StripRun r = Run(kStripBelowCard + "mouse 45 405\nwait 55\nkey b\nwait 55\n" +
                                   "mouse " + Centre(kSwatch767676) + "\nwait 55\n" + rows +
                                   "mouse " + Centre(kSwatch777777) + "\nwait 55\n" + rows +
                                   "mouse " + Centre(kSwatch336699) + "\nwait 55\n" + rows +
                                   "key b shift\nwait 55\nwindows\n", &Card());
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

TEST_F(StripTest, EdgeBeamsMeasureTheCardsShapesAcrossGradientsAndShadows) {
  struct Case { gfx::Point At; gfx::Rect Span; };
  const gfx::Rect gap1{RowBox(0).right, kBox.bottom, RowBox(1).left, kHairline.top};  // 24 wide
  const gfx::Rect gap3{RowBox(2).right, 0, RowBox(3).left, kHairline.top};           // 23 wide
  // Right of the shadowed panel: the shadow's steps of 5 are crossed up to the panel itself.
  const int besideShadow = kShadowPanel.right + kShadowWidth + 10;
  const Case cases[] = {
      {{100, 60}, kBox},
      {{90, 130}, gap1},
      {{219, 130}, gap3},
      {{480, 80}, kShadowPanel},
      {{168, 250}, kGradient},
  };
  std::string script = kStripBelowCard + "key e\nwait 110\n";
  for (const Case& c : cases) script += "mouse " + std::to_string(c.At.x) + " " + std::to_string(c.At.y) + "\nwait 55\nwindows\n";
  script += "mouse " + std::to_string(besideShadow) + " 80\nwait 55\nwindows\n";
  // The wheel over the beams: 8 + 3 = 11, then 11 - 8 = 3, under the shadow's steps.
  script += "wheel 3\nprop frmEdges.Tolerance\nwheel -8\nprop frmEdges.Tolerance\nwindows\n";
  script += "mouse 100 60\nwait 55\nkey c ctrl\nlog\nkey escape\nwait 55\nwindows\n";
  StripRun r = Run(script, &Card());
  const std::vector<std::string> h = r.Lines("frmBeamH "), v = r.Lines("frmBeamV ");
  ASSERT_EQ(h.size(), std::size(cases) + 3);
  ASSERT_EQ(v.size(), h.size());
  auto line = [](int x, int y, int w, int hgt, int visible) {
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " + std::to_string(hgt) +
           " visible=" + std::to_string(visible) + " topmost=1";
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(h[i], "frmBeamH " + line(c.Span.left, c.At.y, c.Span.Width(), 1, 1)) << i;
    EXPECT_EQ(v[i], "frmBeamV " + line(c.At.x, c.Span.top, 1, c.Span.Height(), 1)) << i;
  }
  const std::size_t n = std::size(cases);
  EXPECT_EQ(h[n].substr(0, h[n].find(' ', 9)), "frmBeamH " + std::to_string(kShadowPanel.right));
  EXPECT_EQ(h[n + 1].substr(0, h[n + 1].find(' ', 9)), "frmBeamH " + std::to_string(kShadowPanel.right + kShadowWidth));
  EXPECT_NE(h[n + 2].find("visible=0"), std::string::npos) << h[n + 2];  // Escape ended it
  EXPECT_EQ(r.Props()["frmEdges.Tolerance"], "3");
  EXPECT_EQ(r.Lines("frmEdges.Tolerance = ").front(), "frmEdges.Tolerance = 11");
  // Ctrl+C copies the measurement at tolerance 3 inside the box: its plain size.
  EXPECT_EQ(r.Lines("clipboard text ").back(), "clipboard text 137 x 41");
}

TEST_F(StripTest, EdgeBeamsReadInTheStripsUnitAndTheMenuShowsTheMode) {
  // The box at 96 pixels an inch: 137 px = 137 x 25.4 / 96 = 36.25 mm, 41 px = 10.85 mm; one
  // decimal as the caption shows millimetres.
  StripRun r = Run(kStripBelowCard + "key u\nmenu frmMain.mnuMeasureEdges\nwait 110\nmouse 100 60\nwait 55\n"
                                                 "prop frmEdges.Measurement\nprop frmMain.mnuMeasureEdges.Checked\n"
                                                 "key e\nprop frmMain.mnuMeasureEdges.Checked\n", &Card());
  EXPECT_EQ(r.Props()["frmEdges.Measurement"], "36.2 x 10.8 mm");
  const std::vector<std::string> checked = r.Lines("frmMain.mnuMeasureEdges.Checked = ");
  ASSERT_EQ(checked.size(), 2u);
  EXPECT_EQ(checked[0], "frmMain.mnuMeasureEdges.Checked = true");
  EXPECT_EQ(checked[1], "frmMain.mnuMeasureEdges.Checked = false");
}

TEST_F(StripTest, ADraggedZeroSnapsOntoAnEdgeWithinFourPixelsUnlessAltIsHeld) {
  // The strip at the top, its ticks' row (y 58, just below the 58-high strip) crossing the box.
  // Dragged so that its zero (its first pixel) comes 3 right of the box's left edge, it lands
  // on the edge, and the first pixel past the box reads the box's width. Alt keeps it at +3; 5
  // away is out of range.
  // Each drag grabs the caption strip 300 pixels right of the strip's start.
  auto drag = [](int from, int to, const std::string& mods) {
    return "mouse " + std::to_string(from + 300) + " 8\ndown left\n" + mods + "mouse " + std::to_string(to + 300) +
           " 8\nwindows\nprop frmPosition.lblTxt.Caption\nup left\n";
  };
  StripRun r = Run("file Vantrel.ini <<<\n[Application]\nLeft=100\nTop=0\nMouseLoupe=0\n>>>\nstart\n" +
                                   drag(100, kBox.left + 3, "") + "mouse " + std::to_string(kBox.right) + " 60\nwait 55\n" +
                                   "prop frmMain.lblMsPos.Caption\n" + drag(kBox.left, kBox.left + 3, "keydown alt\n") +
                                   "keyup alt\n" + drag(kBox.left + 3, kBox.left + 5, ""), &Card());
  const std::vector<std::string> mains = r.Lines("frmMain "), readouts = r.Lines("frmPosition.lblTxt.Caption = ");
  ASSERT_EQ(mains.size(), 3u) << r.Out;
  ASSERT_EQ(readouts.size(), 3u);
  EXPECT_EQ(mains[0].substr(0, mains[0].find(" 640")), "frmMain " + std::to_string(kBox.left) + " 0");
  EXPECT_NE(readouts[0].find("on an edge"), std::string::npos) << readouts[0];
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], std::to_string(kBox.Width()));
  EXPECT_EQ(mains[1].substr(0, mains[1].find(" 640")), "frmMain " + std::to_string(kBox.left + 3) + " 0");
  EXPECT_EQ(readouts[1].find("on an edge"), std::string::npos) << readouts[1];
  EXPECT_EQ(mains[2].substr(0, mains[2].find(" 640")), "frmMain " + std::to_string(kBox.left + 5) + " 0");
}

TEST_F(StripTest, CopyFormatsChosenInThePropertiesDialogShapeWhatIsCopiedAndAreKept) {
  // On 1024 x 768 the properties dialog's client area starts at (329, 217) and its panel at
  // (329, 258): "Copy formats..." at panel (8, 274), OK at (120, 274), Cancel at (204, 274).
  // The 306 x 295 copy formats dialog, centred, has its client area at (362, 258): the CSS
  // choice at group (8, 6) + (12, 60), HSL at group (8, 120) + (12, 60), the reading template
  // at (8, 6) + (12, 81), OK at (132, 236).
  auto click = [](int x, int y) { return "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nclick left\n"; };
  const std::string open = "menu frmMain.mnuRulerProperties\n" + click(389, 544);
  const std::string choose = click(392, 331) + click(392, 445) + click(530, 506);
  StripRun r = Run(kStripBelowCard + "wait 200\n" + open + choose + click(485, 544) + "wait 55\n" +
                // The box's size through the beams, then the swatch's colour through the loupe.
                "key e\nwait 110\nmouse 100 60\nwait 55\nkey c ctrl\nkey e\nmouse " + Centre(kSwatch336699) +
                "\nwait 55\nkey c ctrl shift\nlog\n" +
                // A template chosen, then the properties dialog cancelled: nothing changes.
                open + click(392, 352) + click(530, 506) + click(569, 544) + "close\ncat Vantrel.ini\n", &Card());
  const std::vector<std::string> copied = r.Lines("clipboard text ");
  ASSERT_EQ(copied.size(), 2u) << r.Out;
  EXPECT_EQ(copied[0], "clipboard text width: 137px; height: 41px;");
  EXPECT_EQ(copied[1], "clipboard text hsl(210, 50%, 40%)");
  EXPECT_NE(r.Out.find("[Copy]\r\nReading=css\r\nReadingTemplate={value} {unit}\r\nColour=hsl\r\nColourTemplate=#{hex}\r\n"),
            std::string::npos)
      << r.Out;
}


TEST_F(StripTest, TheCrossRulersEndSnapsOntoAnEdgeUnlessAltIsHeld) {
  // The strip at (100, 0): the cross ruler, 67 wide, hangs from y 57 with its tick column on
  // the zero's x 100, so its ends are sought on column 101. Pressed, its grip (13 high, at 627)
  // puts the pointer 2 below its top; pulled to y 388 the end would lie at 388 + 13 + 2 = 403,
  // 3 below the top of the swatches' white ground at y 400: it lands on 400, 343 long. With
  // Alt it stays at 403.
  const std::string show = "mouse 145 8\nclick left\n" + [] {
    std::string keys;
    for (int i = 0; i < 8; ++i) keys += "key down\n";
    return keys + "key enter\n";
  }();
  // The second press lands on the grip of the 343-long cross ruler, at 57 + 343 - 17.
  StripRun r = Run("file Vantrel.ini <<<\n[Application]\nLeft=100\nTop=0\nMouseLoupe=0\n>>>\nstart\n" + show +
                                   "mouse 41 689\ndown left\nmouse 41 388\nwindows\nup left\nmouse 41 " + std::to_string(57 + 343 - 17 + 5) + "\n" +
                                   "down left\nkeydown alt\nmouse 41 388\nwindows\nup left\nkeyup alt\n", &Card());
  const std::vector<std::string> cross = r.Lines("frmCrossRuler ");
  ASSERT_EQ(cross.size(), 2u) << r.Out;
  ASSERT_EQ(kSwatchGround.top, 400);
  EXPECT_EQ(cross[0], "frmCrossRuler 34 57 67 343 visible=1 topmost=0");
  EXPECT_EQ(cross[1], "frmCrossRuler 34 57 67 346 visible=1 topmost=0");
}

TEST_F(StripTest, EveryCopyFormatReachesTheClipboardAndFrozenBeamsMeasureTheStillPicture) {
  // Each [Copy] choice, read from the settings file: the box's size through the beams and the
  // #336699 swatch's colour (worked by hand in CopyFormatsTest).
  struct Case { const char* Copy; const char* Size; const char* Colour; };
  const Case cases[] = {
      {"Reading=number\nColour=hex", "137 x 41", "#336699"},
      {"Reading=unit\nColour=rgb", "137 x 41 px", "rgb(51, 102, 153)"},
      {"Reading=css\nColour=hsl", "width: 137px; height: 41px;", "hsl(210, 50%, 40%)"},
      {"Reading=template\nReadingTemplate=[{width}|{height}]\nColour=template\nColourTemplate={r}/{g}/{b}",
       "[137|41]", "51/102/153"},
  };
  for (const Case& c : cases) {
    StripRun r = Run("file Vantrel.ini <<<\n[Application]\nLeft=100\nTop=650\n[Copy]\n" + std::string(c.Copy) +
                         "\n>>>\nstart\nmouse 400 658\ndown left\nup left\nkey e\nwait 110\nmouse 100 60\nwait 55\n"
                         "key c ctrl\nkey e\nmouse " + Centre(kSwatch336699) + "\nwait 55\nkey c ctrl shift\nlog\n",
                     &Card());
    EXPECT_EQ(r.Lines("clipboard text "),
              (std::vector<std::string>{std::string("clipboard text ") + c.Size, std::string("clipboard text ") + c.Colour}))
        << c.Copy;
  }
  // Frozen, the desktop turned plain grey beneath (the plain picture and, beyond it, the
  // wallpaper colour): the beams still find the box in the picture.
  gfx::WritePngFile((FDir / "plain.png").string(), gfx::Bitmap(kWidth, kHeight, kGround));
  StripRun r = Run(kStripBelowCard + "key f\nwait 110\nwallpaper plain.png\nkey e\nwait 110\nmouse 100 60\nwait 55\n"
                                     "prop frmEdges.Measurement\nkey f\nwait 110\nmouse 101 60\nwait 55\n"
                                     "prop frmEdges.Measurement\n",
                   &Card());
  // Thawed, they measure the live desktop again: the whole plain picture, up to the wallpaper
  // colour around it.
  const std::vector<std::string> sizes = r.Lines("frmEdges.Measurement = ");
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0], "frmEdges.Measurement = 137 x 41");
  EXPECT_EQ(sizes[1], "frmEdges.Measurement = " + std::to_string(kWidth) + " x " + std::to_string(kHeight));
}
