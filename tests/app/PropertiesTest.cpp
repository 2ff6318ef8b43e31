// The ruler properties dialog, opened from the strip's menu and driven as a user drives it.
#include "tests/app/StripTestSupport.h"

namespace {

// On the 1024 x 768 screen the dialog (client 366 x 353, a 3-pixel frame, a 19-pixel title)
// is 372 x 378 at ((1024 - 372) / 2, (768 - 378) / 2) = (326, 195); its client area starts at
// (329, 217), the top preview fills y 217..257 and the panel below it starts at (329, 258).
// Panel positions: group + control offset, e.g. btnColor (8 + 72, 6 + 18) -> (409, 282).
const std::string kOpen = "start\nwait 200\nmenu frmMain.mnuRulerProperties\n";
std::string Click(int x, int y) { return "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nclick left\n"; }
const std::string kSwatch = Click(429, 292), kTickBig = Click(560, 291), kTickSmall = Click(560, 339);
const std::string kRoll = Click(500, 382), kLarge = Click(345, 474), k4x = Click(555, 502);
const std::string kCancel = Click(560, 544), kTitleClose = Click(684, 206);

using Values = std::map<std::string, std::string>;
// "D." stands for the dialog.
std::string Path(const std::string& p) { return p.rfind("D.", 0) ? p : "frmRulerProperties" + p.substr(1); }
// "prop" lines for every path of WANT.
std::string Query(const Values& want) {
  std::string s;
  for (const auto& [path, value] : want) s += "prop " + Path(path) + "\n";
  return s;
}
void ExpectValues(const StripRun& r, const Values& want, const std::string& what = "") {
  for (const auto& [path, value] : want) EXPECT_EQ(r.Props()[Path(path)], value) << path << what;
}

}  // namespace

TEST_F(StripTest, PropertiesDialogOpensWithTheStripsLookAloneOnScreenAndTheTickRuns) {
  const Values want = {
      {"D.btnColor.Color", "3368601"}, {"D.btnTextcolor.Color", "65280"}, {"D.btnTickcolor.Color", "255"},
      {"D.txtTickBig.Value", "45"}, {"D.txtTickMedium.Value", "30"}, {"D.txtTickSmall.Value", "12"},
      {"D.chkRoll.Checked", "false"}, {"D.chkRotate.Checked", "true"}, {"D.rCenter.Checked", "false"},
      {"D.rBottom.Checked", "true"}, {"D.chkLargeRuler.Checked", "false"}, {"D.r3Times.Checked", "true"},
      {"D.r2Times.Checked", "false"}};
  Values previews;  // both previews, each with the strip's look
  for (const char* ruler : {"D.Ruler1.", "D.Ruler2."})
    for (const auto& [p, v] : Values{{"Color", "3368601"}, {"TickSizeBig", "45"}, {"TickSizeMiddle", "30"},
                                     {"TickSizeSmall", "12"}, {"TickColor", "255"}, {"Font.Color", "65280"},
                                     {"RollEnabled", "false"}, {"FontRotation", "fr90"}, {"NumberAlign", "naBottomRight"}})
      previews[ruler + p] = v;
  const std::string active = "frmRulerProperties.ActiveControl", focus = "prop " + active + "\n";
  StripRun r = Run(Settings("[Application]\nMagnification=3\n[Ruler]\nColor=3368601\nTickBig=45\nTickMiddle=30\n"
                            "TickSmall=12\nTickColor=255\nFontColor=65280\nRoll=0\nFontRotation=90\nNumberAlign=3") +
                   "start\nwait 200\nmenu frmMain.mnuCrossRuler\nmenu frmMain.mnuRulerProperties\n" + Query(want) +
                   Query(previews) + focus + "pixel 340 220\nwindows\nmouse 700 600\nwait 55\n" +
                   "prop frmMain.lblMsPos.Caption\nkey tab\n" + focus + "key escape\nwindows\n");
  ExpectValues(r, previews);
  ExpectValues(r, want);
  // The focus starts on OK; Tab goes on to Cancel.
  EXPECT_EQ(r.Lines(active), (std::vector<std::string>{active + " = btnOK", active + " = btnCancel"}));
  // The top preview shows the file's colour 0x336699 (3368601).
  EXPECT_EQ(r.Lines("pixel"), std::vector<std::string>{"pixel 340 220 0x336699"});
  // Only the dialog shows, centred; the strip (0, 0, 640 x 58), its cross ruler and the loupe
  // come back after.
  const auto frm = r.Lines("frm");
  // Each window's line while open and after, by its start and its end.
  const std::pair<const char*, const char*> shown[] = {
      {"frmRulerProperties 326 195 372 378 ", "visible=1 topmost=0"}, {"frmMain 0 0 640 58 ", "visible=0 topmost=0"},
      {"frmMain 0 0 640 58 ", "visible=1 topmost=0"}, {"frmZoom ", "visible=0 topmost=1"}, {"frmZoom ", "visible=1 topmost=1"},
      {"frmCrossRuler -66 57 67 644 ", "visible=0 topmost=0"}, {"frmCrossRuler -66 57 67 644 ", "visible=1 topmost=0"}};
  for (const auto& [start, end] : shown)
    EXPECT_EQ(std::count_if(frm.begin(), frm.end(),
                            [&](const std::string& l) { return l.rfind(start, 0) == 0 && l.ends_with(end); }),
              1)
        << start << end;
  // The reading follows the mouse while the strip is hidden: pixel 700 of a strip at 0.
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "700");
}

