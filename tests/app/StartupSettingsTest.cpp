// Start-up without and with a settings file, and what closing writes back.
#include "tests/app/StripTestSupport.h"

TEST_F(StripTest, FirstStartUsesDefaultsAndClosingWritesAllKeysInOrder) {
  StripRun r = Run(
      "start\n"
      "windows\n"
      "prop frmMain.Ruler.Color\nprop frmMain.Ruler.TickColor\nprop frmMain.Ruler.TickSizeBig\n"
      "prop frmMain.Ruler.TickSizeMiddle\nprop frmMain.Ruler.TickSizeSmall\nprop frmMain.Ruler.RollEnabled\n"
      "prop frmMain.Ruler.FontRotation\nprop frmMain.Ruler.NumberAlign\nprop frmMain.Ruler.Cursor\n"
      "prop frmMain.mnuRulerFlip.Checked\nprop frmMain.mnuLoupe.Checked\nprop frmMain.mnuZoom.Checked\n"
      "prop frmMain.mnuAlwaysTop.Checked\nprop frmMain.mnuCrossRuler.Checked\nprop frmMain.FMagnification\n"
      "prop frmMain.FLarge\nprop frmMain.Ruler.UnitSize\nprop frmMain.Ruler.RollLimits.MinValid\n"
      // The ruler body: pale yellow background, the frame and a big tick at pixel 20 in black.
      "pixel 30 40\npixel 0 40\npixel 20 57\npixel 20 38\npixel 20 37\n"
      "close\n"
      "cat Vantrel.ini\n");
  EXPECT_NE(r.Out.find("frmMain 0 0 640 58 visible=1 topmost=0\n"), std::string::npos) << r.Out;
  auto p = r.Props();
  EXPECT_EQ(p["frmMain.Ruler.Color"], "8454143");
  EXPECT_EQ(p["frmMain.Ruler.TickColor"], "0");
  EXPECT_EQ(p["frmMain.Ruler.TickSizeBig"], "50");
  EXPECT_EQ(p["frmMain.Ruler.TickSizeMiddle"], "40");
  EXPECT_EQ(p["frmMain.Ruler.TickSizeSmall"], "25");
  EXPECT_EQ(p["frmMain.Ruler.RollEnabled"], "true");
  EXPECT_EQ(p["frmMain.Ruler.FontRotation"], "fr0");
  EXPECT_EQ(p["frmMain.Ruler.NumberAlign"], "naTopLeft");
  EXPECT_EQ(p["frmMain.Ruler.Cursor"], "5");
  EXPECT_EQ(p["frmMain.mnuRulerFlip.Checked"], "false");
  EXPECT_EQ(p["frmMain.mnuLoupe.Checked"], "true");
  EXPECT_EQ(p["frmMain.mnuZoom.Checked"], "true");
  EXPECT_EQ(p["frmMain.mnuAlwaysTop.Checked"], "false");
  EXPECT_EQ(p["frmMain.mnuCrossRuler.Checked"], "false");
  EXPECT_EQ(p["frmMain.FMagnification"], "2");
  EXPECT_EQ(p["frmMain.FLarge"], "false");
  EXPECT_EQ(p["frmMain.Ruler.UnitSize"], "20");
  EXPECT_EQ(p["frmMain.Ruler.RollLimits.MinValid"], "false");
  auto px = r.Lines("pixel");
  ASSERT_EQ(px.size(), 5u);
  EXPECT_EQ(px[0], "pixel 30 40 0x80FFFF");
  EXPECT_EQ(px[1], "pixel 0 40 0x000000");   // the ruler's outline
  EXPECT_EQ(px[2], "pixel 20 57 0x000000");  // the ruler's bottom row: 17..57 on screen
  EXPECT_EQ(px[3], "pixel 20 38 0x000000");  // big tick at 20: 20 px of 41, rows 38..57
  EXPECT_EQ(px[4], "pixel 20 37 0x80FFFF");
  const std::string ini = r.Out.substr(r.Out.find("[Application]"));
  EXPECT_EQ(ini,
            "[Application]\r\nTop=0\r\nLeft=0\r\nOrientation=0\r\nLength=640\r\nRulerFlip=0\r\nLoupe=1\r\n"
            "MouseLoupe=1\r\nOnTop=0\r\nMeasureStart=0\r\nPgDnGap=10\r\nPgUpGap=10\r\nMagnification=2\r\n"
            "[Ruler]\r\nColor=8454143\r\nTickBig=50\r\nTickMiddle=40\r\nTickSmall=25\r\nTickColor=0\r\n"
            "FontColor=0\r\nRoll=1\r\nFontRotation=0\r\nNumberAlign=1\r\nLarge=0\r\n");
}

