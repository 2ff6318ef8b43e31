// Behaviour when a window manager runs: the backend asks it through EWMH messages instead of
// stacking by itself. A minimal stand-in manager on a second connection records the requests.
#include "X11Fixture.h"

#include <X11/Xatom.h>

using namespace x11test;
using plat::Rect;

namespace {

class FakeWindowManager {
 public:
  explicit FakeWindowManager(Display* dpy) : FDpy(dpy) {
    const ::Window root = DefaultRootWindow(dpy);
    const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False);
    FCheck = XCreateSimpleWindow(dpy, root, -1, -1, 1, 1, 0, 0, 0);
    XChangeProperty(dpy, FCheck, check, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&FCheck), 1);
    XChangeProperty(dpy, root, check, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&FCheck), 1);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);
  }
  // Client messages sent to the root window: (type, window, data.l[0], data.l[1]).
  struct Message {
    Atom Type;
    ::Window Window;
    long L0, L1;
  };
  std::vector<Message> Messages() {
    while (XPending(FDpy)) {
      XEvent ev;
      XNextEvent(FDpy, &ev);
      if (ev.type == ClientMessage)
        FMessages.push_back({ev.xclient.message_type, ev.xclient.window, ev.xclient.data.l[0], ev.xclient.data.l[1]});
    }
    return FMessages;
  }

 private:
  Display* FDpy;
  ::Window FCheck;
  std::vector<Message> FMessages;
};

}  // namespace

TEST_F(X11Fixture, WithAWindowManagerTheBandAndFocusGoThroughItsProtocol) {
  FakeWindowManager wm(Peer);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return Platform->WindowManagerRunning(); }));
  const Atom netState = XInternAtom(Peer, "_NET_WM_STATE", False);
  const Atom above = XInternAtom(Peer, "_NET_WM_STATE_ABOVE", False);
  const Atom active = XInternAtom(Peer, "_NET_ACTIVE_WINDOW", False);

  auto& w = NewWindow(Rect::FromXYWH(200, 150, 120, 30), nullptr, plat::WindowKind::Normal, true);
  XSync(Platform->Connection().Dpy(), False);  // the window exists on the server
  // The manager places the window its own way as it maps...
  w.Show(false);
  XMoveWindow(Peer, Xid(w), 0, 0);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return MapState(Peer, Xid(w)) == IsViewable; }));
  // ...and the window goes back where it was asked.
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return ServerGeometry(Peer, Xid(w)) == Rect::FromXYWH(200, 150, 120, 30); }));
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(200, 150, 120, 30));
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return dynamic_cast<plat::X11Window&>(w).Mapped(); }));

  w.SetZOrder(plat::ZOrder::NoTopMost);
  w.Activate();
  bool removedAbove = false, askedActive = false;
  PumpUntil(*Platform, [&] {
    for (const auto& m : wm.Messages()) {
      if (m.Type == netState && m.Window == Xid(w) && m.L0 == 0 && Atom(m.L1) == above) removedAbove = true;
      if (m.Type == active && m.Window == Xid(w)) askedActive = true;
    }
    return removedAbove && askedActive;
  });
  EXPECT_TRUE(removedAbove);
  EXPECT_TRUE(askedActive);

  // Popups are not managed, so the backend keeps them on top itself.
  auto& tip = NewWindow(Rect::FromXYWH(10, 10, 40, 20), nullptr, plat::WindowKind::Popup, true);
  ShowAndWait(tip);
  XSetWindowAttributes a{};
  const ::Window other = XCreateWindow(Peer, DefaultRootWindow(Peer), 0, 0, 100, 100, 0, CopyFromParent, InputOutput,
                                       CopyFromParent, 0, &a);
  XMapRaised(Peer, other);
  XSync(Peer, False);
  Pump(*Platform, 50);
  ::Window root, parent, *children = nullptr;
  unsigned n = 0;
  XQueryTree(Peer, DefaultRootWindow(Peer), &root, &parent, &children, &n);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(children[n - 1], Xid(tip));
  XFree(children);
}

TEST_F(X11Fixture, InsideAManagersFrameThePositionComesFromItsSyntheticEvents) {
  FakeWindowManager wm(Peer);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return Platform->WindowManagerRunning(); }));
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(100, 100, 120, 30), &l);
  ShowAndWait(w);
  // The manager puts a frame around it at the same place, as undecorated frames are.
  const ::Window frame = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 100, 100, 120, 30, 0, 0, 0);
  XMapWindow(Peer, frame);
  XReparentWindow(Peer, Xid(w), frame, 0, 0);
  XSync(Peer, False);
  Pump(*Platform, 50);
  // The real events said (0, 0) inside the frame: no move for that.
  EXPECT_TRUE(l.Moved.empty());
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(100, 100, 120, 30));

  // The manager moves the frame and tells the client where it is now.
  XMoveWindow(Peer, frame, 150, 120);
  XEvent ev{};
  ev.xconfigure.type = ConfigureNotify;
  ev.xconfigure.event = Xid(w);
  ev.xconfigure.window = Xid(w);
  ev.xconfigure.x = 150;
  ev.xconfigure.y = 120;
  ev.xconfigure.width = 120;
  ev.xconfigure.height = 30;
  XSendEvent(Peer, Xid(w), False, StructureNotifyMask, &ev);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return l.Moved.size() == 1; }));
  EXPECT_EQ(l.Moved[0], Rect::FromXYWH(150, 120, 120, 30));
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(150, 120, 120, 30));

  // Resizing from the program: the frame-relative answer is recognised as ours.
  w.SetBounds(Rect::FromXYWH(150, 120, 200, 40));
  XSync(Platform->Connection().Dpy(), False);
  Pump(*Platform, 50);
  EXPECT_EQ(l.Moved.size(), 1u);
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(150, 120, 200, 40));
  EXPECT_EQ(w.BackBuffer().Width(), 200);
}
