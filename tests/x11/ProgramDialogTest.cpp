// A dialog on a real X server: a click on the strip it blocks does not take the keyboard from
// it, even where a window manager activates and raises the clicked window.
#include "ProgramFixture.h"  // gtest before Xlib

#include <X11/XKBlib.h>

#include <algorithm>

using namespace x11test;

namespace {

class X11Dialog : public X11Program {
 protected:
  // Under MANAGER ("" for none).
  void AboutBoxKeepsTheKeyboard(const std::string& manager);
};

void X11Dialog::AboutBoxKeepsTheKeyboard(const std::string& manager) {
  if (!manager.empty()) StartWindowManager(manager);
  // The strip at (100, 400), 640 x 58, always on top; the About box, 351 x 275, centred at
  // (336, 246), overlaps it and leaves its menu button at (144, 408) uncovered.
  WriteSettings("[Application]\nLeft=100\nTop=400\nLoupe=0\nMouseLoupe=0\nOnTop=1");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  int opcode = 0, xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  ASSERT_TRUE(XkbQueryExtension(Peer, &opcode, &xkbEvent, &xkbError, &major, &minor));
  ASSERT_TRUE(XkbSelectEvents(Peer, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask));
  auto shownOfSize = [&](int w, int h) {
    for (const ShownWindow& s : ShownWindows())
      if (s.Bounds.Width() == w && s.Bounds.Height() == h) return s.Id;
    return ::Window(None);
  };
  // The menu (138 x 346: 15 rows of 19, 5 separators of 11, margins and frame) opens under the button; Down and Enter choose its first item, About.
  ASSERT_EQ(Xdotool({"mousemove", "144", "408", "click", "1"}), 0);
  ASSERT_TRUE(PollUntil([&] { return shownOfSize(138, 346) != None; })) << "the menu did not open";
  ASSERT_EQ(Xdotool({"key", "--delay", "30", "Down", "Return"}), 0);
  ::Window about = None;
  ASSERT_TRUE(PollUntil([&] { return (about = shownOfSize(351, 275)) != None; })) << "the About box did not open";

  ASSERT_EQ(Xdotool({"mousemove", "144", "408", "click", "1"}), 0);
  EXPECT_TRUE(PollUntil([&] {
    XSync(Peer, False);
    bool rung = false;
    while (XPending(Peer) > 0) {
      XEvent ev;
      XNextEvent(Peer, &ev);
      rung |= ev.type == xkbEvent && reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbBellNotify;
    }
    return rung;
  })) << "the click on the blocked strip did not beep";
  EXPECT_TRUE(PollUntil([&] {
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(Peer, &focus, &revert);
    const std::vector<::Window> order = StackingOrder();
    const auto above = std::find(order.begin(), order.end(), TopLevel(about)),
               below = std::find(order.begin(), order.end(), TopLevel(strip));
    return focus == about && above != order.end() && below < above;
  })) << "the About box lost the keyboard or went below the strip";
  ASSERT_EQ(Xdotool({"key", "Return"}), 0);
  EXPECT_TRUE(PollUntil([&] { return shownOfSize(351, 275) == None; })) << "Enter did not close the About box";
}

}  // namespace

TEST_F(X11Dialog, UnderAStackingManagerAClickOnTheBlockedStripLeavesTheAboutBoxTheKeyboard) {
  AboutBoxKeepsTheKeyboard("openbox");
}

TEST_F(X11Dialog, WithoutAManagerAClickOnTheBlockedStripLeavesTheAboutBoxTheKeyboard) { AboutBoxKeepsTheKeyboard(""); }
