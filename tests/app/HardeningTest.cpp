// The program under hostile input: settings at the ends of int, a strip as long as a window
// can be, and a few thousand random events.
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/TSettings.h"
#include "app/TfrmMain.h"
#include "app/VantrelMain.h"
#include "magnifier/TForm1.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Keys.h"
#include "platform/virtual/VirtualDesktop.h"
#include "ruler/RulerLayout.h"
#include "tests/app/StripTestSupport.h"
#include "toolkit/core/TApplication.h"

namespace {

const char* const kAllKeys[] = {"Top", "Left", "Orientation", "Length", "RulerFlip", "Loupe", "MouseLoupe",
                                "OnTop", "MeasureStart", "PgDnGap", "PgUpGap", "Magnification", "Color",
                                "TickBig", "TickMiddle", "TickSmall", "TickColor", "FontColor", "Roll",
                                "FontRotation", "NumberAlign", "Large"};

// Number of the 22 keys present in TEXT, each with a value that parses.
int CompleteKeys(const std::string& text) {
  const plat::ProfileFile ini = plat::ProfileFile::FromText("Vantrel.ini", text);
  int n = 0;
  for (int i = 0; i < 22; ++i) {
    const char* section = i >= 12 ? "Ruler" : "Application";
    if (auto v = ini.ReadString(section, kAllKeys[i]); v && plat::ProfileFile::ParseInteger(*v)) ++n;
  }
  return n;
}

}  // namespace

TEST_F(StripTest, SettingsAtTheEndsOfIntStartWorkAndCloseWithinLimits) {
  // Every numeric key at 2147483647 or -2147483648, the strip horizontal or vertical. The
  // strip starts off-screen, the keys walk it further off (they stop at the window system's
  // limit), Ctrl+Home brings it to the corner, and the scale is rolled and read there.
  for (const char* value : {"2147483647", "-2147483648"}) {
    for (const char* orientation : {"0", "1"}) {
      std::string file = "[Application]\nOrientation=" + std::string(orientation);
      for (const char* k : kAllKeys) {
        if (k == kAllKeys[2]) continue;  // Orientation, set above
        if (k == kAllKeys[12]) file += "\n[Ruler]";
        file.append("\n").append(k).append("=").append(value);
      }
      std::filesystem::remove(FDir / "Vantrel.ini");
      StripRun r = Run(Settings(file) +
                       "start\nmouse 500 300\nwait 60\n"
                       "key left\nkey up\nkey pageup\nkey left shift\nkey up shift\nkey home\nkey end\n"
                       "keydown alt\nkeyup alt\nkey home ctrl\n"
                       // On the ruler at the corner: 40 pixels a unit (Large is on), so a
                       // drag of 40 pixels along the strip rolls the scale back one unit.
                       "mouse 60 60\ndown left\nmouse 100 100\nup left\nwait 60\n"
                       "prop frmMain.ZeroOffset\nprop frmMain.lblMsPos.Caption\nwindows\nclose\ncat Vantrel.ini\n");
      const std::string where = std::string(value) + " orientation " + orientation;
      const auto ini = r.Out.find("[Application]");
      ASSERT_NE(ini, std::string::npos) << where << r.Out;
      EXPECT_EQ(CompleteKeys(r.Out.substr(ini)), 22) << where << r.Out;
      // MeasureStart is held at ten million units; Shift+Left takes 1/40 off it on a
      // horizontal strip (Shift+Up on a vertical one) and the drag one unit more:
      // 40 x (+-10000000 - 1/40 - 1) = 399999959 or -400000041. Written back, the start
      // value is rounded (9999998.975 to 9999999) and kept within its limit (-10000001.025
      // to -10000000).
      const bool high = value[0] == '2';
      const long long zero = high ? 399999959 : -400000041;
      EXPECT_EQ(r.Props()["frmMain.ZeroOffset"], std::to_string(zero)) << where;
      // The pointer rests 100 pixels into the strip at its corner.
      EXPECT_EQ(r.Props()["frmMain.lblMsPos.Caption"], std::to_string(zero + 100)) << where;
      EXPECT_NE(r.Out.find(high ? "MeasureStart=9999999\r" : "MeasureStart=-10000000\r"), std::string::npos)
          << where << r.Out;
    }
  }
}

