// The program under a headless sway: where its windows appear, what they look like, how the
// pointer and the keys drive them, and what it writes. Each scene is played on the virtual
// desktop too, whose pictures, clipboard and settings file are the reference.
#include <fstream>
#include <sstream>

#include "CompositorRelay.h"
#include "WaylandProgramFixture.h"
#include "graphics/ImageFile.h"
#include "magnifier/NoScreenPicture.h"
#include "tests/x11/PrivateSessionBus.h"
#include "tests/x11/StandInPortal.h"

using namespace wltest;
using gfx::Rect;

namespace {
// Without the mouse loupe, which shows after a drag and covers part of the screen.
const char* kStrip = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";
const Rect kStripBounds = Rect::FromXYWH(100, 120, 500, 58);
// The strip's menu button, from the strip's top-left corner.
constexpr int kMenuButtonX = 44, kMenuButtonY = 8;

std::string At(int x, int y) { return "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nwait 55\n"; }
}  // namespace

class WaylandStrip : public WaylandProgram {
 protected:
  // Opens the menu of the strip at STRIP from its button, checks that it looks as on the
  // virtual desktop after SETTINGS and BEFORE, and chooses "Exit" from the keyboard (Up from
  // nothing lands on the last item): the program ends well.
  void ExitThroughMenu(const std::string& settings, const std::string& before, Rect strip) {
    const int bx = strip.left + kMenuButtonX, by = strip.top + kMenuButtonY;
    const std::string open = before + "mouse " + std::to_string(bx) + " " + std::to_string(by) + "\nclick left\nwait 500\n";
    const Rect menu = VirtualWindow(settings, open, "MenuWindow");
    ASSERT_FALSE(menu.IsEmpty()) << "no menu on the virtual desktop";
    // Beside its button: below the caption, at the button's left.
    EXPECT_EQ(menu.left, strip.left + 38);
    EXPECT_EQ(menu.top, strip.top + 17);
    // On Wayland the menu has "Measure anywhere" after "Cross Ruler", which makes it wider and
    // taller: its left edge down to that item (icons and frame) is the same.
    const Rect same = Rect::FromXYWH(menu.left, menu.top, 24, 175);
    const gfx::Bitmap look = ShotVirtual(settings, open, same);
    Click(bx, by);
    ASSERT_TRUE(WaitForPixels(same, look)) << "the menu does not open beside its button: " << Difference(Capture(same), look);
    Type({"-k", "Up", "-k", "Return"});
    EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  }
  // Where the virtual desktop shows its window NAME after SETTINGS and COMMANDS (empty if not).
  Rect VirtualWindow(const std::string& settings, const std::string& commands, const std::string& name) {
    std::istringstream windows(RunVirtual(settings, commands + "windows\n"));
    for (std::string n; windows >> n;) {
      int x = 0, y = 0, w = 0, h = 0;
      windows >> x >> y >> w >> h;
      std::string visible;
      windows >> visible;
      if (n == name && visible == "visible=1") return Rect::FromXYWH(x, y, w, h);
      windows.ignore(1000, '\n');
    }
    return {};
  }
  // The settings file the virtual desktop writes after SETTINGS, COMMANDS and a close.
  std::string VirtualSettings(const std::string& settings, const std::string& commands) {
    return RunVirtual(settings, commands + "close\ncat Vantrel.ini\n");
  }
  std::string OurSettings() {
    std::ifstream in(Dir / "Vantrel.ini", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

TEST_F(WaylandStrip, AppearsAtItsPlaceLooksAsOnTheVirtualDesktopAndItsMenuEndsIt) {
  struct Case {
    const char* Settings;
    Rect Bounds;
    gfx::Point Pointer;  // over the strip: Wayland shows us the pointer only there
  } cases[] = {
      {kStrip, kStripBounds, {350, 170}},
      // Vertical, flipped, large: the turned captions and the other scale.
      {"[Application]\nLeft=600\nTop=100\nLength=450\nOrientation=1\nRulerFlip=1\nMouseLoupe=0\n[Ruler]\nLarge=1",
       Rect::FromXYWH(600, 100, 97, 450), {640, 333}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Settings);
    const gfx::Bitmap expected = ShotVirtual(c.Settings, At(c.Pointer.x, c.Pointer.y), c.Bounds);
    WriteSettings(c.Settings);
    StartProgram();
    MoveTo(c.Pointer.x, c.Pointer.y);
    EXPECT_TRUE(WaitForPixels(c.Bounds, expected, 10000)) << Difference(Capture(c.Bounds), expected) << ProgramOutput();
    // One pixel off either way would not match.
    EXPECT_FALSE(WaitForPixels(c.Bounds.Offset(1, 0), expected, 0));
    EXPECT_FALSE(WaitForPixels(c.Bounds.Offset(0, -1), expected, 0));
    if (c.Bounds == kStripBounds)
      ExitThroughMenu(c.Settings, At(c.Pointer.x, c.Pointer.y), c.Bounds);
    else
      KillProgram();
  }
}

TEST_F(WaylandStrip, ACaptionDragMovesItExactlyUnderItsReadoutAndTheNewPlaceIsSaved) {
  WriteSettings(kStrip);
  StartProgram();
  MoveTo(400, 128);
  ASSERT_TRUE(WaitForPixels(kStripBounds, ShotVirtual(kStrip, At(400, 128), kStripBounds))) << ProgramOutput();
  Button(true);
  MoveTo(450, 178);
  MoveTo(470, 180);
  // 70 right and 52 down of the press: the strip at 170, 172, the zero-position readout
  // above it, both as on the virtual desktop.
  const std::string drag = "mouse 400 128\ndown left\nmouse 450 178\nmouse 470 180\nwait 55\n";
  const Rect now = Rect::FromXYWH(170, 172, 500, 58);
  const gfx::Bitmap look = ShotVirtual(kStrip, drag, now);
  EXPECT_TRUE(WaitForPixels(now, look)) << Difference(Capture(now), look);
  const Rect readout = VirtualWindow(kStrip, drag, "frmPosition");
  ASSERT_EQ(readout, Rect::FromXYWH(170, 150, readout.Width(), 22));
  const gfx::Bitmap readoutLook = ShotVirtual(kStrip, drag, readout);
  EXPECT_TRUE(WaitForPixels(readout, readoutLook)) << Difference(Capture(readout), readoutLook);
  // Released, the pointer going on leaves it there.
  Button(false);
  MoveTo(700, 600);
  MoveTo(470, 180);
  EXPECT_TRUE(WaitForPixels(now, look)) << "moved after the release: " << Difference(Capture(now), look);
  ExitThroughMenu(kStrip, drag + "up left\n", now);
  EXPECT_EQ(Setting("Left"), "170");
  EXPECT_EQ(Setting("Top"), "172");
}

TEST_F(WaylandStrip, TakesKeysAfterAClickMovesChangesUnitAndCopiesAsOnTheVirtualDesktop) {
  WriteSettings(kStrip);
  StartProgram();
  Click(400, 128);  // the strip takes the keyboard (on demand)
  const gfx::Bitmap clicked = ShotVirtual(kStrip, "mouse 400 128\nclick left\nwait 55\n", kStripBounds);
  ASSERT_TRUE(WaitForPixels(kStripBounds, clicked)) << "the click is not seen: " << ProgramOutput();
  Type({"-k", "Right", "-k", "Down"});
  const std::string keys = "mouse 400 128\nclick left\nkey right\nkey down\nwait 55\n";
  const Rect moved = kStripBounds.Offset(1, 1);
  const gfx::Bitmap look = ShotVirtual(kStrip, keys, moved);
  EXPECT_TRUE(WaitForPixels(moved, look)) << "the arrow keys move it a pixel: " << Difference(Capture(moved), look);
  Type({"u"});
  const gfx::Bitmap unit = ShotVirtual(kStrip, keys + "key u\nwait 55\n", moved);
  ASSERT_NE(unit, look);
  EXPECT_TRUE(WaitForPixels(moved, unit)) << "U shows the next unit: " << Difference(Capture(moved), unit);
  // Ctrl+C: the reading, as the virtual desktop's program puts it on its clipboard.
  Type({"-M", "ctrl", "c", "-m", "ctrl"});
  const std::string log = RunVirtual(kStrip, keys + "key u\nkey c ctrl\nlog\n");
  const std::size_t at = log.find("clipboard text ");
  ASSERT_NE(at, std::string::npos) << log;
  const std::string reading = log.substr(at + 15, log.find('\n', at) - at - 15);
  std::string pasted;
  EXPECT_TRUE(PollUntil([&] { return (pasted = Paste()) == reading; })) << pasted << " != " << reading;
  ExitThroughMenu(kStrip, keys + "key u\nkey c ctrl\n", moved);
  EXPECT_EQ(OurSettings(), VirtualSettings(kStrip, keys + "key u\nkey c ctrl\n"));
}

class WaylandStripLateSeat : public WaylandStrip {
 protected:
  void SetUp() override {
    DevicesAtStart = false;
    WaylandStrip::SetUp();
  }
};

TEST_F(WaylandStripLateSeat, TakesThePointerAndKeyboardTheSeatGainsAfterItStarted) {
  // Started on a seat with neither (a headless seat before any device), the strip shows; the
  // pointer and the keyboard that appear then drive it: a click gives it the keyboard, Right
  // moves it a pixel.
  WriteSettings(kStrip);
  StartProgram();
  ASSERT_TRUE(PollUntil([&] { return Capture(Rect::FromXYWH(100, 120, 1, 1)).At(0, 0) != 0x403020u; }, 10000))
      << "no strip " << ProgramOutput();
  ConnectDevices();
  Click(400, 128);
  // The click's reading on the screen: sway has taken the keyboard the program asked for on
  // the way to it, so the key wtype sends next reaches the program.
  const std::string clicked = "mouse 400 128\nclick left\nwait 55\n";
  ASSERT_TRUE(WaitForPixels(kStripBounds, ShotVirtual(kStrip, clicked, kStripBounds))) << ProgramOutput();
  const std::string keys = clicked + "key right\nwait 55\n";
  Type({"-k", "Right"});
  const Rect moved = kStripBounds.Offset(1, 0);
  const gfx::Bitmap look = ShotVirtual(kStrip, keys, moved);
  EXPECT_TRUE(WaitForPixels(moved, look)) << Difference(Capture(moved), look) << ProgramOutput();
  KillProgram();
}

TEST_F(WaylandProgram, AForcedBackendThatCannotStartSaysWhyAndFails) {
  // The compositor is there (WAYLAND_DISPLAY), no X11 display is (no DISPLAY).
  // An unknown backend's name is a usage error, 2; one that cannot start, 1.
  struct Case {
    const char* Arg;
    int Status;
    const char* Says;
  } cases[] = {
      {"--backend=x11", 1, "the x11 backend cannot start: DISPLAY is not set"},
      {"--backend=mir", 2, "unknown backend 'mir'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Arg);
    StartProgram({c.Arg});
    EXPECT_EQ(WaitExit(), c.Status);
    EXPECT_NE(ProgramOutput().find(c.Says), std::string::npos) << ProgramOutput();
  }
  EXPECT_FALSE(std::filesystem::exists(Dir / "Vantrel.ini")) << "settings written without a program";
  // Forced to where it can start, it starts.
  WriteSettings(kStrip);
  StartProgram({"--backend=wayland"});
  MoveTo(350, 170);
  const gfx::Bitmap look = ShotVirtual(kStrip, At(350, 170), kStripBounds);
  EXPECT_TRUE(WaitForPixels(kStripBounds, look)) << ProgramOutput();
}

TEST_F(WaylandStrip, AGripDragLengthensItAndTheCloseButtonSavesTheLength) {
  WriteSettings(kStrip);
  StartProgram();
  // The grip: 13 wide, 4 from the end (x 583..595); pressed, the strip follows the pointer.
  MoveTo(590, 128);
  ASSERT_TRUE(WaitForPixels(kStripBounds, ShotVirtual(kStrip, At(590, 128), kStripBounds))) << ProgramOutput();
  Button(true);
  MoveTo(690, 128);
  const std::string drag = "mouse 590 128\ndown left\nmouse 690 128\nwait 55\n";
  // As on X11: width = x - left + 13 + 2 = 690 - 100 + 15.
  const Rect longer = Rect::FromXYWH(100, 120, 605, 58);
  const gfx::Bitmap look = ShotVirtual(kStrip, drag, longer);
  EXPECT_TRUE(WaitForPixels(longer, look)) << Difference(Capture(longer), look);
  Button(false);
  // The close button: panel at 1,1 in the window, the button at 2,2 in the panel.
  Click(109, 129);
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("Length"), "605");
}

TEST_F(WaylandStrip, OnASecondOutputItAppearsInPlaceAndADragTakesItToTheFirst) {
  ASSERT_EQ(Server->Command("create_output"), 0);
  ASSERT_EQ(Server->Command("output HEADLESS-2 resolution 800x600 position 1024 0"), 0);
  Desk = {1824, 768};
  VirtualMonitors = "monitor 0 0 1024 768\nmonitor 1024 0 800 600\n";
  const char* settings = "[Application]\nLeft=1100\nTop=120\nLength=500\nMouseLoupe=0";
  const Rect there = Rect::FromXYWH(1100, 120, 500, 58);
  WriteSettings(settings);
  StartProgram();
  MoveTo(1400, 128);
  const gfx::Bitmap look = ShotVirtual(settings, At(1400, 128), there);
  ASSERT_TRUE(WaitForPixels(there, look)) << Difference(Capture(there), look) << ProgramOutput();
  // Dragged 500 left, its corner lands on the first output, which shows it from then on (the
  // part still over the second output stays unseen: a layer surface lives on one output).
  Button(true);
  MoveTo(1200, 130);
  MoveTo(900, 130);
  const std::string drag = "mouse 1400 128\ndown left\nmouse 1200 130\nmouse 900 130\nwait 55\n";
  const Rect seen = Rect::FromXYWH(600, 122, 1024 - 600, 58);
  const gfx::Bitmap moved = ShotVirtual(settings, drag, seen);
  EXPECT_TRUE(WaitForPixels(seen, moved)) << Difference(Capture(seen), moved);
  Button(false);
  Click(609, 131);  // the close button
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "600");
  EXPECT_EQ(Setting("Top"), "122");
}

TEST_F(WaylandStrip, LosingTheCompositorEndsTheProgramAndKeepsItsSettings) {
  WriteSettings(kStrip);
  StartProgram();
  Click(400, 128);
  const std::string keys = "mouse 400 128\nclick left\nwait 55\n";
  ASSERT_TRUE(WaitForPixels(kStripBounds, ShotVirtual(kStrip, keys, kStripBounds))) << ProgramOutput();
  Type({"-k", "Right"});
  const Rect moved = kStripBounds.Offset(1, 0);
  ASSERT_TRUE(WaitForPixels(moved, ShotVirtual(kStrip, keys + "key right\nwait 55\n", moved)));
  Server.reset();  // sway ends under the program
  EXPECT_EQ(WaitExit(), 1) << ProgramOutput();
  EXPECT_NE(ProgramOutput().find("the connection to the display was lost"), std::string::npos) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "101");
}

TEST_F(WaylandProgram, ThroughXWaylandTheX11BackendSaysPressFInsteadOfShowingBlack) {
  // Forced onto X11 under sway, the program meets XWayland, whose root window shows nothing of
  // the Wayland desktop. sway places the strip where it likes: found as the first row with 200
  // pixels in a row off the plain background (the cursor is smaller). The loupe, shown by a click on the caption strip 300 right and 8
  // below that corner, lies 5 below the pointer; its pixel (+30, +32) from the pointer lies
  // inside the disc, above the hint's lines and clear of the cross, and is grey, not black.
  for (const char* tool : {"Xwayland", "xhost"})
    ASSERT_TRUE(InPath(tool)) << tool << " is not installed (scripts/deps.sh installs it)";
  const std::string display = Server->XDisplay();
  ASSERT_FALSE(display.empty()) << "sway offers no XWayland display";
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500");
  StartProgram({"--backend=x11"}, display);
  gfx::Point corner{-1, -1};
  ASSERT_TRUE(PollUntil([&] {
    const gfx::Bitmap screen = Capture(gfx::Rect::FromXYWH(0, 0, 1024, 768));
    for (int y = 0; y < screen.Height() && corner.x < 0; ++y)
      for (int x = 0, run = 0; x < screen.Width(); ++x) {
        run = screen.At(x, y) != 0x403020u ? run + 1 : 0;
        if (run == 200) {
          corner = {x - 199, y};
          break;
        }
      }
    return corner.x >= 0;
  }, 15000)) << "no strip through XWayland " << ProgramOutput();
  const gfx::Point press{corner.x + 300, corner.y + 8}, probe{press.x + 30, press.y + 32};
  Click(press.x, press.y);
  MoveTo(press.x + 1, press.y);
  EXPECT_TRUE(PollUntil([&] { return Capture(gfx::Rect::FromXYWH(probe.x, probe.y, 1, 1)).At(0, 0) == 0x808080u; }, 10000))
      << "the loupe is not the grey 'Press F' picture: " << std::hex
      << Capture(gfx::Rect::FromXYWH(probe.x, probe.y, 1, 1)).At(0, 0);
  KillProgram();
}

TEST_F(WaylandStrip, WithoutScreenCopyTheLoupeIsGreyAndSaysSo) {
  // A compositor without zwlr_screencopy_manager_v1, as KDE Plasma: the loupe, shown by a click
  // on the caption at (400, 128), lies 5 below the pointer, 100 x 100 as on the virtual desktop.
  // Its pixel (+30, +27), inside the disc above the hint and clear of the cross, is grey, not
  // the strip or the background; the hint's line, in its rows 40 to 55, has dark pixels left
  // of the cross (the hint). Moved along the strip, it goes on being drawn so.
  CompositorRelay relay(Server->Socket(), "zwlr_screencopy_manager_v1");
  ProgramSocket = relay.Socket();
  const char* settings = kClickedStrip;
  ASSERT_TRUE(StartClickedStrip());
  ASSERT_EQ(VirtualWindow(settings, "mouse 400 128\nclick left\nwait 55\n", "frmZoom"), Rect::FromXYWH(400, 133, 100, 100));
  for (const int x : {400, 450}) {
    MoveTo(x, 128);
    const Rect loupe = Rect::FromXYWH(x, 133, 100, 100);
    gfx::Bitmap seen;
    auto dark = [&] {
      int n = 0;
      for (int y = 40; y < 56; ++y)
        for (int i = 5; i < 45; ++i) n += (seen.At(i, y) & 0xFFu) < 0x40;
      return n;
    };
    EXPECT_TRUE(PollUntil([&] {
      seen = Capture(loupe);
      return seen.At(30, 27) == 0x808080u && dark() >= 20;
    })) << "the loupe at " << x << " is not grey with its hint: " << std::hex << seen.At(30, 27) << std::dec << ", "
        << dark() << " dark pixels " << ProgramOutput();
  }
  EXPECT_EQ(ProgramOutput(), "");
  KillProgram();
}

#ifdef VANTREL_HAVE_PORTAL
TEST_F(WaylandStrip, WithoutScreenCopyFFreezesTheScreenThroughThePortal) {
  // As KDE Plasma: no screencopy, a screenshot portal on the session bus (a stand-in serving
  // the 1024 x 768 desktop at scale 2, desktop pixel (x, y) = red x mod 256, green y mod 256,
  // blue 0x55). The loupe of pointer (400, 128) is grey and tells how to get a picture, as
  // the model drawn here (no platform: the base hint) shows it, in both lines' left halves:
  // the part of the disc left of the cross, rows 30 to 64 but the cross's bar (50 to 52).
  x11test::PrivateSessionBus bus;
  ASSERT_NE(bus.Address(), "");
  const std::filesystem::path png = Dir / "shot.png";
  x11test::WriteScaledShot(png, 1024, 768);
  const auto portal = x11test::StartStandInPortal(0, png);
  ASSERT_EQ(portal->Line.rfind("ready", 0), 0u) << "the stand-in portal did not start (python3-dbus, python3-gi): "
                                                << portal->Line;
  CompositorRelay relay(Server->Socket(), "zwlr_screencopy_manager_v1");
  ProgramSocket = relay.Socket();
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500");
  MoveTo(400, 128);
  StartProgram();
  ASSERT_TRUE(PollUntil([&] { return Capture(Rect::FromXYWH(100, 120, 1, 1)).At(0, 0) != 0x403020u; }, 10000))
      << "no strip " << ProgramOutput();
  Click(400, 128);
  gfx::Bitmap model(100, 100);
  DrawNoScreenPicture(model, Rect{10, 20, 92, 80});
  for (const Rect part : {Rect::FromXYWH(12, 30, 34, 20), Rect::FromXYWH(12, 53, 34, 12)}) {
    const gfx::Bitmap look = model.Copy(part);
    EXPECT_TRUE(WaitForPixels(part.Offset(400, 133), look, 10000)) << Difference(Capture(part.Offset(400, 133)), look);
  }
  // F freezes: the picture covers the desktop, and the loupe of pointer P shows desktop pixel
  // Q at P + (50, 55) + 2 (Q - P). P = (400, 128), Q = (390, 140): red 390 - 256 = 134,
  // green 140, blue 0x55. Desktop pixel (700, 400) shows red 700 - 512 = 188, green 400 - 256.
  Type({"f"});
  gfx::TColor probe = 0, shown = 0;
  EXPECT_TRUE(PollUntil([&] { return (shown = Capture(Rect::FromXYWH(700, 400, 1, 1)).At(0, 0)) == 0x5590BCu; }, 10000))
      << "no frozen picture: " << std::hex << shown << std::dec << ProgramOutput();
  EXPECT_TRUE(PollUntil([&] {
    MoveTo(401, 128);  // each move redraws the loupe
    MoveTo(400, 128);
    return (probe = Capture(Rect::FromXYWH(430, 207, 1, 1)).At(0, 0)) == 0x558C86u;
  })) << "the loupe does not read the portal's picture: " << std::hex << probe;
  EXPECT_EQ(ProgramOutput(), "");
  KillProgram();
}
#endif

TEST_F(WaylandStrip, RefusedScreenCopiesTurnTheLoupeGreyUntilTheCompositorCopiesAgain) {
  // The loupe as in the test above, over the plain background (0x403020) left of the strip's
  // far end: its pixel (+30, +27) shows the background enlarged. Copies refused from then on
  // (the relay turns each finished copy into a refusal), it turns grey, never keeping the last
  // picture; copies allowed again, it shows the screen again (tried 2 s after a refusal).
  CompositorRelay relay(Server->Socket());
  ProgramSocket = relay.Socket();
  ASSERT_TRUE(StartClickedStrip());
  gfx::TColor probe = 0;
  auto loupeShows = [&](gfx::TColor want) {
    return PollUntil([&] {
      MoveTo(400, 128);  // each move redraws it
      MoveTo(401, 128);
      return (probe = Capture(Rect::FromXYWH(431, 160, 1, 1)).At(0, 0)) == want;
    });
  };
  EXPECT_TRUE(loupeShows(0x403020u)) << "no background in the loupe: " << std::hex << probe;
  relay.RefuseScreenCopies(true);
  EXPECT_TRUE(loupeShows(0x808080u)) << "refused, the loupe is not grey: " << std::hex << probe;
  relay.RefuseScreenCopies(false);
  EXPECT_TRUE(loupeShows(0x403020u)) << "copies allowed again, the loupe stays grey: " << std::hex << probe;
  KillProgram();
}

TEST_F(WaylandStrip, OnAnOutputThatGoesItComesBackOnTheOneThatStays) {
  // An output plugged in while the program runs, to the right of the first; the strip dragged
  // there by its caption (1000 right: at 1100, 120), the pointer running ahead of it onto the
  // new output; the output unplugged (withdrawn by the
  // relay, headless sway cannot): the strip comes back on the first output as far right as it
  // fits whole, at (1024 - 500, 120). That move is the window system's, not the user's: the
  // close button saves the user's place, for when the output is back.
  CompositorRelay relay(Server->Socket());
  ProgramSocket = relay.Socket();
  WriteSettings(kStrip);
  MoveTo(400, 128);
  StartProgram();
  ASSERT_TRUE(WaitForPixels(kStripBounds, ShotVirtual(kStrip, At(400, 128), kStripBounds), 10000)) << ProgramOutput();
  ASSERT_EQ(Server->Command("create_output"), 0);
  ASSERT_EQ(Server->Command("output HEADLESS-2 resolution 800x600 position 1024 0"), 0);
  Desk = {1824, 768};
  VirtualMonitors = "monitor 0 0 1024 768\nmonitor 1024 0 800 600\n";
  Button(true);
  MoveTo(450, 128);
  MoveTo(900, 128);
  const std::string drag = "mouse 400 128\nwait 55\ndown left\nmouse 450 128\nmouse 900 128\nmouse 1400 128\nwait 55\n";
  const Rect there = Rect::FromXYWH(1100, 120, 500, 58);
  const gfx::Bitmap moved = ShotVirtual(kStrip, drag, there);
  // The hand goes on moving until the strip has followed it there.
  EXPECT_TRUE(PollUntil([&] {
    MoveTo(1399, 128);
    MoveTo(1400, 128);
    return WaitForPixels(there, moved, 300);
  })) << "not dragged onto the new output: " << Difference(Capture(there), moved);
  Button(false);
  relay.WithdrawLast("wl_output");
  const char* back = "[Application]\nLeft=524\nTop=120\nLength=500\nMouseLoupe=0";
  const Rect backBounds = Rect::FromXYWH(524, 120, 500, 58);
  const gfx::Bitmap look = ShotVirtual(back, At(1400, 128), backBounds);
  EXPECT_TRUE(WaitForPixels(backBounds, look)) << Difference(Capture(backBounds), look) << ProgramOutput();
  Click(533, 129);  // the close button
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "1100");
  EXPECT_EQ(Setting("Top"), "120");
}
