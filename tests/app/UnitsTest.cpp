// Real units: the scale and reading of each unit, the [Units] section, and the strip measuring,
// cycling, copying and calibrating through the scenario runner.
#include "app/MeasureUnits.h"
#include "tests/app/StripTestSupport.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

using U = TMeasureUnit;

TEST(Units, ScalesNumberRoundValuesAndSpreadOnCoarseMonitors) {
  // 96 pixels an inch is 3.7795 px/mm. Numbered ticks every 10 mm (37.80 px), cm (37.80), inch
  // (96), 20 pt (26.67) and 2 pc (32); in the large size a number needs 30 px, so points go to
  // 40 (53.33). At 1 px/mm 10 mm would be 10 px, too close for a number: 20 mm. At 0.1 px/mm the
  // tenths must still be 2 px apart: 200 mm, 20 px. Pixels keep 20 (or 40) and the price alike.
  const double dpi96 = 96 / 25.4;
  struct Case {
    U Unit;
    double PxPerMm;
    int UnitPixels;
    double Size, Price;
  } cases[] = {{U::Millimetre, dpi96, 20, 37.795, 10}, {U::Centimetre, dpi96, 20, 37.795, 1},
               {U::Inch, dpi96, 20, 96, 1},           {U::Point, dpi96, 20, 26.667, 20},
               {U::Point, dpi96, 40, 53.333, 40},     {U::Pica, dpi96, 40, 32, 2},
               {U::Millimetre, 1, 20, 20, 20},        {U::Millimetre, 0.1, 20, 20, 200},
               {U::Inch, 20, 20, 508, 1},             {U::Pixel, dpi96, 40, 40, 40}};
  for (const Case& c : cases) {
    const TUnitScale s = UnitScale(c.Unit, c.PxPerMm, c.UnitPixels);
    EXPECT_NEAR(s.UnitSize, c.Size, 0.001) << MeasureUnitName(c.Unit) << " " << c.PxPerMm;
    EXPECT_EQ(s.UnitPrice, c.Price) << MeasureUnitName(c.Unit) << " " << c.PxPerMm;
    EXPECT_EQ(s.UnitPrecision, 0);
  }
  EXPECT_EQ(ReadingText(U::Millimetre, -0.04L), "0.0");  // no "-0.0"
  EXPECT_EQ(ReadingText(U::Millimetre, -0.06L), "-0.1");
  // Typed lengths: blanks, a decimal comma; nothing else.
  EXPECT_EQ(ParseTypedNumber(" 85,60 "), 85.6);
  for (const char* bad : {"", " ", "abc", "85.6mm", "1e3", "inf", "nan", "8,5,6", "--1"})
    EXPECT_EQ(ParseTypedNumber(bad), std::nullopt) << bad;
}

TEST(Units, SectionReadsWritesAndGivesEachMonitorItsDensity) {
  auto profile = [](const std::string& text) { return plat::ProfileFile::FromText("/nonexistent/Vantrel.ini", text); };
  // Case does not matter; a spoilt or absurd calibration is dropped, a good one kept.
  const TUnitSettings s = TUnitSettings::Read(
      profile("[Units]\r\nUnit=CM\r\nMonitor 0,0,1000,800=4\r\nMonitor 1,1,1,1=abc\r\nMonitor 2,2,2,2=1000\r\n"));
  EXPECT_EQ(s.Unit, U::Centimetre);
  ASSERT_EQ(s.Calibrations.size(), 1u);
  // Calibrated: 4 whichever way; another monitor of 1000 x 800 px and 250 x 400 mm: 4 px/mm
  // across, 2 down; one of 16 x 9 mm (an aspect ratio, not a size) or none: 96 dpi.
  const plat::Monitor calibrated{gfx::Rect{0, 0, 1000, 800}, 500, 500, true};
  const plat::Monitor other{gfx::Rect{1000, 0, 2000, 800}, 250, 400, false};
  const plat::Monitor ratio{gfx::Rect{0, 800, 1920, 1880}, 16, 9, false};
  EXPECT_EQ(s.PixelsPerMm(calibrated, true), 4);
  EXPECT_EQ(s.PixelsPerMm(other, false), 4);
  EXPECT_EQ(s.PixelsPerMm(other, true), 2);
  EXPECT_DOUBLE_EQ(s.PixelsPerMm(ratio, false), 96 / 25.4);
  // Pixels and nothing calibrated write nothing; pixels over a file that had a unit say so.
  plat::ProfileFile empty = profile("");
  TUnitSettings{}.Write(empty);
  EXPECT_EQ(empty.Text(), "");
  plat::ProfileFile had = profile("[Units]\r\nUnit=in\r\n");
  TUnitSettings{}.Write(had);
  EXPECT_EQ(had.Text(), "[Units]\r\nUnit=px\r\n");
  // A calibration is kept to six decimals, and read so: what is written reads back the same.
  plat::ProfileFile again = profile("[Units]\r\nUnit=pt\r\nMonitor 0,0,1000,800=3.7733644859813\r\n");
  const TUnitSettings read = TUnitSettings::Read(again);
  read.Write(again);
  EXPECT_EQ(again.Text(), "[Units]\r\nUnit=pt\r\nMonitor 0,0,1000,800=3.773364\r\n");
  EXPECT_EQ(TUnitSettings::Read(again), read);
}

