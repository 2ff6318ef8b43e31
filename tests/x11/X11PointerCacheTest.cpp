// The pointer position is answered from a cache while the pointer stands still; these check it
// follows xdotool's moves and our own warps at once, another client's warps within the cache's
// age limit, and that a still pointer costs no round trip on every tick.
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "X11Fixture.h"

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

TEST_F(X11Fixture, StillPointerIsNotQueriedOnEveryTick) {
  ASSERT_TRUE(Platform->WatchesPointerMotion()) << "Xvfb reports no XInput2 raw motion";
  Platform->SetCursorPos({200, 300});
  EXPECT_EQ(NextTick(*Platform), (Point{200, 300}));
  Pump(*Platform, 100);  // anything the warp raised has been read

  const std::uint64_t before = Platform->PointerQueries();
  constexpr int kCalls = 30;  // about 1.6 s at the tick rate
  for (int i = 0; i < kCalls; ++i) EXPECT_EQ(NextTick(*Platform), (Point{200, 300}));
  const std::uint64_t queries = Platform->PointerQueries() - before;
  // One query a second; at least one, since the cache ages out within the 1.6 s.
  EXPECT_GE(queries, 1u);
  EXPECT_LT(queries, std::uint64_t(kCalls / 2));

  // Calls in quick succession with nothing moving cost no round trip at all.
  CursorPos(*Platform);
  const std::uint64_t burst = Platform->PointerQueries();
  for (int i = 0; i < 50; ++i) CursorPos(*Platform);
  EXPECT_LE(Platform->PointerQueries() - burst, 1u);

  // A move wakes it up again: the very next call asks the server.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "20", "30"})), 0);
  const std::uint64_t moved = Platform->PointerQueries();
  EXPECT_EQ(CursorPos(*Platform), (Point{20, 30}));
  EXPECT_EQ(Platform->PointerQueries(), moved + 1);

  // A round of timers (the strip's, the loupe's and the lens's ticks) asks the server once,
  // even for a pointer in motion, and all of them get the same answer.
  Platform->SetCursorPos({50, 60});
  std::vector<Point> seen;
  const auto id = Platform->StartTimer(10, [&] {
    for (int i = 0; i < 3; ++i) seen.push_back(CursorPos(*Platform));
  });
  const std::uint64_t round = Platform->PointerQueries();
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !seen.empty(); }));
  Platform->StopTimer(id);
  EXPECT_EQ(seen, (std::vector<Point>(3, Point{50, 60})));
  EXPECT_EQ(Platform->PointerQueries(), round + 1);
}
