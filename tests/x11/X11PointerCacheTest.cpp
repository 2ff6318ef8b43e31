// The pointer position is answered from a cache while the pointer stands still; these check it
// follows xdotool's moves and our own warps at once, another client's warps within the cache's
// age limit, and that a still pointer costs no round trip on every tick.
#include <sys/wait.h>

#include <chrono>

#include "X11Fixture.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11PointerCache.h"

using namespace x11test;
using gfx::Point;

namespace {
// How often the program asks for the pointer.
constexpr int kTickMs = 55;
// The longest the backend trusts its cache without asking the server.
constexpr int kCacheMs = 1000;

Point CursorPos(plat::X11Platform& p) {
  Point pos{-1, -1};
  EXPECT_TRUE(p.GetCursorPos(pos));
  return pos;
}

// Runs the loop for one tick and then asks for the pointer, as the program's timer does.
Point NextTick(plat::X11Platform& p) {
  Pump(p, kTickMs);
  return CursorPos(p);
}
}  // namespace

TEST_F(X11Fixture, PointerCacheFollowsEveryMove) {
  ASSERT_TRUE(Platform->WatchesPointerMotion()) << "Xvfb reports no XInput2 raw motion";
  const Point targets[] = {{300, 200}, {301, 200}, {10, 700}, {1000, 5}, {512, 384}};
  for (const Point& t : targets) {
    // Ask at the tick rate while xdotool runs, so the cache is fresh when the move lands.
    const pid_t mover = Server->Spawn({"xdotool", "mousemove", std::to_string(t.x), std::to_string(t.y)});
    int status = 0;
    for (int i = 0; i < 200 && waitpid(mover, &status, WNOHANG) != mover; ++i) NextTick(*Platform);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The motion was sent before xdotool's own requests were answered: seen at once.
    EXPECT_EQ(CursorPos(*Platform), t);
    EXPECT_EQ(NextTick(*Platform), t);
  }

  // Our own warp is seen at once, even right after a query.
  CursorPos(*Platform);
  Platform->SetCursorPos({123, 456});
  EXPECT_EQ(CursorPos(*Platform), (Point{123, 456}));
  Platform->SetCursorPos({124, 456});
  EXPECT_EQ(CursorPos(*Platform), (Point{124, 456}));

  // Another client's warp over the bare root is reported as motion: seen at once.
  EXPECT_EQ(NextTick(*Platform), (Point{124, 456}));
  ::Window root = DefaultRootWindow(Peer);
  XWarpPointer(Peer, None, root, 0, 0, 0, 0, 640, 480);
  XSync(Peer, False);
  EXPECT_EQ(CursorPos(*Platform), (Point{640, 480}));

  // Over a window whose owner takes the motion, its warps tell us nothing: each shows once the
  // cache ages out, within a tick of the age limit.
  ::Window other = XCreateSimpleWindow(Peer, root, 0, 0, 400, 300, 0, 0, 0);
  XSelectInput(Peer, other, PointerMotionMask);
  XMapWindow(Peer, other);
  for (const Point& t : {Point{100, 100}, Point{200, 150}, Point{399, 299}}) {
    XWarpPointer(Peer, None, root, 0, 0, 0, 0, t.x, t.y);
    XSync(Peer, False);
    const auto warped = std::chrono::steady_clock::now();
    Point seen = CursorPos(*Platform);
    while (seen != t && std::chrono::steady_clock::now() - warped < std::chrono::milliseconds(kCacheMs + kTickMs))
      seen = NextTick(*Platform);
    EXPECT_EQ(seen, t);
    for (int i = 0; i < 6; ++i) NextTick(*Platform);  // long enough for the cache to be trusted again
  }
  XDestroyWindow(Peer, other);
  XSync(Peer, False);
}