// A horizontal strip 640 px long at (100, 300) on the one monitor of unknown size, 96 dpi:
// 3.7795 px/mm. The pointer stays below the strip, at x = 196: 96 px past the strip's start.
const char* kStrip = "[Application]\nLeft=100\nTop=300\nLoupe=0\nMouseLoupe=0";

TEST_F(StripTest, UnitsCycleReadCopyAndReZeroWithTheZeroOnItsPixel) {
  std::string script = Settings(kStrip) + "start\nmouse 196 500\nwait 55\n";
  // 96 px is 25.4 mm, 2.54 cm, 1 in, 72 pt, 6 pc.
  for (int i = 0; i < 6; ++i) script += "key u\nprop frmMain.lblMsatPx.Caption\nprop frmMain.lblMsPos.Caption\n";
  // Three pixels of Shift+Right, then to mm: the zero stays 3 px before the strip's start, so
  // the pointer is 99 px or 26.19 mm from it; one more pixel in mm: 100 px, 26.46 mm.
  script += "key right shift\nkey right shift\nkey right shift\nkey u\nprop frmMain.lblMsPos.Caption\n"
            "key right shift\nwait 55\nprop frmMain.ZeroOffset\nprop frmMain.lblMsPos.Caption\nkey c ctrl\nlog\n"
            // The pointer one pixel before the strip: -1 + 4 = 3 px, 0.79 mm.
            "mouse 99 500\nwait 55\nprop frmMain.lblMsPos.Caption\n"
            // Set end to 0: -1 - 640 = -641 px, -169.60 mm; Shift+End: -640 px, -169.33 mm.
            "menu frmMain.mnuSetEnd0\nwait 55\nprop frmMain.lblMsPos.Caption\n"
            "key end shift\nwait 55\nprop frmMain.lblMsPos.Caption\n"
            // Round to pixels: the zero is still on the strip's last pixel.
            "key u\nkey u\nkey u\nkey u\nkey u\nprop frmMain.lblMsPos.Caption\nprop frmMain.Ruler.StartValue\n";
  StripRun r = Run(script);
  const std::vector<std::string> captions = r.Lines("frmMain.lbl");
  const std::vector<std::string> expected = {
      "Mouse at mm:", "25.4", "Mouse at cm:", "2.54", "Mouse at in:", "1.00", "Mouse at pt:", "72.0",
      "Mouse at pc:", "6.00", "Mouse at pixel:", "96", "26.2", "26.5", "0.8", "-169.6", "-169.3", "-640"};
  ASSERT_EQ(captions.size(), expected.size()) << r.Out;
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(captions[i].substr(captions[i].find(" = ") + 3), expected[i]) << i;
  EXPECT_EQ(r.Props()["frmMain.ZeroOffset"], "4");
  EXPECT_EQ(r.Props()["frmMain.Ruler.StartValue"], "-31.95");
  EXPECT_EQ(r.Lines("clipboard text"), std::vector<std::string>{"clipboard text 26.5"});
}

