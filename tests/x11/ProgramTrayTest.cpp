// Minimising the running program to a real notification area (trayer, an XEmbed tray) and
// back; and what happens where there is none.
#include "ProgramFixture.h"
#include "PrivateSessionBus.h"

#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>

#include "toolkit/core/ResourceLoader.h"

using namespace x11test;
using gfx::Rect;

namespace {

// The minimise button of a horizontal strip at (100, 100): panel (1, 1) + button (17, 2), 13 wide.
const char* kStrip = "[Application]\nLeft=100\nTop=100\nLength=500\nMouseLoupe=0";
const std::vector<std::string> kClickMinimize{"mousemove", "123", "108", "click", "1"};

// The program's window inside another window (the tray's), viewable; None if there is none.
::Window FindDockedIcon(Display* dpy) {
  std::vector<::Window> todo;
  ::Window root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count) && children) {
    todo.assign(children, children + count);
    XFree(children);
  }
  while (!todo.empty()) {
    const ::Window w = todo.back();
    todo.pop_back();
    children = nullptr;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &count)) continue;
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes a{};
      XClassHint hint{};
      if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable && XGetClassHint(dpy, children[i], &hint)) {
        const bool ours = hint.res_class && std::string(hint.res_class) == "Vantrel";
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        if (ours) {
          const ::Window found = children[i];
          XFree(children);
          return found;
        }
      }
      todo.push_back(children[i]);
    }
    if (children) XFree(children);
  }
  return None;
}

}  // namespace

TEST_F(X11Program, MinimizedTheIconDocksInTheTrayCrispAndAClickBringsTheStripBack) {
  const pid_t tray = Server->Spawn({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                                    "--height", "36", "--SetDockType", "false"});
  struct Reap {
    pid_t Pid;
    ~Reap() {
      kill(Pid, SIGKILL);
      waitpid(Pid, nullptr, 0);
    }
  } reap{tray};
  const Atom selection = XInternAtom(Peer, "_NET_SYSTEM_TRAY_S0", False);
  ASSERT_TRUE(PollUntil([&] { return XGetSelectionOwner(Peer, selection) != None; }, 15000)) << "trayer did not start";
  // A session bus without a StatusNotifierWatcher: the icon goes to the XEmbed tray.
  PrivateSessionBus bus;
  ASSERT_NE(bus.Address(), "");
  WriteSettings(kStrip);
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  const Rect bounds = Geometry(strip);

  ASSERT_EQ(Xdotool(kClickMinimize), 0);
  ::Window icon = None;
  // The tray embeds the icon, then gives it its size.
  ASSERT_TRUE(PollUntil([&] {
    icon = FindDockedIcon(Peer);
    if (icon == None || Geometry(icon).Width() <= 1) return false;
    // The docked icon sits inside the tray's window, where the search for shown windows finds
    // it too; nothing else of ours may show.
    for (const ShownWindow& w : ShownWindows())
      if (w.Id != icon) return false;
    return true;
  }, 10000)) << ProgramOutput();

  // Drawn in whole icon pixels: every pixel of the window is the tray's or one of the icon's,
  // each icon pixel a square of SCALE x SCALE, centred.
  const Rect at = Geometry(icon);
  ASSERT_GE(at.Width(), 16);
  ASSERT_GE(at.Height(), 16);
  const gfx::Bitmap picture = LoadBitmapResource("ICONVANTREL");
  ASSERT_EQ(picture.Width(), 16);
  const int scale = std::min(at.Width(), at.Height()) / 16;
  const int ox = (at.Width() - 16 * scale) / 2, oy = (at.Height() - 16 * scale) / 2;
  bool drawn = PollUntil([&] {
    const gfx::Bitmap shot = Capture(Rect::FromXYWH(at.left + ox, at.top + oy, 16 * scale, 16 * scale));
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x)
        if (shot.At(x, y) != picture.At(x / scale, y / scale)) return false;
    return true;
  });
  EXPECT_TRUE(drawn) << "icon " << at.Width() << "x" << at.Height();

  ASSERT_EQ(Xdotool({"mousemove", std::to_string(at.left + at.Width() / 2), std::to_string(at.top + at.Height() / 2),
                     "click", "1"}),
            0);
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }, 10000)) << ProgramOutput();
  EXPECT_EQ(ShownWindows()[0].Bounds, bounds);
  EXPECT_TRUE(PollUntil([&] { return FindDockedIcon(Peer) == None; }));
  KillProgram();
}

TEST_F(X11Program, WithoutATrayMinimizingLeavesTheStripOnTheScreen) {
  WriteSettings(kStrip);
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  const Rect bounds = Geometry(strip);
  ListenForBell();
  ASSERT_EQ(Xdotool(kClickMinimize), 0);
  // It may leave the screen for a moment: with nowhere to go it beeps and comes back, where it
  // was, after the bell.
  ASSERT_TRUE(WaitForBell()) << "no beep: the minimize was not refused";
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; })) << ProgramOutput();
  EXPECT_EQ(ShownWindows()[0].Bounds, bounds);
  EXPECT_EQ(FindDockedIcon(Peer), None);
  // And it still answers: Escape-free close through its close button writes the settings.
  ASSERT_EQ(Xdotool({"mousemove", "106", "108", "click", "1"}), 0);
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "100");
}
