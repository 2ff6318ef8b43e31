// One refresh of the mouse loupe with a moving pointer: capture of 50 x 50 pixels, stretch to
// 100 x 100, panel texts, and the repaint of both windows, on the virtual desktop.
#include <benchmark/benchmark.h>

#include "magnifier/TfrmZoom.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"

static void BM_LoupeRefresh(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  desk.SetIdleProcessor([] { Application->ProcessIdleWork(); });
  {
    TApplication app;
    TfrmZoom* loupe = app.CreateForm<TfrmZoom>();
    loupe->changezoomfactor(int(state.range(0)));
    loupe->Show();
    app.ProcessMessages();
    int x = 0;
    for (auto _ : state) {
      x = (x + 7) % 900;
      desk.SetCursorPos({x, 300});
      loupe->Timer1Timer(loupe);
      app.ProcessIdleWork();
    }
    benchmark::DoNotOptimize(loupe->Caption());
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_LoupeRefresh)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// A tick with the pointer still: the stillness filter alone.
static void BM_LoupeStillTick(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    TfrmZoom* loupe = app.CreateForm<TfrmZoom>();
    loupe->Show();
    app.ProcessMessages();
    for (auto _ : state) loupe->Timer1Timer(loupe);
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_LoupeStillTick)->Unit(benchmark::kMicrosecond);

// Building the loupe hidden, as the program does at start: its disc outline and ring frame.
static void BM_LoupeCreate(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    for (auto _ : state) {
      TfrmZoom* loupe = app.CreateForm<TfrmZoom>();
      benchmark::DoNotOptimize(loupe);
      app.DestroyComponent(loupe);
    }
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_LoupeCreate)->Unit(benchmark::kMicrosecond);

// The ring frame alone, from the loupe's disc.
static void BM_LoupeRingPicture(benchmark::State& state) {
  const std::vector<std::uint8_t> mask = LoadRegionResource("MASKZOOM");
  const gfx::Region disc = gfx::Region::FromRgnData(std::span(mask).subspan(4));
  for (auto _ : state) benchmark::DoNotOptimize(LoupeRingPicture(disc, 100, 3));
}
BENCHMARK(BM_LoupeRingPicture)->Unit(benchmark::kMicrosecond);

// The loupe's first showing, with the work its construction leaves for it (back buffer,
// readout panel and its labels measured): it must fit well within one 55 ms tick.
static void BM_LoupeFirstShow(benchmark::State& state) {
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  {
    TApplication app;
    for (auto _ : state) {
      state.PauseTiming();
      TfrmZoom* loupe = app.CreateForm<TfrmZoom>();
      state.ResumeTiming();
      loupe->Show();
      loupe->Timer1Timer(loupe);
      app.ProcessIdleWork();
      state.PauseTiming();
      app.DestroyComponent(loupe);
      state.ResumeTiming();
    }
  }
  plat::Platform::SetCurrent(nullptr);
}
BENCHMARK(BM_LoupeFirstShow)->Unit(benchmark::kMicrosecond);