// The cache's rules, tick by tick on a clock of the test's own: which calls make a round trip
// is then exact, and nothing waits on the wall clock but for an event to arrive.
TEST_F(X11Fixture, StillPointerIsAskedForOnceASecondAndAMoveUntilItStandsStill) {
  // In place before the cache watches: no motion is pending.
  const ::Window root = DefaultRootWindow(Peer);
  XWarpPointer(Peer, None, root, 0, 0, 0, 0, 200, 300);
  XSync(Peer, False);
  auto display = plat::X11Display::Open(Server->Name().c_str());
  ASSERT_NE(display, nullptr);
  plat::X11PointerCache cache(*display);
  cache.Watch();
  ASSERT_TRUE(cache.Watching()) << "Xvfb reports no XInput2 raw motion";
  XSync(display->Dpy(), False);

  // Ticks every 55 ms from 0 to 1650: the first asks; an answer is trusted for a second, so the
  // next to ask is the first tick at or past 1000, 19 * 55 = 1045; the next would be at 2045.
  const std::uint64_t start = 50000;
  std::vector<int> askedAt;
  Point p;
  for (int tick = 0; tick <= 1650; tick += kTickMs) {
    const std::uint64_t before = cache.Queries();
    ASSERT_TRUE(cache.Get(p, start + tick));
    EXPECT_EQ(p, (Point{200, 300}));
    if (cache.Queries() != before) askedAt.push_back(tick);
  }
  EXPECT_EQ(askedAt, (std::vector<int>{0, 1045}));

  // Another client's warp over the bare root raises motion, which the loop dispatches. From
  // then on each tick asks (motion is no longer watched, so a moving pointer raises no flood
  // of events) until the same position comes twice: the second time motion is watched again,
  // and the answer after that, which the server gives only once it watches, is trusted.
  XWarpPointer(Peer, None, root, 0, 0, 0, 0, 640, 480);
  XSync(Peer, False);
  bool motion = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!motion && std::chrono::steady_clock::now() < deadline) {
    XSync(display->Dpy(), False);
    while (XPending(display->Dpy()) > 0) {
      XEvent ev;
      XNextEvent(display->Dpy(), &ev);
      cache.NewPass();
      motion = cache.TakeEvent(ev) || motion;
    }
  }
  ASSERT_TRUE(motion) << "the warp raised no XInput2 motion";
  const std::uint64_t now = start + 1700;  // the answer of 1045 would still be trusted
  std::vector<bool> asked;
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t before = cache.Queries();
    ASSERT_TRUE(cache.Get(p, now + i));
    EXPECT_EQ(p, (Point{640, 480}));
    asked.push_back(cache.Queries() != before);
  }
  EXPECT_EQ(asked, (std::vector<bool>{true, true, true, false}));

  // One round of timers (the strip's, the loupe's and the lens's ticks) asks once, even right
  // after something moved the pointer, and all get the same answer.
  cache.Invalidate();
  cache.NewPass();
  cache.SetInTimers(true);
  const std::uint64_t round = cache.Queries();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(cache.Get(p, now + 10));
    EXPECT_EQ(p, (Point{640, 480}));
  }
  cache.SetInTimers(false);
  EXPECT_EQ(cache.Queries(), round + 1);
}

// The loop's timers run as one round: the platform's cache is asked once for all of them. An
// answer is given again only while it is at most 2 ms old, so a round that a loaded machine
// stretches past that may ask again: the count is checked on the first round that stayed short.
TEST_F(X11Fixture, ARoundOfTimersAsksForThePointerOnce) {
  ASSERT_TRUE(Platform->WatchesPointerMotion()) << "Xvfb reports no XInput2 raw motion";
  bool checked = false;
  for (int attempt = 0; attempt < 20 && !checked; ++attempt) {
    // Our own warp makes the next answer a fresh one.
    const Point at{50 + attempt, 60};
    Platform->SetCursorPos(at);
    std::vector<Point> seen;
    std::chrono::steady_clock::duration took{};
    const auto id = Platform->StartTimer(10, [&] {
      if (!seen.empty()) return;
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < 3; ++i) seen.push_back(CursorPos(*Platform));
      took = std::chrono::steady_clock::now() - start;
    });
    const std::uint64_t round = Platform->PointerQueries();
    ASSERT_TRUE(PumpUntil(*Platform, [&] { return !seen.empty(); }));
    Platform->StopTimer(id);
    EXPECT_EQ(seen, (std::vector<Point>(3, at)));
    if (took >= std::chrono::milliseconds(1)) continue;
    EXPECT_EQ(Platform->PointerQueries(), round + 1);
    checked = true;
  }
  EXPECT_TRUE(checked) << "no round of timers took under a millisecond";
}
