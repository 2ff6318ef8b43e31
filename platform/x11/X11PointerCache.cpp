#include "platform/x11/X11PointerCache.h"

#include <X11/extensions/XInput2.h>

#include "platform/x11/X11Display.h"

namespace plat {

namespace {
// Longest an answer is trusted: a warp over another client's window tells us nothing. Each
// check is a round trip and a wake-up of an otherwise idle program, so a rare warp may show up
// to a second late rather than costing four wake-ups a second for ever.
constexpr std::uint64_t kTrustMs = 1000;
// Within one pass of the loop, an answer this fresh is given again without asking.
constexpr std::uint64_t kSamePassMs = 2;
}  // namespace

void X11PointerCache::Watch() {
  if (FXiOpcode >= 0 || FDisplay.ConnectionLost()) return;
  Display* dpy = FDisplay.Dpy();
  int opcode = 0, event = 0, error = 0;
  if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error)) return;
  // 2.1 or newer: raw events then reach the root window even while another client grabs.
  int major = 2, minor = 2;
  if (XIQueryVersion(dpy, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1)) return;
  FXiOpcode = opcode;
  SelectMotion(true);
}

void X11PointerCache::SelectMotion(bool on) {
  // Raw motion comes from real devices wherever the pointer is; warps raise none, but over
  // the bare root they still raise ordinary motion (xdotool moves that way).
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  if (on) {
    XISetMask(bits, XI_RawMotion);
    XISetMask(bits, XI_Motion);
  }
  XIEventMask mask{XIAllMasterDevices, int(sizeof bits), bits};
  XISelectEvents(FDisplay.Dpy(), FDisplay.Root(), &mask, 1);
  FMotionSelected = on;
}

bool X11PointerCache::IsPointerEvent(const XEvent& ev) const {
  switch (ev.type) {
    case MotionNotify:
    case EnterNotify:
    case LeaveNotify:
    case ButtonPress:
    case ButtonRelease: return true;
    case GenericEvent: return FXiOpcode >= 0 && ev.xcookie.extension == FXiOpcode;
    default: return false;
  }
}

// Looks through the queue without taking anything from it (it never matches).
Bool X11PointerCache::NotePointerEvent(Display*, XEvent* ev, XPointer self) {
  auto* me = reinterpret_cast<X11PointerCache*>(self);
  if (me->IsPointerEvent(*ev)) me->Invalidate();
  return False;
}

bool X11PointerCache::TakeEvent(const XEvent& ev) {
  if (IsPointerEvent(ev)) FMoved = true;
  // XInput2 motion only tells that the pointer moved; its cookie overlays the window field.
  if (ev.type != GenericEvent || FXiOpcode < 0 || ev.xcookie.extension != FXiOpcode) return false;
  if (FMotionSelected && !FDisplay.ConnectionLost()) SelectMotion(false);
  return true;
}

std::uint64_t X11PointerCache::TrustEndsAt() const { return FQueriedAt + kTrustMs; }

bool X11PointerCache::Get(gfx::Point& p, std::uint64_t now) {
  if (FDisplay.ConnectionLost()) return false;
  Display* dpy = FDisplay.Dpy();
  // The strip, the loupe and the lens all ask in one round of timers: one answer serves them
  // all, the same for each, unless something was dispatched or moved the pointer meanwhile.
  if (FInTimers && FQueriedInPass == FPass && now - FQueriedAt <= kSamePassMs) {
    p = FPos;
    return true;
  }
  if (FXiOpcode >= 0 && !FMoved) {
    // Motion the server has already sent may wait unread in the socket or the queue: this
    // reads what is there without blocking and looks at every queued event. Right after the
    // loop read and dispatched everything (a timer's tick) there is nothing more to learn.
    XEvent unused;
    if (!FJustRead) XCheckIfEvent(dpy, &unused, &X11PointerCache::NotePointerEvent, reinterpret_cast<XPointer>(this));
    if (FDisplay.ConnectionLost()) return false;
    if (!FMoved && now - FQueriedAt < kTrustMs) {
      p = FPos;
      return true;
    }
  }
  ::Window root, child;
  int rx, ry, wx, wy;
  unsigned mask;
  ++FQueries;
  if (!XQueryPointer(dpy, FDisplay.Root(), &root, &child, &rx, &ry, &wx, &wy, &mask)) {
    FMoved = true;
    return false;
  }
  p = {rx, ry};
  // One motion event tells the cache is stale, so motion stays off from the first event on
  // and a moving pointer is simply asked for each time, as without XInput2. Once it stands
  // still, motion is watched again; the cache is trusted from the query after that, which the
  // server answers only after it has taken the selection.
  if (FXiOpcode >= 0) {
    if (FMotionSelected) {
      FMoved = false;
    } else if (p == FPos) {
      SelectMotion(true);
    }
  }
  FPos = p;
  FQueriedAt = now;
  FQueriedInPass = FPass;
  return true;
}

}  // namespace plat
