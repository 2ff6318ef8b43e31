#pragma once
// The pointer's position as last asked of the server, given again while nothing can have moved
// the pointer since: every tick of the strip, the loupe and the lens asks for it, and a round
// trip on each would wake the server and the program for nothing while the pointer stands
// still. XInput2 motion tells that it moved (watched only while it stands still: from the first
// motion event on, a moving pointer is simply asked for each time); other clients' warps over
// their own windows raise no event, so an answer is trusted for a second at most. Within one
// round of timers, one answer serves every asker.
//
// Times are the caller's (the loop's monotonic milliseconds), so the rules can be followed
// tick by tick. Without XInput2 every call asks the server.
#include <X11/Xlib.h>

#include <cstdint>

#include "graphics/Types.h"

namespace plat {

class X11Display;

class X11PointerCache {
 public:
  explicit X11PointerCache(X11Display& display) : FDisplay(display) {}
  X11PointerCache(const X11PointerCache&) = delete;
  X11PointerCache& operator=(const X11PointerCache&) = delete;

  // Starts watching motion, where the server has XInput2 2.1 or newer.
  void Watch();
  bool Watching() const { return FXiOpcode >= 0; }
  // The pointer's position at NOW, from the cache where it can be trusted; false when the
  // server could not be asked.
  bool Get(gfx::Point& p, std::uint64_t now);
  // Round trips Get really made.
  std::uint64_t Queries() const { return FQueries; }

  // The loop's passes: each dispatched event, round of timers or watched service begins one.
  void NewPass() { ++FPass; }
  // An event is being dispatched: notes what it tells about the pointer. True when it was
  // XInput2 motion, which has nothing more to tell anyone.
  bool TakeEvent(const XEvent& ev);
  // Something moved the pointer or changed who sees it (a warp, a capture): ask again.
  void Invalidate() {
    FMoved = true;
    ++FPass;
  }
  // While the loop fires its timers: askers in the same pass share one answer.
  bool InTimers() const { return FInTimers; }
  void SetInTimers(bool on) { FInTimers = on; }
  // From a read of the socket until the timers it enables have run: whatever moved the
  // pointer has been dispatched already, so Get need not read again.
  void SetJustRead(bool on) { FJustRead = on; }

  // The loop may sleep on the cache: the pointer is watched and stands still.
  bool Idle() const { return FXiOpcode >= 0 && FMotionSelected && !FMoved; }
  // When the answer last given stops being trusted.
  std::uint64_t TrustEndsAt() const;

 private:
  bool IsPointerEvent(const XEvent& ev) const;
  static Bool NotePointerEvent(Display*, XEvent* ev, XPointer self);
  void SelectMotion(bool on);

  X11Display& FDisplay;
  int FXiOpcode = -1;  // XInputExtension's major opcode, -1 without XInput2
  bool FMoved = true;
  bool FMotionSelected = false;  // off from the first motion event until the pointer stops
  std::uint64_t FQueriedAt = 0;
  gfx::Point FPos;
  std::uint64_t FQueries = 0;
  std::uint64_t FPass = 1;
  std::uint64_t FQueriedInPass = 0;  // the pass of the last query
  bool FInTimers = false;
  bool FJustRead = false;
};

}  // namespace plat
