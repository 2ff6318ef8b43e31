// Painting a 41-pixel-thick horizontal ruler of 640 and of 5000 pixels, the main window's
// normal look (unit 20, 7-point Arial, ticks 50/40/25 %), with the real font and with the
// built-in face. Every paint lays the scale out afresh and formats one number per unit, as the
// control does. Target: under 1 ms for 5000 pixels with the real font.
#include <benchmark/benchmark.h>

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "ruler/RulerPainter.h"

namespace {

TRulerPaintState MainLook() {
  TRulerPaintState look;
  look.Color = 0x80FFFF;
  look.Font.Name = "Arial";
  look.Font.Height = -9;  // 7 points
  look.Font.Color = gfx::clBlack;
  look.TickSizeBig = 50;
  look.TickSizeMiddle = 40;
  look.TickSizeSmall = 25;
  look.UnitSize = look.UnitPrice = 20;
  look.NumberIndent = 4;
  look.StartValue = -1.25;
  look.DrawFrame = true;
  return look;
}

void PaintHorizontal(benchmark::State& state, bool builtin) {
  const bool was = gfx::BuiltinFontOnly();
  gfx::SetBuiltinFontOnly(builtin);
  const int length = int(state.range(0));
  gfx::Bitmap bmp(length, 41);
  gfx::Canvas canvas(bmp);
  const TRulerPaintState look = MainLook();
  PaintRuler(canvas, look, length, 41);  // the font is found and its glyphs cached once
  for (auto _ : state) {
    PaintRuler(canvas, look, length, 41);
    benchmark::DoNotOptimize(bmp.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * length);
  gfx::SetBuiltinFontOnly(was);
}

void BM_RulerPaintRealFont(benchmark::State& state) { PaintHorizontal(state, false); }
void BM_RulerPaintBuiltinFace(benchmark::State& state) { PaintHorizontal(state, true); }

}  // namespace

BENCHMARK(BM_RulerPaintRealFont)->Arg(640)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RulerPaintBuiltinFace)->Arg(640)->Arg(5000)->Unit(benchmark::kMicrosecond);

// A vertical ruler of 32767 pixels seen through a screen-high window (its rows 16000..16767),
// with and without walk marks, against the same ruler painted whole, and against a 640-pixel
// one painted whole.
void BM_RulerPaintLongStrip(benchmark::State& state) {
  const int length = int(state.range(0));
  const bool windowed = state.range(1) != 0;
  TRulerPaintState look = MainLook();
  look.Orientation = orVert;
  gfx::Bitmap bmp(49, windowed ? 768 : length);
  gfx::Canvas canvas(bmp);
  if (windowed) canvas.Origin = {0, -16000};
  // The walk marks a control keeps between paints (the third argument).
  TRulerWalkMarks marks;
  TRulerWalkMarks* kept = state.range(2) ? &marks : nullptr;
  PaintRuler(canvas, look, 49, length, kept);
  for (auto _ : state) {
    PaintRuler(canvas, look, 49, length, kept);
    benchmark::DoNotOptimize(bmp.Row(0));
  }
}
BENCHMARK(BM_RulerPaintLongStrip)
    ->Args({640, 0, 0})
    ->Args({32767, 0, 0})
    ->Args({32767, 1, 0})
    ->Args({32767, 1, 1})
    ->Unit(benchmark::kMicrosecond);
