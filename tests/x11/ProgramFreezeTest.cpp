// The frozen screen on a real X server: from the root window, and through a stand-in
// screenshot portal on a private session bus, as under XWayland.
#include "ProgramFixture.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/x11/StandInPortal.h"

using namespace x11test;
using gfx::Rect;

namespace {

// The loupe of pointer P (at P + (0, 5), 100 x 100) shows the screen pixel Q at its centre
// (P.x + 50, P.y + 55) plus twice Q - P.
gfx::Point LoupeProbe(gfx::Point p, gfx::Point q) { return {p.x + 50 + 2 * (q.x - p.x), p.y + 55 + 2 * (q.y - p.y)}; }

}  // namespace

TEST_F(X11Program, FrozenTheLoupeStillShowsAWindowThatIsGoneUntilTheScreenThaws) {
  WriteSettings("[Application]\nLeft=100\nTop=600\nLength=500\nMouseLoupe=1");
  StartProgram();
  ASSERT_NE(WaitForStrip(), None) << ProgramOutput();
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.background_pixel = 0xFF0000;
  const ::Window red = XCreateWindow(Peer, DefaultRootWindow(Peer), 585, 380, 20, 20, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWOverrideRedirect | CWBackPixel, &attrs);
  XMapWindow(Peer, red);
  XSync(Peer, False);
  // The caption takes the keyboard; then F, with the pointer away from the red square.
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "mousemove", "600", "450", "key", "f"}), 0);
  ASSERT_TRUE(PollUntil([&] {
    for (const ShownWindow& w : ShownWindows())
      if (w.Bounds == Rect{0, 0, 1024, 768}) return true;
    return false;
  })) << "no frozen picture over the screen " << ProgramOutput();
  XDestroyWindow(Peer, red);
  XSync(Peer, False);
  // The square's pixel (590, 390) in the loupe of pointer (580, 375): red from the picture.
  const gfx::Point p{580, 375}, q{590, 390}, probe = LoupeProbe(p, q);
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(p.x), std::to_string(p.y)}), 0);
  EXPECT_TRUE(PollUntil([&] { return (Capture(Rect::FromXYWH(probe.x, probe.y, 1, 1)).At(0, 0) & 0xFFFFFF) == gfx::clRed; }))
      << "the loupe does not show the frozen window";
  // An orange frame at the screen's edge.
  EXPECT_EQ(Capture(Rect::FromXYWH(0, 300, 1, 1)).At(0, 0) & 0xFFFFFF, 0x0080FFu);
  // Escape thaws: the live screen, where the square is gone, and no picture over it.
  ASSERT_EQ(Xdotool({"key", "Escape", "mousemove", std::to_string(p.x + 1), std::to_string(p.y)}), 0);
  const gfx::Point thawed = LoupeProbe({p.x + 1, p.y}, q);
  EXPECT_TRUE(PollUntil([&] { return (Capture(Rect::FromXYWH(thawed.x, thawed.y, 1, 1)).At(0, 0) & 0xFFFFFF) != gfx::clRed; }))
      << "the loupe still shows the frozen window";
  for (const ShownWindow& w : ShownWindows()) EXPECT_NE(w.Bounds, (Rect{0, 0, 1024, 768})) << "the picture stayed";
}

TEST_F(X11Program, UnderAWindowManagerTheStripStaysAboveTheFrozenPicture) {
  // Openbox lifts a focused, undecorated window the size of the screen above all others, and
  // keeps a program's utility windows above the rest of it.
  StartWindowManager("openbox");
  WriteSettings("[Application]\nLeft=100\nTop=600\nLength=500\nMouseLoupe=0\nOnTop=0");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "key", "f"}), 0);
  auto order = [&](::Window w) {
    const std::vector<::Window> stack = StackingOrder();
    return std::find(stack.begin(), stack.end(), TopLevel(w)) - stack.begin();
  };
  EXPECT_TRUE(PollUntil([&] {
    for (const ShownWindow& w : ShownWindows())
      if (w.Bounds == Rect{0, 0, 1024, 768}) return order(w.Id) < order(strip);
    return false;
  })) << "the strip is not above the frozen picture";
}