TEST_F(StripTest, PropertiesDialogColourChoiceReachesTheSwatchAndBothPreviewsAndCancelKeepsIt) {
  // Per swatch (24 pixels apart): the previews' property, the strip's default, then the choice.
  const char* cases[][4] = {{"btnColor", "Color", "8454143", "255"},
                            {"btnTextcolor", "Font.Color", "0", "65280"},
                            {"btnTickcolor", "TickColor", "0", "16711680"}};
  for (int i = 0; i < 3; ++i) {
    auto values = [&](const char* v) {
      return Values{{"D." + std::string(cases[i][0]) + ".Color", v}, {"D.Ruler1." + std::string(cases[i][1]), v},
                    {"D.Ruler2." + std::string(cases[i][1]), v}};
    };
    const std::string swatch = Click(429, 292 + 24 * i);
    StripRun cancelled = Run(kOpen + "answer color cancel\n" + swatch + Query(values(cases[i][2])));
    ExpectValues(cancelled, values(cases[i][2]), " cancelled");
    // The answer in hexadecimal; the swatch's face, the top preview's background and its big
    // tick at the zero (x 329 + 25).
    char answer[16];
    std::snprintf(answer, sizeof answer, "0x%06X", unsigned(std::stoul(cases[i][3])));
    StripRun chosen = Run(kOpen + "answer color " + answer + "\n" + swatch + Query(values(cases[i][3])) +
                          "pixel 429 292\npixel 340 220\npixel 354 255\n");
    ExpectValues(chosen, values(cases[i][3]));
    const std::vector<std::string> pixels[] = {{"pixel 429 292 0x0000FF", "pixel 340 220 0x0000FF"}, {}, {"pixel 354 255 0xFF0000"}};
    for (const std::string& p : pixels[i]) EXPECT_EQ(chosen.Lines(p).size(), 1u) << p << "\n" << chosen.Out;
  }
}

TEST_F(StripTest, PropertiesDialogTickSizesFollowTypingClampOnLeavingAndRoundHalvesToEven) {
  // Field, the previews' property, typed, the previews while typing (rounded, halves to even, not
  // clamped), the key leaving the field (Enter is OK and leaves it too), the field's text and
  // the previews after leaving, beeps (the range test and the write each beep), the strip's big ticks.
  const char* cases[][9] = {{"txtTickBig", "TickSizeBig", "99", "99", "tab", "60", "60", "2", "50"},
                            {"txtTickSmall", "TickSizeSmall", "5", "5", "tab", "10", "10", "2", "50"},
                            {"txtTickSmall", "TickSizeSmall", "12.5", "12", "tab", "12.5", "12", "0", "50"},
                            {"txtTickSmall", "TickSizeSmall", "13.5", "14", "tab", "13.5", "14", "0", "50"},
                            {"txtTickBig", "TickSizeBig", "99", "99", "enter", "60", "60", "2", "60"}};
  for (const auto& c : cases) {
    const std::string field = c[0], tick = c[1];
    StripRun r = Run(kOpen + (field == "txtTickBig" ? kTickBig : kTickSmall) + "key a ctrl\ntype " + c[2] +
                     "\nprop frmRulerProperties.Ruler2." + tick + "\nlog\nkey " + c[4] + "\n" +
                     Query({{"D." + field + ".Text", ""}, {"D.Ruler1." + tick, ""}, {"frmMain.Ruler.TickSizeBig", ""}}) +
                     "log\n");
    EXPECT_EQ(r.Lines("frmRulerProperties.Ruler2.")[0], "frmRulerProperties.Ruler2." + tick + " = " + c[3]);
    ExpectValues(r, {{"D." + field + ".Text", c[5]}, {"D.Ruler1." + tick, c[6]}, {"frmMain.Ruler.TickSizeBig", c[8]}},
                 std::string(" typed ") + c[2]);
    EXPECT_EQ(std::to_string(r.Lines("beep").size()), c[7]) << c[2];
  }
}

