// Text output speed: the ruler draws a hundred short numbers per paint.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/Canvas.h"

using namespace gfx;

namespace {

Font RulerFont(int escapement = 0) {
  Font f;
  f.Name = "Arial";
  f.SetSize(7);
  f.Color = clBlack;
  f.Escapement = escapement;
  return f;
}

void DrawHundredNumbers(benchmark::State& state, bool builtin, int escapement) {
  SetBuiltinFontOnly(builtin);
  Bitmap bmp(2000, 60, 0x80FFFF);
  Canvas c(bmp);
  c.SelectFont(RulerFont(escapement));
  c.BkColor = 0x80FFFF;
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) c.TextOut(i * 20, 30, "1234");
    benchmark::DoNotOptimize(bmp.At(0, 30));
  }
  state.SetItemsProcessed(state.iterations() * 100);
  SetBuiltinFontOnly(false);
}

void BM_TextOut_Arial7(benchmark::State& s) { DrawHundredNumbers(s, false, 0); }
void BM_TextOut_Arial7_Rotated90(benchmark::State& s) { DrawHundredNumbers(s, false, 900); }
void BM_TextOut_Arial7_Rotated30(benchmark::State& s) { DrawHundredNumbers(s, false, 300); }
void BM_TextOut_Builtin(benchmark::State& s) { DrawHundredNumbers(s, true, 0); }

void MeasureHundred(benchmark::State& state, bool builtin) {
  SetBuiltinFontOnly(builtin);
  Bitmap bmp(10, 10);
  Canvas c(bmp);
  c.SelectFont(RulerFont());
  for (auto _ : state) {
    int total = 0;
    for (int i = 0; i < 100; ++i) total += c.TextExtent("1234").cx;
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * 100);
  SetBuiltinFontOnly(false);
}

void BM_TextExtent_Arial7(benchmark::State& s) { MeasureHundred(s, false); }
void BM_TextExtent_Builtin(benchmark::State& s) { MeasureHundred(s, true); }

void BM_DrawText_WordBreak(benchmark::State& state) {
  Bitmap bmp(200, 200, clWhite);
  Canvas c(bmp);
  Font f;
  f.Name = "MS Sans Serif";
  f.SetSize(8);
  c.SelectFont(f);
  const std::string text = "Shows the ruler value of the pixel under the mouse wherever the mouse is.";
  for (auto _ : state) {
    Rect r{0, 0, 150, 200};
    benchmark::DoNotOptimize(c.DrawText(text, r, DT_WORDBREAK | DT_CENTER));
  }
}

}  // namespace

BENCHMARK(BM_TextOut_Arial7);
BENCHMARK(BM_TextOut_Arial7_Rotated90);
BENCHMARK(BM_TextOut_Arial7_Rotated30);
BENCHMARK(BM_TextOut_Builtin);
BENCHMARK(BM_TextExtent_Arial7);
BENCHMARK(BM_TextExtent_Builtin);
BENCHMARK(BM_DrawText_WordBreak);
