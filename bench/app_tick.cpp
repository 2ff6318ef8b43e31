// One tick of the strip's tracking timer with a moving cursor, including the repaint of the
// reading it causes, on the virtual desktop.
#include <benchmark/benchmark.h>

#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"

static void BM_TrackingTick(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  desk.SetIdleProcessor([] { Application->ProcessIdleWork(); });
  {
    TApplication app;
    TfrmMain* main = app.CreateForm<TfrmMain>();
    app.CreateForm<TfrmPosition>();
    main->Show();
    app.ProcessMessages();
    int x = 0;
    for (auto _ : state) {
      x = (x + 7) % 1000;
      desk.SetCursorPos({x, 300});
      main->Timer1Timer(main);
      app.ProcessIdleWork();
    }
    benchmark::DoNotOptimize(main->lblMsPos->Caption());
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_TrackingTick)->Unit(benchmark::kMicrosecond);

// A tick with the cursor still: one cursor query.
static void BM_StillTick(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    TfrmMain* main = app.CreateForm<TfrmMain>();
    main->Show();
    app.ProcessMessages();
    for (auto _ : state) main->Timer1Timer(main);
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_StillTick)->Unit(benchmark::kMicrosecond);