TEST_F(StripTest, EachMonitorItsOwnSizeAndCalibration) {
  // Left 1000 x 800 px of 250 x 200 mm: 4 px/mm; right 800 x 600 px of 400 x 300 mm: 2 px/mm.
  // The pointer 122 px past the strip's start reads 30.5 mm on the left; calibrated there with
  // the 640-px strip said to be 128 mm, 5 px/mm: 24.4. Dragged 1000 px onto the right monitor,
  // the strip reads 61.0 there, its own size, and back on the left 24.4 again.
  StripRun r = Run("monitor 0 0 1000 800 250 200\nmonitor 1000 0 800 600 400 300\n" + Settings(kStrip) +
                   "start\nkey u\nmouse 222 500\nwait 55\nprop frmMain.lblMsPos.Caption\n"
                   "answer input 128\nkey u ctrl\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 400 305\ndown left\nmouse 1400 305\nup left\nmouse 1222 500\nwait 55\n"
                   "prop frmMain.Left\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 1400 305\ndown left\nmouse 400 305\nup left\nmouse 222 500\nwait 55\n"
                   "prop frmMain.lblMsPos.Caption\nlog\n");
  EXPECT_EQ(r.Lines("input "), std::vector<std::string>{"input Real length of the strip in millimetres: 160.00"});
  EXPECT_EQ(r.Props()["frmMain.Left"], "1100");
  const std::vector<std::string> readings = r.Lines("frmMain.lblMsPos.Caption");
  ASSERT_EQ(readings.size(), 4u) << r.Out;
  const char* expected[] = {"30.5", "24.4", "61.0", "24.4"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(readings[i], std::string("frmMain.lblMsPos.Caption = ") + expected[i]) << i;
}

TEST_F(StripTest, TicksFallOnMillimetresAndInches) {
  // One row across the strip, low in the ruler (window row 40 of 58): only the numbered ticks
  // (20 px of the ruler's 41) reach it, the middle ones (16 px) do not. In mm they stand every
  // 37.795 px: at 38, 76, 113, ... 605; in inches every 96 px. Column 0 and 639 are the frame.
  const std::string mm = (FDir / "mm.bmp").string(), in = (FDir / "in.bmp").string();
  Run(Settings(kStrip) + "start\nkey u\nshot " + mm + " 100 340 640 1\nkey u\nkey u\nshot " + in + " 100 340 640 1\n");
  for (const char* name : {"mm.bmp", "in.bmp"}) {
    const gfx::Bitmap row = gfx::ReadBmpFile((FDir / name).string());
    ASSERT_EQ(row.Width(), 640);
    std::vector<int> ink;
    for (int x = 1; x < 639; ++x)
      if (IsInk(row.At(x, 0))) ink.push_back(x);
    std::vector<int> expected;
    for (int k = 1; k * (name[0] == 'm' ? 37.795275590551 : 96.0) < 639; ++k)
      expected.push_back(int(std::lround(k * (name[0] == 'm' ? 37.795275590551 : 96.0))));
    EXPECT_EQ(ink, expected) << name;
  }
}

TEST_F(StripTest, CalibrationCorrectsTheReadingAndTheFileKeepsBoth) {
  // Before: 96 px read 25.4 mm, and the 640-px strip is offered as 169.33 mm. Typing 160 makes
  // 4 px/mm: 96 px read 24.0. Nothing else typed changes it, and each says why; Cancel is silent.
  std::string script = Settings(kStrip) + "start\nmouse 196 500\nwait 55\nkey u\nanswer input 160\nkey u ctrl\n"
                                          "prop frmMain.lblMsPos.Caption\n";
  for (const char* bad : {"abc", "", "0", "-5", "0.001"})
    script += std::string("answer input ") + bad + "\nanswer message ok\nkey u ctrl\n";
  script += "answer input cancel\nkey u ctrl\nlog\nprop frmMain.lblMsPos.Caption\n";
  // A whole pixel unit (20 px) of Shift+Right is kept as MeasureStart=1, in pixel units.
  for (int i = 0; i < 20; ++i) script += "key right shift\n";
  script += "close\n";
  StripRun r = Run(script);
  const std::vector<std::string> readings = r.Lines("frmMain.lblMsPos.Caption");
  ASSERT_EQ(readings.size(), 2u) << r.Out;
  EXPECT_EQ(readings[0], "frmMain.lblMsPos.Caption = 24.0");
  EXPECT_EQ(readings[1], "frmMain.lblMsPos.Caption = 24.0");
  const std::vector<std::string> asked = r.Lines("input ");
  ASSERT_EQ(asked.size(), 7u) << r.Out;
  EXPECT_EQ(asked[0], "input Real length of the strip in millimetres: 169.33");
  EXPECT_EQ(asked[1], "input Real length of the strip in millimetres: 160.00");
  EXPECT_EQ(r.Lines("message ").size(), 5u) << r.Out;
  EXPECT_EQ(r.Lines("message A strip of 640 pixels cannot be 0.001 millimetres long").size(), 1u) << r.Out;

  // The section follows the 22 keys; a restart measures in mm at 4 px/mm with the zero 20 px on.
  std::ifstream in(FDir / "Vantrel.ini", std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(file.find("MeasureStart=1\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.substr(file.find("Large=0")), "Large=0\r\n[Units]\r\nUnit=mm\r\nMonitor 0,0,1024,768=4\r\n");
  r = Run("start\nmouse 196 500\nwait 55\nprop frmMain.lblMsatPx.Caption\nprop frmMain.lblMsPos.Caption\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsatPx.Caption"], "Mouse at mm:");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "29.0");  // (96 + 20) / 4
  // The same file without the section starts in pixels.
  r = Run(Settings(file.substr(0, file.find("[Units]"))) + "start\nmouse 196 500\nwait 55\n"
                                                           "prop frmMain.lblMsatPx.Caption\nprop frmMain.lblMsPos.Caption\n");
  EXPECT_EQ(r.Props()["frmMain.lblMsatPx.Caption"], "Mouse at pixel:");
  EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], "116");
}

}  // namespace
