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
    TStripCompanions companions;
    companions.PositionReadout = app.CreateForm<TfrmPosition>();
    main->SetCompanions(companions);
    main->Show();
    app.ProcessMessages();
    int x = 0;
    for (auto _ : state) {
      x = (x + 7) % 1000;
      desk.SetCursorPos({x, 300});
      main->Timer1Timer(main);
      app.ProcessIdleWork();
    }
    benchmark::DoNotOptimize(main->CaptionStrip->lblMsPos->Caption());
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

// A vertical strip of LENGTH pixels (640, and 32767, the longest there can be), its top far
// above the screen for the long one, as the user sees it: one tick of the tracking timer with
// the pointer moving over it, including the repaint of the reading.
static void BM_StripTick(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  desk.SetIdleProcessor([] { Application->ProcessIdleWork(); });
  {
    TApplication app;
    TfrmMain* main = app.CreateForm<TfrmMain>();
    TStripCompanions companions;
    companions.PositionReadout = app.CreateForm<TfrmPosition>();
    main->SetCompanions(companions);
    main->btnFlipClick(main);
    const int length = int(state.range(0));
    main->SetBounds(100, length > 768 ? -16000 : 50, main->Width(), length);
    main->LayoutForLength();
    main->Show();
    app.ProcessMessages();
    int y = 0;
    for (auto _ : state) {
      y = (y + 7) % 700;
      desk.SetCursorPos({150, y});
      main->Timer1Timer(main);
      app.ProcessIdleWork();
    }
    benchmark::DoNotOptimize(main->CaptionStrip->lblMsPos->Caption());
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_StripTick)->Arg(640)->Arg(32767)->Unit(benchmark::kMicrosecond);

// The same strips repainting their ruler after the scale moved by a pixel, as rolling does.
static void BM_StripRulerRepaint(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    TfrmMain* main = app.CreateForm<TfrmMain>();
    main->btnFlipClick(main);
    const int length = int(state.range(0));
    main->SetBounds(100, length > 768 ? -16000 : 50, main->Width(), length);
    main->LayoutForLength();
    main->Show();
    app.ProcessMessages();
    int step = 0;
    for (auto _ : state) {
      main->Ruler->SetStartValue(-0.05 * (++step % 2));
      app.ProcessIdleWork();
    }
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_StripRulerRepaint)->Arg(640)->Arg(32767)->Unit(benchmark::kMicrosecond);
