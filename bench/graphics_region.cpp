// Region building and point tests at the size of a busy window outline.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "graphics/Region.h"

namespace {

// 200 rectangles scattered over a 1000 x 800 area, some overlapping, as a damage list or a
// traced outline produces them.
std::vector<gfx::Rect> ScatteredRects() {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> x(0, 950), y(0, 760), w(4, 60), h(4, 40);
  std::vector<gfx::Rect> rects;
  for (int i = 0; i < 200; ++i) rects.push_back(gfx::Rect::FromXYWH(x(rng), y(rng), w(rng), h(rng)));
  return rects;
}

void BM_UnionOf200Rects(benchmark::State& state) {
  const std::vector<gfx::Rect> rects = ScatteredRects();
  for (auto _ : state) {
    gfx::Region r;
    for (const gfx::Rect& q : rects) r = r.Union(gfx::Region(q));
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_UnionOf200Rects);

void BM_FromRects200(benchmark::State& state) {
  const std::vector<gfx::Rect> rects = ScatteredRects();
  for (auto _ : state) benchmark::DoNotOptimize(gfx::Region::FromRects(rects));
}
BENCHMARK(BM_FromRects200);

void BM_ContainsOn200RectRegion(benchmark::State& state) {
  const gfx::Region r = gfx::Region::FromRects(ScatteredRects());
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> x(0, 1000), y(0, 800);
  std::vector<gfx::Point> points;
  for (int i = 0; i < 1024; ++i) points.push_back({x(rng), y(rng)});
  std::size_t i = 0;
  int hits = 0;
  for (auto _ : state) {
    hits += r.Contains(points[i++ & 1023]);
    benchmark::DoNotOptimize(hits);
  }
  state.counters["rects"] = double(r.Rects().size());
}
BENCHMARK(BM_ContainsOn200RectRegion);

void BM_EllipseDisc(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(gfx::Region::Ellipse({51, 50, 200, 200}));
}
BENCHMARK(BM_EllipseDisc);

}  // namespace
