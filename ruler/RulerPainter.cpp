#include "ruler/RulerPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ruler/RulerLayout.h"

gfx::Font TRulerPaintState::DefaultFont() {
  gfx::Font f;
  f.Name = "Tahoma";
  f.Height = -9;
  return f;
}

namespace {

constexpr int kEscapement[] = {0, 900, 1800, 2700};  // tenths of a degree, counter-clockwise

// The look's font turned to ROTATION, made the classic way: through its LOGFONT record with only
// the escapement changed (the orientation field stays as it was).
gfx::Font RotatedFont(const gfx::Font& font, TFontRotation rotation) {
  gfx::LogFont lf = gfx::LogFont::FromFont(font);
  const int r = int(rotation);
  lf.lfEscapement = kEscapement[(r >= 0 && r < 4) ? r : 0];
  return lf.ToFont(font.Color);
}

// One tick line from the base line across the ruler. The far end is kept just outside the
// control: what lies beyond is clipped anyway, and an absurd percentage must not turn into a
// line of millions of pixels.
struct TickPainter {
  gfx::Canvas& Canvas;
  bool Horizontal;
  bool FromBottomRight;
  int Length;     // along the ruler
  int Thickness;  // across the ruler

  void Draw(int c, int tickLength) const {
    if (c < 0 || c >= Length) return;  // fully outside the control: nothing to see
    const int base = FromBottomRight ? Thickness - 1 : 0;
    std::int64_t end = FromBottomRight ? std::int64_t(base) - tickLength : std::int64_t(base) + tickLength;
    end = std::clamp<std::int64_t>(end, -1, std::max(Thickness, 0));
    if (Horizontal) {
      Canvas.MoveTo(c, base);
      Canvas.LineTo(c, int(end));
    } else {
      Canvas.MoveTo(base, c);
      Canvas.LineTo(int(end), c);
    }
  }
};

// The stretch along the ruler, [Lo, Hi) in the ruler's own pixels, that can show on CANVAS:
// its clip (the damaged part) within its bitmap. A strip may be tens of thousands of pixels
// long while a paint touches a few hundred of them.
struct TVisibleSpan {
  std::int64_t Lo = 0;
  std::int64_t Hi = 0;
};

TVisibleSpan VisibleSpan(gfx::Canvas& canvas, bool horizontal, int length) {
  gfx::Rect device{0, 0, canvas.Target().Width(), canvas.Target().Height()};
  if (const auto& clip = canvas.ClipRegion()) device = device.Intersect(clip->Bounds());
  if (device.IsEmpty()) return {};
  const std::int64_t origin = horizontal ? canvas.Origin.x : canvas.Origin.y;
  const std::int64_t lo = (horizontal ? device.left : device.top) - origin;
  const std::int64_t hi = (horizontal ? device.right : device.bottom) - origin;
  return {std::max<std::int64_t>(lo, 0), std::min<std::int64_t>(hi, std::max(length, 0))};
}

// How far along the ruler a number's cell can reach from its tick, in either direction: the
// widest number the layout can produce, turned any way, plus the offsets of its placement.
std::int64_t NumberReach(gfx::Canvas& canvas, const TRulerPaintState& look, const TRulerLayout& layout, int length,
                         int hd) {
  const long double units = std::fabs(layout.StartUnit()) + std::fabs(length / look.UnitSize) + 3;
  const std::string widest = FormatNumber(-units * std::fabs(static_cast<long double>(look.UnitPrice)),
                                          look.UnitPrecision);
  const gfx::TextMetrics tm = canvas.GetTextMetrics();
  const std::int64_t charWidth = std::max({tm.MaxCharWidth, 2 * tm.AveCharWidth, hd, 1});
  return 2 * (std::int64_t(widest.size()) * charWidth + hd) + 8;
}

}  // namespace