TEST_F(StripTest, SettingsAreReadWithTheirRulesAndWrittenBackNormalised) {
  StripRun r = Run(Settings(
                       "; kept as it is\n[Application]\nTop=120\nLeft=33\nOrientation=7\nMagnification=7\n"
                       "PgDnGap=25\nOnTop=1\nMouseLoupe=0\nLoupe=3\n[Other]\nkeep=me\n[Ruler]\nColor=0xFF\n"
                       "NumberAlign=5\nFontRotation=45\nRoll=2\nTickColor=$FF00\nFontColor=255\nTickBig=abc") +
                   "start\nwindows\n"
                   "prop frmMain.Ruler.Orientation\nprop frmMain.Ruler.Color\nprop frmMain.Ruler.NumberAlign\n"
                   "prop frmMain.Ruler.FontRotation\nprop frmMain.Ruler.RollEnabled\nprop frmMain.Ruler.TickColor\n"
                   "prop frmMain.Ruler.TickSizeBig\nprop frmMain.FMagnification\nprop frmMain.mnuAlwaysTop.Checked\n"
                   "prop frmMain.mnuZoom.Checked\nprop frmMain.mnuLoupe.Checked\n"
                   "close\ncat Vantrel.ini\n");
  // "Orientation"=7 is vertical; without "Length" the strip is 400 high.
  EXPECT_NE(r.Out.find("frmMain 33 120 67 400 visible=1 topmost=1\n"), std::string::npos) << r.Out;
  auto p = r.Props();
  EXPECT_EQ(p["frmMain.Ruler.Orientation"], "orVert");
  EXPECT_EQ(p["frmMain.Ruler.Color"], "255");
  EXPECT_EQ(p["frmMain.Ruler.NumberAlign"], "naTopLeft");
  EXPECT_EQ(p["frmMain.Ruler.FontRotation"], "fr0");
  EXPECT_EQ(p["frmMain.Ruler.RollEnabled"], "true");
  EXPECT_EQ(p["frmMain.Ruler.TickColor"], std::to_string(0xFF00));
  EXPECT_EQ(p["frmMain.Ruler.TickSizeBig"], "50");
  EXPECT_EQ(p["frmMain.FMagnification"], "4");
  EXPECT_EQ(p["frmMain.mnuAlwaysTop.Checked"], "true");
  EXPECT_EQ(p["frmMain.mnuZoom.Checked"], "false");
  EXPECT_EQ(p["frmMain.mnuLoupe.Checked"], "false");
  const std::string ini = r.Out.substr(r.Out.find("; kept"));
  EXPECT_EQ(ini,
            "; kept as it is\r\n[Application]\r\nTop=120\r\nLeft=33\r\nOrientation=1\r\nMagnification=4\r\n"
            "PgDnGap=25\r\nOnTop=1\r\nMouseLoupe=0\r\nLoupe=0\r\nLength=400\r\nRulerFlip=0\r\nMeasureStart=0\r\n"
            "PgUpGap=10\r\n[Other]\r\nkeep=me\r\n[Ruler]\r\nColor=255\r\nNumberAlign=1\r\nFontRotation=0\r\n"
            "Roll=1\r\nTickColor=65280\r\nFontColor=255\r\nTickBig=50\r\nTickMiddle=40\r\nTickSmall=25\r\n"
            "Large=0\r\n");
}

TEST_F(StripTest, SmallValuesAndOtherSpellings) {
  struct Case {
    const char* Settings;
    const char* Prop;
    const char* Value;
  } cases[] = {
      {"[Application]\nMagnification=0", "frmMain.FMagnification", "2"},
      {"[Application]\nMagnification=-3", "frmMain.FMagnification", "2"},
      {"[Application]\nMagnification=3", "frmMain.FMagnification", "3"},
      {"[Ruler]\nColor=$FF", "frmMain.Ruler.Color", "255"},
      {"[Ruler]\nNumberAlign=0", "frmMain.Ruler.NumberAlign", "naTopLeft"},
      {"[Ruler]\nNumberAlign=2", "frmMain.Ruler.NumberAlign", "naCenter"},
      {"[Ruler]\nNumberAlign=3", "frmMain.Ruler.NumberAlign", "naBottomRight"},
      {"[Ruler]\nFontRotation=90", "frmMain.Ruler.FontRotation", "fr90"},
      {"[Ruler]\nRoll=0", "frmMain.Ruler.RollEnabled", "false"},
      {"[Ruler]\nLarge=5", "frmMain.FLarge", "true"},
      {"[application]\nORIENTATION=1\nlength=300", "frmMain.Height", "300"},
      {"[Application]\nLeft=99999999999", "frmMain.Left", "0"},
      {"[Application]\nMeasureStart=-3", "frmMain.Ruler.StartValue", "-3"},
  };
  for (const Case& c : cases) {
    StripRun r = Run(Settings(c.Settings) + "start\nprop " + c.Prop + "\n");
    EXPECT_EQ(r.Props()[c.Prop], c.Value) << c.Settings;
  }
}

TEST_F(StripTest, MeasureStartIsWrittenRoundedHalvesToEven) {
  // Rolling the scale by whole pixels gives exact start values: 50 px = 2.5 units, 70 = 3.5.
  struct Case {
    int Drag;
    const char* Written;
  } cases[] = {{-50, "MeasureStart=2\r"}, {-70, "MeasureStart=4\r"}, {30, "MeasureStart=-2\r"}};
  for (const Case& c : cases) {
    std::filesystem::remove(FDir / "Vantrel.ini");
    StripRun r = Run("start\nmouse 300 40\ndown left\nmouse " + std::to_string(300 + c.Drag) +
                     " 40\nup left\nprop frmMain.Ruler.StartValue\nclose\ncat Vantrel.ini\n");
    EXPECT_NE(r.Out.find(c.Written), std::string::npos) << r.Out;
  }
  // Shift+End on a 640-pixel strip: -31.95, written as -32.
  std::filesystem::remove(FDir / "Vantrel.ini");
  StripRun r = Run("start\nkey end shift\nprop frmMain.Ruler.StartValue\nclose\ncat Vantrel.ini\n");
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "-31.95");
  EXPECT_NE(r.Out.find("MeasureStart=-32\r"), std::string::npos) << r.Out;
}

TEST_F(StripTest, AnUnwritableSettingsFileIsReportedAndTheOldOneKept) {
  // A folder where the file should be: the new settings cannot be put in its place.
  std::filesystem::create_directories(FDir / "Vantrel.ini" / "inside");
  StripRun r = Run("start\nclose\nlog\n");
  EXPECT_NE(r.Out.find("message Unable to write to " + (FDir / "Vantrel.ini").string()), std::string::npos) << r.Out;
  EXPECT_TRUE(std::filesystem::is_directory(FDir / "Vantrel.ini" / "inside"));
}
