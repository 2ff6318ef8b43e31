// PNG writing (through libpng) of a 1024 x 768 screen grab: a window-like picture, pure noise
// (the worst case for the match search) and a single flat colour; and reading the first back.
#include <benchmark/benchmark.h>

#include <random>

#include "graphics/Bitmap.h"
#include "graphics/ImageFile.h"

namespace {

using gfx::RGB;

constexpr int kWidth = 1024, kHeight = 768;

// Desktop-like: a flat background, window frames with title bar gradients, lines of text-like
// glyph specks, a few icons and a photo in one window.
gfx::Bitmap UiScreen() {
  gfx::Bitmap b(kWidth, kHeight, RGB(58, 110, 165));
  std::mt19937 rng(1);
  auto fill = [&](int x0, int y0, int x1, int y1, gfx::TColor c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) b.Set(x, y, c);
  };
  const int windows[][4] = {{40, 30, 620, 480}, {300, 200, 980, 700}, {700, 40, 1000, 300}};
  for (const auto& w : windows) {
    fill(w[0], w[1], w[2], w[3], RGB(212, 208, 200));
    for (int y = w[1]; y < w[1] + 20; ++y)
      for (int x = w[0]; x < w[2]; ++x) b.Set(x, y, RGB(10 + (x - w[0]) * 150 / (w[2] - w[0]), 36, 106 + (x - w[0]) / 8));
    fill(w[0] + 6, w[1] + 30, w[2] - 6, w[3] - 6, RGB(255, 255, 255));
    for (int line = w[1] + 36; line + 12 < w[3] - 10; line += 16)
      for (int x = w[0] + 10; x < w[2] - 40; x += 7) {
        if (rng() % 7 == 0) continue;  // a space
        const unsigned glyph = rng();
        for (int gy = 0; gy < 11; ++gy)
          for (int gx = 0; gx < 6; ++gx)
            if ((glyph >> ((gy * 6 + gx) % 29)) & 1 && (gx + gy) % 3) b.Set(x + gx, line + gy, RGB(0, 0, 0));
      }
  }
  for (int i = 0; i < 8; ++i) fill(8, 40 + 70 * i, 48, 80 + 70 * i, RGB(rng() & 255, rng() & 255, rng() & 255));
  for (int y = 420; y < 680; ++y)
    for (int x = 620; x < 960; ++x)
      b.Set(x, y, RGB((x * 3 + y) / 5 + int(rng() % 6), (y * 2 - x / 3) & 255, 90 + int(rng() % 20)));
  return b;
}

gfx::Bitmap NoiseScreen() {
  gfx::Bitmap b(kWidth, kHeight);
  std::mt19937 rng(2);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) b.Set(x, y, rng() & 0xFFFFFF);
  return b;
}

void Run(benchmark::State& state, const gfx::Bitmap& bmp) {
  std::size_t size = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> png = gfx::WritePng(bmp);
    size = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  const double raw = double(kHeight) * (1 + 3 * kWidth);
  state.counters["bytes"] = double(size);
  state.counters["ratio%"] = 100.0 * double(size) / raw;
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(raw));
}

void BM_WritePngUi(benchmark::State& state) { Run(state, UiScreen()); }
BENCHMARK(BM_WritePngUi)->Unit(benchmark::kMillisecond);

void BM_WritePngNoise(benchmark::State& state) { Run(state, NoiseScreen()); }
BENCHMARK(BM_WritePngNoise)->Unit(benchmark::kMillisecond);

void BM_WritePngFlat(benchmark::State& state) { Run(state, gfx::Bitmap(kWidth, kHeight, RGB(212, 208, 200))); }
BENCHMARK(BM_WritePngFlat)->Unit(benchmark::kMillisecond);

void BM_ReadPngUi(benchmark::State& state) {
  const std::vector<std::uint8_t> png = gfx::WritePng(UiScreen());
  for (auto _ : state) benchmark::DoNotOptimize(gfx::ReadPng(png));
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(png.size()));
}
BENCHMARK(BM_ReadPngUi)->Unit(benchmark::kMillisecond);

}  // namespace