int PaintRuler(gfx::Canvas& canvas, const TRulerPaintState& look, int width, int height, TRulerWalkMarks* marks) {
  const bool horizontal = look.Orientation != orVert;
  const int length = horizontal ? width : height;
  const int thickness = horizontal ? height : width;

  TRulerLayout layout(look.StartValue, look.UnitSize, look.UnitPrice, length);
  const TTickLengths lengths =
      TickLengths(thickness, look.TickSizeBig, look.TickSizeMiddle, look.TickSizeSmall);

  canvas.Pen = gfx::Pen{look.TickColor, 1, gfx::PenStyle::Solid};
  canvas.SelectFont(RotatedFont(look.Font, look.FontRotation));

  canvas.Brush = gfx::Brush{};
  canvas.Brush.Color = look.Color;
  canvas.Brush.Style = gfx::BrushStyle::Solid;
  canvas.FillRect(gfx::Rect{0, 0, width, height});

  // Without a usable scale there is nothing to read off the ruler.
  if (!layout.Valid()) return 0;

  // Texts are drawn opaque in the background colour, so a number hides the ticks before it.
  canvas.BkMode = gfx::BkMode::Opaque;
  canvas.BkColor = look.Color;
  const int hd = canvas.TextHeight("0");

  // Only the ticks near the visible span are drawn. The walk passes over the others with the
  // same arithmetic, so positions accumulate exactly as in a walk over the whole ruler.
  const TVisibleSpan span = VisibleSpan(canvas, horizontal, length);
  if (span.Lo >= span.Hi) return 0;
  const std::int64_t reach = NumberReach(canvas, look, layout, length, hd);
  // A tick before this (unrounded) rounds to a pixel at least REACH before the span.
  const double from = double(span.Lo - reach - 1);
  if (marks) marks->SkipTo(layout, from);
  else layout.SkipTo(from);
  const TickPainter ticks{canvas, horizontal, look.TickAlign != taTopLeft, length, thickness};
  TRulerTick tick;
  int drawn = 0;
  while (layout.Next(tick)) {
    if (tick.Pos + reach < span.Lo) continue;
    if (tick.Pos - reach >= span.Hi) break;  // positions only grow
    ++drawn;
    switch (tick.Kind) {
      case TTickKind::Small: ticks.Draw(tick.Pos, lengths.Small); break;
      case TTickKind::Middle: ticks.Draw(tick.Pos, lengths.Middle); break;
      case TTickKind::Big: {
        const std::string text = FormatNumber(tick.Number, look.UnitPrecision);
        const int w = canvas.TextWidth(text);
        const gfx::Point at = NumberOrigin(look.Orientation, look.NumberAlign, look.FontRotation, tick.Pos,
                                           look.NumberIndent, w, hd);
        canvas.TextOut(at.x, at.y, text);
        ticks.Draw(tick.Pos, lengths.Big);  // over the number's cell
        break;
      }
    }
  }

  // The caption comes last among the texts and covers whatever lies beneath it.
  if (!look.Caption.empty()) {
    const int w = canvas.TextWidth(look.Caption);
    canvas.Brush.Color = look.Color;
    canvas.BkColor = look.Color;
    const gfx::Point at = CaptionOrigin(look.Orientation, look.CaptionAlign, look.FontRotation, look.CaptionIndent1,
                                        look.CaptionIndent2, w, hd, width, height);
    canvas.TextOut(at.x, at.y, look.Caption);
  }

  if (look.DrawFrame) {
    canvas.Brush.Style = gfx::BrushStyle::Clear;
    // A pen of width 0 draws one pixel, as the classic pens do; one wider than the control
    // covers it whole, so wider ones are not worth the work.
    const int widest = int(std::min<std::int64_t>(std::int64_t(std::max(width, 0)) + std::max(height, 0) + 2,
                                                   TRulerLayout::kCoordLimit));
    const int penWidth = std::clamp(look.FrameWidth, 1, std::max(widest, 1));
    canvas.Pen = gfx::Pen{look.FrameColor, penWidth, gfx::PenStyle::Solid};
    canvas.Rectangle(0, 0, width, height);
  }
  return drawn;
}
