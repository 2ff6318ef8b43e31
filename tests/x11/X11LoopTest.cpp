// The event loop: timers, sleeping while idle, and surviving the loss of the server.
#include "X11Fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

using namespace x11test;
using plat::Rect;

namespace {
double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
}  // namespace

TEST_F(X11Fixture, TimersFireOnTimeAndTheIdleLoopSleeps) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(0, 0, 50, 50), &l);
  ShowAndWait(w);
  int ticks = 0, fast = 0, once = 0;
  Platform->StartTimer(100, [&] { ++ticks; });
  plat::Platform::TimerId fastId = 0;
  fastId = Platform->StartTimer(20, [&] {
    if (++fast == 5) Platform->StopTimer(fastId);  // a timer may stop itself
  });
  plat::Platform::TimerId onceId = 0;
  onceId = Platform->StartTimer(50, [&] {
    ++once;
    Platform->StopTimer(onceId);
  });

  const double cpu0 = CpuSeconds();
  const std::uint64_t start = Platform->NowMs();
  int passes = 0;
  while (Platform->NowMs() - start < 1000) {
    ASSERT_TRUE(Platform->ProcessEvents(true));
    ++passes;
  }
  const double cpu = CpuSeconds() - cpu0;
  EXPECT_GE(ticks, 9);
  EXPECT_LE(ticks, 10);
  EXPECT_EQ(fast, 5);
  EXPECT_EQ(once, 1);
  // Each pass sleeps until a timer is due: a handful of wake-ups, not a spin.
  EXPECT_LT(passes, 40);
  EXPECT_LT(cpu, 0.05) << "CPU seconds used by one idle second";
  RecordProperty("IdleCpuMs", int(cpu * 1000));

  // Input wakes the sleeping loop at once.
  const pid_t mover = Server->Spawn({"xdotool", "mousemove", "20", "20"});
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !l.Moves.empty(); }));
  EXPECT_EQ(PumpUntilExit(*Platform, mover), 0);
}

TEST_F(X11Fixture, LostConnectionEndsTheLoopWithoutEndingTheProcess) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(0, 0, 50, 50), &l);
  ShowAndWait(w);
  int lost = 0;
  Platform->SetConnectionLostHandler([&] { ++lost; });
  Platform->StartTimer(10, [] {});
  XCloseDisplay(Peer);  // a plain Xlib connection would exit the process on the loss
  Peer = nullptr;
  Server->Kill();
  // Writing to the dead connection before anything was read must not kill the process
  // (SIGPIPE) either.
  w.SetTitle("still here");
  Platform->Beep();
  Platform->Beep();
  bool running = true;
  for (int i = 0; i < 200 && running; ++i) running = Platform->ProcessEvents(true);
  EXPECT_FALSE(running);
  EXPECT_EQ(lost, 1);
  EXPECT_TRUE(Platform->ConnectionLost());
  EXPECT_FALSE(Platform->ProcessEvents(false));
  EXPECT_EQ(lost, 1);
  // The program may still touch its windows while it writes its settings and unwinds.
  w.BackBuffer().Fill(gfx::clRed);
  w.Present(w.BackBuffer().Bounds());
  w.SetBounds(Rect::FromXYWH(5, 5, 20, 20));
  w.Hide();
  gfx::Point p;
  EXPECT_FALSE(Platform->GetCursorPos(p));
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(0, 0, 2, 2)), gfx::Bitmap(2, 2, 0));
  Platform->SetClipboardBitmap(gfx::Bitmap(2, 2));
  EXPECT_FALSE(Platform->TrayAvailable());
  Windows.clear();
  Platform.reset();
}

TEST_F(X11Fixture, WatchedDescriptorsWakeTheSleepingLoopAndTheirDeadlinesAreKept) {
  // A pipe stands for another service's connection: it asks to be read, or to run at a deadline.
  struct PipeWatch : plat::FdWatch {
    int Fds[2] = {-1, -1};
    std::uint64_t Due = 0;  // 0: no deadline
    plat::Platform* Owner = nullptr;
    std::vector<std::uint64_t> Runs;  // when Dispatch ran
    int Fd() override { return Fds[0]; }
    short PollEvents() override { return POLLIN; }
    int TimeoutMs() override { return Due == 0 ? -1 : Due > Owner->NowMs() ? int(Due - Owner->NowMs()) : 0; }
    void Dispatch() override {
      char c;
      while (read(Fds[0], &c, 1) == 1) {
      }
      Runs.push_back(Owner->NowMs());
      if (Due && Owner->NowMs() >= Due) Due = 0;
    }
  } ready, timed;
  for (PipeWatch* w : {&ready, &timed}) {
    ASSERT_EQ(pipe2(w->Fds, O_NONBLOCK | O_CLOEXEC), 0);
    w->Owner = Platform.get();
    ASSERT_TRUE(Platform->AddFdWatch(w));
  }
  int passes = 0;
  // The main loop's way: each pass may sleep.
  auto sleepUntil = [&](const std::function<bool()>& pred) {
    for (const std::uint64_t end = Platform->NowMs() + 3000; !pred() && Platform->NowMs() < end; ++passes)
      if (!Platform->ProcessEvents(true)) return false;
    return pred();
  };
  // A slow timer keeps the loop from sleeping for ever should the deadline be ignored; the
  // deadline must come first.
  int slowTicks = 0;
  const plat::Platform::TimerId slow = Platform->StartTimer(1000, [&] { ++slowTicks; });
  const std::uint64_t start = Platform->NowMs();
  timed.Due = start + 150;
  ASSERT_TRUE(sleepUntil([&] { return !timed.Runs.empty(); }));
  Platform->StopTimer(slow);
  ASSERT_EQ(timed.Runs.size(), 1u);
  EXPECT_GE(timed.Runs[0], start + 150);  // not before its deadline
  EXPECT_EQ(slowTicks, 0) << "the deadline waited for another wake-up";
  EXPECT_LT(passes, 10) << "the loop spun instead of sleeping until the deadline";
  EXPECT_TRUE(ready.Runs.empty());

  ASSERT_EQ(write(ready.Fds[1], "x", 1), 1);
  ASSERT_TRUE(sleepUntil([&] { return !ready.Runs.empty(); }));
  EXPECT_EQ(timed.Runs.size(), 1u);
  // What the program's own event pumps (ProcessMessages) see at once, too.
  ASSERT_EQ(write(ready.Fds[1], "y", 1), 1);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return ready.Runs.size() == 2; }));  // its deadline passed, nothing woke it again
  for (PipeWatch* w : {&ready, &timed}) {
    Platform->RemoveFdWatch(w);
    close(w->Fds[0]);
    close(w->Fds[1]);
  }
}
