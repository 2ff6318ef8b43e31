// Canvas primitives the controls lean on while painting and magnifying.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "graphics/Canvas.h"

namespace {

using namespace gfx;

void BM_FillRect1000x100(benchmark::State& state) {
  Bitmap bmp(1000, 100, clWhite);
  Canvas c(bmp);
  c.Brush.Color = 0x80FFFF;
  for (auto _ : state) {
    c.FillRect({0, 0, 1000, 100});
    benchmark::DoNotOptimize(bmp.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 100);
}
BENCHMARK(BM_FillRect1000x100);

// The same fill through a clip region of two rectangles (a ruler partly covered).
void BM_FillRect1000x100Clipped(benchmark::State& state) {
  Bitmap bmp(1000, 100, clWhite);
  Canvas c(bmp);
  c.SetClipRegion(Region::FromRects(std::vector<Rect>{{0, 0, 400, 100}, {500, 0, 1000, 60}}));
  for (auto _ : state) {
    c.FillRect({0, 0, 1000, 100});
    benchmark::DoNotOptimize(bmp.Row(0));
  }
}
BENCHMARK(BM_FillRect1000x100Clipped);

// 1000 short lines, as a ruler draws its ticks.
void BM_1000ShortLines(benchmark::State& state) {
  Bitmap bmp(1000, 100, clWhite);
  Canvas c(bmp);
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> x(0, 999), y(0, 99), d(-12, 12);
  std::vector<std::array<int, 4>> lines(1000);
  for (auto& l : lines) l = {x(rng), y(rng), 0, 0}, l[2] = l[0] + d(rng), l[3] = l[1] + d(rng);
  for (auto _ : state) {
    for (const auto& l : lines) {
      c.MoveTo(l[0], l[1]);
      c.LineTo(l[2], l[3]);
    }
    benchmark::DoNotOptimize(bmp.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_1000ShortLines);

void BM_StretchBlt(benchmark::State& state) {
  const int n = int(state.range(0));
  Bitmap src(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) src.At(x, y) = RGB(x, y, x ^ y);
  Bitmap dst(2 * n, 2 * n);
  Canvas c(dst);
  for (auto _ : state) {
    c.StretchBlt(0, 0, 2 * n, 2 * n, src, 0, 0, n, n);
    benchmark::DoNotOptimize(dst.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * 4 * n * n);
}
BENCHMARK(BM_StretchBlt)->Arg(50)->Arg(100);

// The lens: a 50x50 capture into 212x200 (a factor that does not divide) and 4x into 200x200.
void BM_StretchBltLens(benchmark::State& state) {
  Bitmap src(50, 50, 0x336699);
  Bitmap dst(212, 200);
  Canvas c(dst);
  for (auto _ : state) {
    c.StretchBlt(0, 0, 212, 200, src, 0, 0, 50, 50);
    benchmark::DoNotOptimize(dst.Row(0));
  }
}
BENCHMARK(BM_StretchBltLens);

void BM_StipplePatBlt200x200(benchmark::State& state) {
  Bitmap bmp(200, 200, clWhite);
  Canvas c(bmp);
  c.TextColor = clWhite;
  c.BkColor = clBlack;
  c.Brush.Style = BrushStyle::Pattern;
  c.Brush.Pattern = {0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00};
  for (auto _ : state) {
    c.PatBlt(0, 0, 200, 200, PATAND);
    benchmark::DoNotOptimize(bmp.Row(0));
  }
}
BENCHMARK(BM_StipplePatBlt200x200);

void BM_Ellipse150WithWidePen(benchmark::State& state) {
  Bitmap bmp(160, 160, clWhite);
  Canvas c(bmp);
  c.Pen.Width = 3;
  c.Brush.Style = BrushStyle::Clear;
  for (auto _ : state) {
    c.Ellipse(1, 1, 149, 150);
    benchmark::DoNotOptimize(bmp.Row(0));
  }
}
BENCHMARK(BM_Ellipse150WithWidePen);

void BM_BitBlt200x200(benchmark::State& state) {
  Bitmap src(200, 200, 0x123456);
  Bitmap dst(200, 200);
  Canvas c(dst);
  for (auto _ : state) {
    c.BitBlt(0, 0, 200, 200, src, 0, 0);
    benchmark::DoNotOptimize(dst.Row(0));
  }
}
BENCHMARK(BM_BitBlt200x200);

}  // namespace