TEST_F(StripTest, AStripAsLongAsAWindowCanBeFollowsTheMouseAndRolls) {
  // Vertical, 32767 pixels long, its top 16000 pixels above the screen. Its ruler is the
  // 49-pixel column at x 118..166 (after the 18-pixel caption strip), with ticks every other
  // pixel reaching 12 pixels in from the right edge: at x = 160 a row is tick or background.
  StripRun r = Run(Settings("[Application]\nOrientation=1\nLength=32767\nTop=-16000\nLeft=100") +
                   "start\nwindows\n"
                   "mouse 150 300\nwait 60\nprop frmMain.lblMsPos.Caption\n"
                   "mouse 150 700\nwait 60\nprop frmMain.lblMsPos.Caption\n"
                   "pixel 160 300\npixel 160 301\n"
                   // Rolling by one pixel moves every tick by one.
                   "mouse 140 300\ndown left\nmouse 140 301\nup left\nwait 60\n"
                   "pixel 160 300\npixel 160 301\npixel 160 767\npixel 160 766\n"
                   // Page Up lifts the strip by ten: rows that were below the screen when it
                   // rolled come into view and must show the rolled scale too.
                   "key pageup\nwait 60\nwindows\npixel 160 767\npixel 160 766\npixel 160 757\n");
  EXPECT_NE(r.Out.find("frmMain 100 -16000 67 32767 visible=1"), std::string::npos) << r.Out;
  auto captions = r.Lines("frmMain.lblMsPos.Caption");
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[0], "frmMain.lblMsPos.Caption = 16300");  // 300 - (-16000)
  EXPECT_EQ(captions[1], "frmMain.lblMsPos.Caption = 16700");
  auto px = r.Lines("pixel");
  ASSERT_EQ(px.size(), 9u);
  // Ruler pixel p = screen y + 16000; at start value 0 the ticks are on even p.
  EXPECT_EQ(px[0], "pixel 160 300 0x000000");
  EXPECT_EQ(px[1], "pixel 160 301 0x80FFFF");
  // Start value -1/20: the ticks are on odd p, down to the screen's last row.
  EXPECT_EQ(px[2], "pixel 160 300 0x80FFFF");
  EXPECT_EQ(px[3], "pixel 160 301 0x000000");
  EXPECT_EQ(px[4], "pixel 160 767 0x000000");
  EXPECT_EQ(px[5], "pixel 160 766 0x80FFFF");
  // Top -16010: screen y shows p = y + 16010, so 767 is p 16777 (odd, a tick), 766 not, and
  // 757 (p 16767, on screen before the move) a tick still.
  EXPECT_NE(r.Out.find("frmMain 100 -16010 67 32767 visible=1"), std::string::npos) << r.Out;
  EXPECT_EQ(px[6], "pixel 160 767 0x000000");
  EXPECT_EQ(px[7], "pixel 160 766 0x80FFFF");
  EXPECT_EQ(px[8], "pixel 160 757 0x000000");
}

namespace {

// A small fixed generator, the same on every platform.
class Monkey {
 public:
  explicit Monkey(std::uint64_t seed) : FState(seed) {}
  int Below(int n) {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
    return int(FState % std::uint64_t(n));
  }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }

 private:
  std::uint64_t FState;
};

}  // namespace