TEST_F(X11Program, ThroughThePortalTheScreenFreezesOrSaysWhyNot) {
#ifndef VANTREL_HAVE_PORTAL
  GTEST_SKIP() << "built without libsystemd: there is no screenshot portal to test";
#else
  // Xvfb cannot pass for XWayland (its one output is "screen", and it has no XWAYLAND
  // extension): the user's X resources ask for the portal instead, as they may on any server.
  const char resources[] = "Vantrel.screenshotPortal: true\n";
  XChangeProperty(Peer, DefaultRootWindow(Peer), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources), int(sizeof resources - 1));
  XSync(Peer, False);

  // A private session bus that can start nothing: without the stand-in it has no portal.
  const std::filesystem::path config = Dir / "bus.conf";
  std::ofstream(config) << "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>"
                           "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>";
  Helper bus("dbus-daemon --nofork --print-address --config-file=" + config.string());
  ASSERT_EQ(bus.Line.rfind("unix:", 0), 0u) << "dbus-daemon (package dbus) did not start: " << bus.Line;
  const char* oldAddress = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const std::string saved = oldAddress ? oldAddress : "";
  setenv("DBUS_SESSION_BUS_ADDRESS", bus.Line.c_str(), 1);
  struct RestoreBus {
    std::string Old;
    bool Had;
    ~RestoreBus() { Had ? setenv("DBUS_SESSION_BUS_ADDRESS", Old.c_str(), 1) : unsetenv("DBUS_SESSION_BUS_ADDRESS"); }
  } restore{saved, oldAddress != nullptr};

  const std::filesystem::path png = Dir / "shot.png";
  auto startPortal = [&](int response) { return StartStandInPortal(response, png); };

  WriteSettings("[Application]\nLeft=100\nTop=600\nLength=500\nMouseLoupe=1");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  // Below the loupe's words, clear of its cross and ring.
  const gfx::Point p{580, 375}, q{570, 390}, probe = LoupeProbe(p, q);
  auto probeColour = [&] { return Capture(Rect::FromXYWH(probe.x, probe.y, 1, 1)).At(0, 0) & 0xFFFFFF; };
  // The root window shows nothing of the desktop there: the loupe says so, in grey.
  // The loupe shows once the strip has been activated (a click on its caption).
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "mousemove", std::to_string(p.x), std::to_string(p.y)}), 0);
  EXPECT_TRUE(PollUntil([&] { return probeColour() == 0x808080u; })) << "the loupe reads the root window: " << std::hex << probeColour();
  // F with the keyboard on the strip (a click on its caption), and the message box it gives.
  auto freezeFails = [&](const char* why) {
    ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "key", "f"}), 0);
    ::Window box = None;
    EXPECT_TRUE(PollUntil([&] {
      for (const ShownWindow& w : ShownWindows())
        if (w.Id != strip && w.Bounds.Width() > 200 && w.Bounds.Width() < 1024) box = w.Id;
      return box != None;
    }, 8000)) << "no message when " << why;
    // Return goes to the box once it has the keyboard, not while it is still being mapped.
    EXPECT_TRUE(PollUntil([&] {
      ::Window focus = None;
      int revert = 0;
      XGetInputFocus(Peer, &focus, &revert);
      return focus == box;
    })) << "the message does not take the keyboard when " << why;
    ASSERT_EQ(Xdotool({"key", "Return"}), 0);
    EXPECT_TRUE(PollUntil([&] {
      for (const ShownWindow& w : ShownWindows())
        if (w.Id != strip && w.Bounds.Width() > 200) return false;
      return true;
    })) << "the message stays, or the screen froze, when " << why;
  };
  freezeFails("the portal is missing");
  {
    auto refusing = startPortal(1);
    ASSERT_EQ(refusing->Line.rfind("ready", 0), 0u)
        << "the stand-in portal did not start (python3-dbus, python3-gi): " << refusing->Line;
    freezeFails("the portal refuses");
  }
  auto answering = startPortal(0);
  ASSERT_EQ(answering->Line.rfind("ready", 0), 0u) << answering->Line;
  std::ofstream(png) << "not a PNG";
  freezeFails("the picture is damaged");
  WriteScaledShot(png, 1024, 768);
  ASSERT_EQ(Xdotool({"mousemove", "400", "608", "click", "1", "key", "f", "mousemove", std::to_string(p.x),
                     std::to_string(p.y)}), 0);
  // Q = (570, 390): red 570 - 512 = 58, green 390 - 256 = 134, blue 0x55.
  EXPECT_TRUE(PollUntil([&] { return probeColour() == 0x55863Au; }, 8000))
      << "the loupe does not show the portal's picture: " << std::hex << probeColour() << " " << ProgramOutput();
  // The portal's file in a temporary folder is gone; the picture lives in memory only.
  EXPECT_TRUE(PollUntil([&] { return !std::filesystem::exists(png); })) << "the screenshot file was left";
#endif
}
