// The settings file's values, read and written without a window.
#include "app/TSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

plat::ProfileFile Profile(const std::string& text) { return plat::ProfileFile::FromText("/nonexistent/Vantrel.ini", text); }

std::string Written(const TSettings& s, const std::string& before = "") {
  plat::ProfileFile ini = Profile(before);
  s.Write(ini);
  return ini.Text();
}

TEST(Settings, EveryNumericKeyAtBothEndsOfIntIsReadWithinLimitsAndWrittenBackSo) {
  // Every key at 2147483647, then at -2147483648. Positions stop at the 16-bit coordinates
  // a window can have, lengths at 1..32767, tick sizes at 0..100 %, the start value at ten
  // million units, the magnification at 2..4; colours are bit patterns and the two gaps are
  // carried as they are. The flags read as their rules say: only 1 is "on" for RulerFlip,
  // Loupe, MouseLoupe and OnTop; anything but 0 for Orientation, Roll and Large.
  const char* keys[] = {"[Application]", "Top", "Left", "Orientation", "Length", "RulerFlip", "PgDnGap",
                        "PgUpGap", "Loupe", "MeasureStart", "MouseLoupe", "OnTop", "Magnification",
                        "[Ruler]", "Color", "TickBig", "TickMiddle", "TickSmall", "TickColor", "FontColor",
                        "Roll", "FontRotation", "NumberAlign", "Large"};
  for (const char* value : {"2147483647", "-2147483648"}) {
    std::string text;
    for (const char* k : keys) text += k[0] == '[' ? std::string(k) + "\r\n" : std::string(k) + "=" + value + "\r\n";
    const TSettings s = TSettings::Read(Profile(text));
    const bool high = value[0] != '-';
    const std::string expected =
        high ? "[Application]\r\nTop=32767\r\nLeft=32767\r\nOrientation=1\r\nLength=32767\r\nRulerFlip=0\r\n"
               "PgDnGap=2147483647\r\nPgUpGap=2147483647\r\nLoupe=0\r\nMeasureStart=10000000\r\nMouseLoupe=0\r\n"
               "OnTop=0\r\nMagnification=4\r\n[Ruler]\r\nColor=2147483647\r\nTickBig=100\r\nTickMiddle=100\r\n"
               "TickSmall=100\r\nTickColor=2147483647\r\nFontColor=2147483647\r\nRoll=1\r\nFontRotation=0\r\n"
               "NumberAlign=1\r\nLarge=1\r\n"
             : "[Application]\r\nTop=-32768\r\nLeft=-32768\r\nOrientation=1\r\nLength=1\r\nRulerFlip=0\r\n"
               "PgDnGap=-2147483648\r\nPgUpGap=-2147483648\r\nLoupe=0\r\nMeasureStart=-10000000\r\n"
               "MouseLoupe=0\r\nOnTop=0\r\nMagnification=2\r\n[Ruler]\r\nColor=-2147483648\r\nTickBig=0\r\n"
               "TickMiddle=0\r\nTickSmall=0\r\nTickColor=-2147483648\r\nFontColor=-2147483648\r\nRoll=1\r\n"
               "FontRotation=0\r\nNumberAlign=1\r\nLarge=1\r\n";
    // Written over the file it came from: every key keeps its line.
    EXPECT_EQ(Written(s, text), expected) << value;
    // And what was written reads back the same.
    EXPECT_EQ(TSettings::Read(Profile(expected)), s) << value;
  }
}

TEST(Settings, ValuesBeyondTheLimitsAreWrittenAsTheNextStartReadsThem) {
  // Values the running program can reach (a strip pushed off by keys, a scale rolled far, a
  // start value between whole units) are written within the limits, rounded halves to even.
  struct Case {
    double MeasureStart;
    int Left;
    int Length;
    const char* Expected;  // MeasureStart, Left and Length as written
  } cases[] = {
      {2.5, 40000, 0, "Left=32767|Length=1|MeasureStart=2"},
      {3.5, -40000, 70000, "Left=-32768|Length=32767|MeasureStart=4"},
      {-31.95, -5, 640, "Left=-5|Length=640|MeasureStart=-32"},
      {-0.5, 0, 640, "Left=0|Length=640|MeasureStart=0"},
      {1e300, 0, 640, "Left=0|Length=640|MeasureStart=10000000"},
      {-1e12, 0, 640, "Left=0|Length=640|MeasureStart=-10000000"},
  };
  for (const Case& c : cases) {
    TSettings s;
    s.MeasureStart = c.MeasureStart;
    s.Left = c.Left;
    s.Length = c.Length;
    const plat::ProfileFile ini = Profile(Written(s));
    const std::string got = "Left=" + *ini.ReadString("Application", "Left") + "|Length=" +
                            *ini.ReadString("Application", "Length") + "|MeasureStart=" +
                            *ini.ReadString("Application", "MeasureStart");
    EXPECT_EQ(got, c.Expected) << c.MeasureStart;
  }
}

TEST(Settings, MappingsOfTheEnumeratedKeys) {
  struct Case {
    const char* Text;
    TNumberAlign Align;
    TFontRotation Rotation;
    int Length;  // the default depends on the orientation
  } cases[] = {
      {"[Ruler]\nNumberAlign=2\nFontRotation=90", naCenter, fr90, 640},
      {"[Ruler]\nNumberAlign=3\nFontRotation=180", naBottomRight, fr0, 640},
      {"[Ruler]\nNumberAlign=0\n[Application]\nOrientation=-1", naTopLeft, fr0, 400},
      {"[Ruler]\nNumberAlign=1\nFontRotation=-90", naTopLeft, fr0, 640},
  };
  for (const Case& c : cases) {
    const TSettings s = TSettings::Read(Profile(c.Text));
    EXPECT_EQ(s.Look.NumberAlign, c.Align) << c.Text;
    EXPECT_EQ(s.Look.FontRotation, c.Rotation) << c.Text;
    EXPECT_EQ(s.Length, c.Length) << c.Text;
  }
  // naTopLeft 1, naCenter 2, naBottomRight 3; fr0 0, anything else 90.
  TSettings s;
  std::string out;
  for (TNumberAlign a : {naTopLeft, naCenter, naBottomRight}) {
    s.Look.NumberAlign = a;
    out += *Profile(Written(s)).ReadString("Ruler", "NumberAlign");
  }
  for (TFontRotation r : {fr0, fr90, fr270}) {
    s.Look.FontRotation = r;
    out += "," + *Profile(Written(s)).ReadString("Ruler", "FontRotation");
  }
  EXPECT_EQ(out, "123,0,90,90");
}

TEST(Settings, LeadingByteOrderMarksReadAsNoneAndASaveIsWhatTheNextStartReads) {
  const std::string mark = "\xEF\xBB\xBF";
  for (int marks : {1, 2, 3}) {
    std::string text;
    for (int i = 0; i < marks; ++i) text += mark;
    text += "[Application]\r\nTop=5\r\nLeft=7\r\n";
    plat::ProfileFile ini = Profile(text);
    TSettings s = TSettings::Read(ini);
    EXPECT_EQ(s.Top, 5) << marks;
    EXPECT_EQ(s.Left, 7) << marks;
    // The strip moved to Top=3: the next start must find it there.
    s.Top = 3;
    s.Write(ini);
    const std::string saved = ini.Text();
    EXPECT_EQ(saved.find("[Application]"), 0u) << marks;
    EXPECT_EQ(saved.find("[Application]", 1), std::string::npos) << saved;
    EXPECT_EQ(TSettings::Read(Profile(saved)).Top, 3) << marks;
  }
}

}  // namespace