TEST_F(StripTest, AMonkeyOfRandomInputLeavesTheProgramRunningAndItsSettingsComplete) {
  constexpr int kEvents = 3000;
  plat::VirtualDesktop desk;
  desk.SetExecutableDir(FDir.string());
  plat::Platform::SetCurrent(&desk);
  desk.SetIdleProcessor([] {
    if (Application) Application->ProcessIdleWork();
  });
  Monkey m(0x5EED2026);
  int events = 0;
  bool closed = false;
  TSettings atClose;
  Point cursor{0, 0};
  desk.SetWaitHandler([&]() -> bool {
    auto* main = Application ? dynamic_cast<TfrmMain*>(Application->MainForm()) : nullptr;
    if (!main || closed) return false;
    if (events++ == kEvents) {
      closed = true;
      atClose = main->CurrentSettings();
      Application->Guard(main, [main] { main->Close(); });
      return true;
    }
    if (main->Menu->IsOpen()) {  // never choose a command: close the menu
      desk.InjectKey(plat::VK_ESCAPE);
      return true;
    }
    const Rect b = main->BoundsRect();
    switch (m.Below(10)) {
      case 0: case 1: case 2:  // near or on the strip
        cursor = {m.Between(b.left - 30, b.right + 30), m.Between(b.top - 30, b.bottom + 30)};
        desk.InjectMouseMove(cursor);
        break;
      case 3:  // anywhere, a little off the screen included
        cursor = {m.Between(-60, 1084), m.Between(-60, 828)};
        desk.InjectMouseMove(cursor);
        break;
      case 4: {  // a button, but never on the close button
        const Rect close = Rect::FromXYWH(main->btnClose->ClientToScreen({0, 0}).x,
                                          main->btnClose->ClientToScreen({0, 0}).y, 13, 13);
        const plat::MouseButton button = plat::MouseButton(m.Below(3));
        if (close.Contains(cursor)) break;
        if (m.Below(2)) desk.InjectButtonDown(button);
        else desk.InjectButtonUp(button);
        break;
      }
      case 5: case 6: {  // keys with any modifiers
        static const int keys[] = {plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP, plat::VK_DOWN, plat::VK_PRIOR,
                                   plat::VK_NEXT, plat::VK_HOME, plat::VK_END, plat::VK_ESCAPE, 'A'};
        desk.InjectKey(keys[m.Below(10)], plat::ShiftState(m.Below(8)));
        break;
      }
      case 7:  // Alt held or let go on its own
        if (m.Below(2)) desk.InjectKeyDown(plat::VK_MENU);
        else desk.InjectKeyUp(plat::VK_MENU);
        break;
      default:  // the clock moves: the tick follows the pointer
        desk.AdvanceClock(std::uint64_t(m.Between(1, 200)));
    }
    return true;
  });
  VantrelMain();
  desk.SetWaitHandler(nullptr);
  desk.SetIdleProcessor(nullptr);
  plat::Platform::SetCurrent(nullptr);

  // The program ran every event and ended by the close at the end, not before.
  EXPECT_TRUE(closed);
  EXPECT_EQ(events, kEvents + 1);
  std::ifstream in(FDir / "Vantrel.ini", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(CompleteKeys(text), 22) << text;
  // What was written is what the window held at the close, within the limits (the start
  // value as the whole number it is written as).
  TSettings expected = atClose.Clamped();
  expected.MeasureStart = RoundHalfEven(expected.MeasureStart);
  EXPECT_EQ(TSettings::Read(plat::ProfileFile::FromText("Vantrel.ini", text)), expected) << text;
}

TEST_F(StripTest, WindowsDestroyedBeforeTheStripAreForgottenByIt) {
  // The application destroys its windows last made first, so the strip outlives the others;
  // a tick with the pointer on the ruler and both magnifiers on, and the loupe's command,
  // must then find neither (the sanitizer build sees any use of what is gone).
  plat::VirtualDesktop desk;
  desk.SetExecutableDir(FDir.string());
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    TfrmMain* strip = app.CreateForm<TfrmMain>();
    TStripCompanions companions;
    companions.Lens = app.CreateForm<TForm1>();
    companions.MouseLoupe = app.CreateForm<TfrmZoom>();
    strip->SetCompanions(companions);
    strip->Show();
    app.DestroyComponent(companions.Lens);
    app.DestroyComponent(companions.MouseLoupe);
    strip->mnuLoupe->SetChecked(true);
    desk.SetCursorPos({strip->Left() + 300, strip->Top() + strip->Height() - 5});
    strip->Timer1Timer(strip);
    strip->mnuZoomClick(strip);
    EXPECT_EQ(strip->CaptionStrip->lblMsPos->Caption(), "300");
    EXPECT_EQ(app.ComponentCount(), 1);
  }
  plat::Platform::SetCurrent(nullptr);
}