TEST_F(StripTest, PropertiesDialogRollsDefaultsAndOkReachesStripCrossRulerLoupeAndFile) {
  const std::string drag = "mouse 400 240\ndown left\nmouse 440 240\nup left\nprop frmRulerProperties.Ruler1.StartValue\n";
  const std::string hover = "prop frmRulerProperties.btnReset.Font.Color\n";
  const Values dialog = {
      {"D.Ruler1.Height", "70"}, {"D.Ruler2.Width", "79"}, {"D.btnColor.Color", "8454143"},
      {"D.btnTickcolor.Color", "0"}, {"D.txtTickSmall.Value", "25"}, {"D.rCenter.Checked", "true"},
      {"D.chkRoll.Checked", "true"}, {"D.chkRotate.Checked", "false"}, {"D.chkLargeRuler.Checked", "true"},
      {"D.r4Times.Checked", "true"}, {"D.Ruler2.Color", "8454143"}, {"D.Ruler2.TickSizeSmall", "25"},
      {"D.Ruler2.NumberAlign", "naCenter"}, {"D.Ruler2.FontRotation", "fr0"}, {"D.Ruler2.RollEnabled", "true"}};
  const Values applied = {
      {"frmMain.Ruler.Color", "8454143"}, {"frmMain.Ruler.TickSizeSmall", "25"}, {"frmMain.Ruler.NumberAlign", "naCenter"},
      {"frmMain.Ruler.UnitSize", "40"}, {"frmMain.FMagnification", "4"}, {"frmZoom.FZoomFactor", "4"}, {"Form1.FZoomFactor", "4"},
      {"frmCrossRuler.Ruler.Color", "8454143"}, {"frmCrossRuler.Ruler.NumberAlign", "naCenter"}};
  // With the large previews everything on the panel lies 29 pixels lower: 4x, Default, OK.
  StripRun r = Run(
      Settings("[Application]\nMagnification=2\nMouseLoupe=0\nLoupe=1\n[Ruler]\nColor=255\nRoll=0\nFontRotation=90\nNumberAlign=1\nTickSmall=11") +
      "start\nwait 200\npixel 340 22\nmouse 300 40\nwait 55\nwindows\nmenu frmMain.mnuRulerProperties\n" + drag + kRoll + drag + "mouse 500 437\n" + hover +
      "mouse 600 437\n" + hover + kLarge + "windows\n" + Click(555, 531) + Click(500, 466) + Query(dialog) +
      Click(480, 573) + "wait 55\npixel 340 22\n" + Query(applied) + "close\ncat Vantrel.ini\n");
  // Rolling is off in the file; the check box switches it on, and a 40-pixel drag then slides
  // the scale 2 units of 20 pixels under the pointer.
  EXPECT_EQ(r.Lines("frmRulerProperties.Ruler1.StartValue"),
            (std::vector<std::string>{"frmRulerProperties.Ruler1.StartValue = -1.25", "frmRulerProperties.Ruler1.StartValue = -3.25"}));
  // "Default" turns red under the pointer and back to the window-text colour (system colour 8).
  EXPECT_EQ(r.Lines("frmRulerProperties.btnReset"),
            (std::vector<std::string>{"frmRulerProperties.btnReset.Font.Color = 255",
                                      "frmRulerProperties.btnReset.Font.Color = 2147483656"}));
  // The large ruler grows the dialog with its top preview: 378 + 29.
  EXPECT_EQ(r.Lines("frmRulerProperties ").back(), "frmRulerProperties 326 195 372 407 visible=1 topmost=0");
  // The lens, shown with the pointer over the strip's ruler, goes with the strip.
  const auto lens = r.Lines("Form1 ");
  ASSERT_EQ(lens.size(), 2u) << r.Out;
  EXPECT_NE(lens[0].find("visible=1"), std::string::npos) << lens[0];
  EXPECT_NE(lens[1].find("visible=0"), std::string::npos) << lens[1];
  ExpectValues(r, dialog);
  ExpectValues(r, applied);
  // The strip's own pixels change from the file's red to the default yellow.
  EXPECT_EQ(r.Lines("pixel"), (std::vector<std::string>{"pixel 340 22 0x0000FF", "pixel 340 22 0x80FFFF"}));
  for (const char* line : {"Magnification=4\r", "Color=8454143\r", "TickSmall=25\r", "Roll=1\r", "FontRotation=0\r",
                           "NumberAlign=2\r", "Large=1\r"})
    EXPECT_EQ(r.Lines(line).size(), 1u) << line << "\n" << r.Out;
}

TEST_F(StripTest, PropertiesDialogCancelledAnyWayChangesNothingAndReopensWithTheStripsValues) {
  const struct {
    std::string Close;
    bool Applied;
  } cases[] = {{"key escape\n", false}, {kCancel, false}, {kTitleClose, false}, {"key enter\n", true}};
  for (const auto& c : cases) {
    const std::string color = c.Applied ? "65280" : "8454143", big = c.Applied ? "33" : "50";
    const Values want = {
        {"frmMain.Ruler.Color", color}, {"frmMain.Ruler.TickSizeBig", big}, {"frmZoom.FZoomFactor", c.Applied ? "4" : "2"},
        {"D.btnColor.Color", color}, {"D.Ruler1.Color", color}, {"D.Ruler2.TickSizeBig", big}, {"D.txtTickBig.Value", big},
        {"D.r4Times.Checked", c.Applied ? "true" : "false"}, {"D.r2Times.Checked", c.Applied ? "false" : "true"}};
    // Green ruler, big ticks 33, 4x; closed, and opened again.
    StripRun r = Run(kOpen + "answer color 0x00FF00\n" + kSwatch + kTickBig + "key a ctrl\ntype 33\nkey tab\n" + k4x +
                     c.Close + "wait 55\npixel 340 22\nmenu frmMain.mnuRulerProperties\n" + Query(want));
    ExpectValues(r, want, " after " + c.Close);
    EXPECT_EQ(r.Lines("pixel"), std::vector<std::string>{c.Applied ? "pixel 340 22 0x00FF00" : "pixel 340 22 0x80FFFF"});
  }
}

TEST_F(StripTest, PropertiesDialogConfirmedUnchangedWritesBackTheSameFileByteForByte) {
  // Every look key differs from a new strip's, the large ruler is on and the loupes magnify 3x;
  // the keys stand in the order a close writes them. Through the strip, the dialog and OK, and
  // closed: the file must come back as it was.
  const std::string file =
      "[Application]\r\nTop=0\r\nLeft=0\r\nOrientation=0\r\nLength=640\r\nRulerFlip=0\r\nLoupe=0\r\n"
      "MouseLoupe=0\r\nOnTop=0\r\nMeasureStart=0\r\nPgDnGap=10\r\nPgUpGap=10\r\nMagnification=3\r\n"
      "[Ruler]\r\nColor=3368601\r\nTickBig=45\r\nTickMiddle=30\r\nTickSmall=12\r\nTickColor=255\r\n"
      "FontColor=65280\r\nRoll=0\r\nFontRotation=90\r\nNumberAlign=3\r\nLarge=1\r\n";
  StripRun r = Run("file Vantrel.ini <<<\n" + file + ">>>\n" + kOpen + "prop frmRulerProperties.Visible\n" +
                   "key enter\nprop frmRulerProperties.Visible\nclose\ncat Vantrel.ini\n");
  EXPECT_EQ(r.Lines("frmRulerProperties.Visible"),
            (std::vector<std::string>{"frmRulerProperties.Visible = true", "frmRulerProperties.Visible = false"}));
  ASSERT_NE(r.Out.find("[Application]"), std::string::npos) << r.Out;
  EXPECT_EQ(r.Out.substr(r.Out.find("[Application]")), file);
}
