// vantrel-testcard: draws a test card, a picture for people to look at when drawing code
// changes: every canvas primitive (the default), the widget kit, the ruler, the effect label,
// the shape control, or shapes of known size to measure.
//
//   vantrel-testcard [OUT.png]                 (default: testcard.png in the current folder)
//   vantrel-testcard --widgets [OUT.png]       (default: widgetcard.png)
//   vantrel-testcard --ruler [OUT.png]         (default: ruler-testcard.png)
//   vantrel-testcard --effectlabel [OUT.png]   (default: effectlabel-testcard.png)
//   vantrel-testcard --shapes [OUT.png]        (default: shapes-testcard.png)
//   vantrel-testcard --measure [OUT.png]       (default: measure-testcard.png)
#include <cmath>
#include <cstdio>
#include <exception>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/ImageFile.h"
#include "tools/testcard/Cards.h"

namespace {

using namespace gfx;

constexpr int kWidth = 960;
constexpr int kHeight = 720;
constexpr TColor kPaper = 0xF4F4F4;
constexpr std::array<std::uint8_t, 8> kStipple25 = {0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00};
constexpr std::array<std::uint8_t, 8> kStipple50 = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};

void ResetTools(Canvas& c) {
  c.Pen = Pen{};
  c.Brush = Brush{};
  c.TextColor = clBlack;
  c.BkColor = clWhite;
  c.BkMode = BkMode::Transparent;
  c.Origin = {};
  c.SetClipRegion(std::nullopt);
}

// A panel: a framed box with a caption; drawing inside uses coordinates relative to its corner.
void Panel(Canvas& c, const Rect& r, std::string_view title) {
  ResetTools(c);
  c.Brush.Color = clWhite;
  c.Pen.Color = clGray;
  c.Rectangle(r);
  c.Font = Font{};
  c.Font.Name = "DejaVu Sans";
  c.Font.Height = -11;
  c.Font.Color = clNavy;
  c.SelectFont(c.Font);
  c.TextOut(r.left + 4, r.top + 2, title);
  c.Origin = {r.left, r.top + 16};
  c.IntersectClipRect({1, -15, r.Width() - 1, r.Height() - 17});
  c.Pen = Pen{};
  c.Brush = Brush{};
}

void Lines(Canvas& c) {
  Panel(c, {10, 10, 230, 240}, "Lines: 1 px in 48 directions, widths");
  const int cx = 70, cy = 70;
  for (int i = 0; i < 48; ++i) {
    const double a = i * 2 * std::numbers::pi / 48;
    c.Pen.Color = i % 2 ? clBlack : clBlue;
    c.MoveTo(cx, cy);
    c.LineTo(cx + int(std::lround(60 * std::cos(a))), cy - int(std::lround(60 * std::sin(a))));
  }
  c.Pen.Color = clRed;
  int y = 145;
  for (int w : {1, 2, 3, 5, 8}) {
    c.Pen.Width = w;
    c.MoveTo(10, y);
    c.LineTo(120, y + 8);
    y += 14;
  }
  c.Pen.Width = 4;
  c.Pen.Color = clGreen;
  const Point zig[] = {{140, 140}, {160, 200}, {180, 145}, {200, 200}, {210, 150}};
  c.Polyline(zig);
  c.Pen = Pen{clMaroon, 1, PenStyle::Solid};
  for (int i = 0; i < 10; ++i) {
    c.MoveTo(140 + i * 7, 10);
    c.LineTo(140 + i * 7 + i, 120);
  }
}

void PenStyles(Canvas& c) {
  Panel(c, {240, 10, 470, 240}, "Pen styles (opaque / transparent)");
  const PenStyle styles[] = {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot,
                             PenStyle::DashDotDot, PenStyle::InsideFrame};
  int y = 10;
  for (PenStyle s : styles) {
    c.Pen = Pen{clBlack, 1, s};
    c.BkColor = clYellow;
    c.BkMode = BkMode::Opaque;
    c.MoveTo(10, y);
    c.LineTo(215, y);
    c.BkMode = BkMode::Transparent;
    c.MoveTo(10, y + 6);
    c.LineTo(215, y + 6);
    y += 18;
  }
  c.Pen = Pen{clPurple, 1, PenStyle::Dot};
  c.Brush.Style = BrushStyle::Clear;
  c.Rectangle(10, 120, 100, 200);
  c.Pen.Style = PenStyle::DashDot;
  c.Ellipse(115, 120, 215, 200);
}

void Rectangles(Canvas& c) {
  Panel(c, {480, 10, 710, 240}, "Rectangles and round rects");
  c.Brush.Color = clAqua;
  c.Rectangle(10, 10, 60, 50);
  c.Pen.Width = 5;
  c.Pen.Color = clNavy;
  c.Rectangle(80, 10, 130, 50);
  c.Pen.Style = PenStyle::InsideFrame;
  c.Rectangle(150, 10, 200, 50);
  c.Pen = Pen{clBlack, 1, PenStyle::Clear};
  c.Brush.Color = clFuchsia;
  c.Rectangle(10, 70, 60, 110);
  c.Pen = Pen{clRed, 1, PenStyle::Solid};
  c.Brush.Style = BrushStyle::Clear;
  c.Rectangle(80, 70, 130, 110);
  c.Brush = Brush{clOlive, BrushStyle::Solid, {}};
  c.FrameRect({150, 70, 200, 110});
  c.Brush = Brush{clLime, BrushStyle::Solid, {}};
  c.Pen = Pen{};
  c.RoundRect(10, 130, 90, 200, 20, 20);
  c.Pen.Width = 3;
  c.RoundRect(100, 130, 210, 200, 40, 25);
  c.DrawFocusRect({18, 138, 82, 192});
}

void Ellipses(Canvas& c) {
  Panel(c, {720, 10, 950, 240}, "Ellipses odd/even, wide, dashed");
  c.Brush.Color = clYellow;
  int x = 8;
  for (int s = 1; s <= 9; ++s) {
    c.Ellipse(x, 10, x + s, 10 + s);
    x += s + 6;
  }
  x = 8;
  for (int s = 10; s <= 14; ++s) {
    c.Ellipse(x, 30, x + s, 30 + s + 3);
    x += s + 8;
  }
  // The lens rim: a 3-pixel black circle with nothing inside.
  c.Pen.Width = 3;
  c.Brush.Style = BrushStyle::Clear;
  c.Ellipse(10, 60, 110, 160);
  c.Pen = Pen{clRed, 1, PenStyle::Dash};
  c.Brush = Brush{clSilver, BrushStyle::DiagCross, {}};
  c.Ellipse(120, 60, 220, 130);
  c.Pen = Pen{clBlack, 1, PenStyle::Clear};
  c.Brush = Brush{clTeal, BrushStyle::Solid, {}};
  c.Ellipse(120, 140, 220, 200);
}

void Polygons(Canvas& c) {
  Panel(c, {10, 250, 230, 480}, "Polygons: alternate / winding");
  const Point star[] = {{50, 10}, {80, 100}, {5, 42}, {95, 42}, {20, 100}};
  c.Brush.Color = clRed;
  c.Polygon(star, FillMode::Alternate);
  std::vector<Point> moved;
  for (Point p : star) moved.push_back({p.x + 105, p.y});
  c.Polygon(moved, FillMode::Winding);
  c.Brush.Color = clBlue;
  c.Pen = Pen{clBlack, 3, PenStyle::Solid};
  const Point tri[] = {{20, 120}, {90, 200}, {10, 200}};
  c.Polygon(tri);
  c.Pen = Pen{};
  c.Brush = Brush{clGreen, BrushStyle::BDiagonal, {}};
  const Point diamond[] = {{155, 115}, {200, 160}, {155, 205}, {110, 160}};
  c.Polygon(diamond);
}

void Brushes(Canvas& c) {
  Panel(c, {240, 250, 470, 480}, "Hatch (opaque, transparent), pattern");
  const BrushStyle hatches[] = {BrushStyle::Horizontal, BrushStyle::Vertical, BrushStyle::FDiagonal,
                                BrushStyle::BDiagonal, BrushStyle::Cross, BrushStyle::DiagCross};
  c.Pen.Style = PenStyle::Clear;
  for (int i = 0; i < 6; ++i) {
    c.Brush = Brush{clBlue, hatches[i], {}};
    c.BkColor = clYellow;
    c.BkMode = BkMode::Opaque;
    c.FillRect(Rect::FromXYWH(10 + i * 35, 10, 30, 40));
    c.BkMode = BkMode::Transparent;
    c.Brush.Color = clRed;
    c.FillRect(Rect::FromXYWH(10 + i * 35, 60, 30, 40));
  }
  c.Brush.Style = BrushStyle::Pattern;
  c.Brush.Pattern = {0x18, 0x3C, 0x7E, 0xFF, 0x7E, 0x3C, 0x18, 0x00};
  c.TextColor = clNavy;
  c.BkColor = clAqua;
  c.FillRect({10, 110, 100, 200});
  c.Pen = Pen{};
  c.Ellipse(110, 110, 210, 200);
}

void Stipples(Canvas& c) {
  Panel(c, {480, 250, 710, 480}, "PatBlt 25% / 50% stipples (PATAND)");
  // A colour ramp underneath shows what the stipple lets through.
  for (int x = 0; x < 210; ++x) {
    c.Pen.Color = RGB(255 - x, 128 + x / 2, x);
    c.MoveTo(10 + x, 10);
    c.LineTo(10 + x, 200);
  }
  auto stipple = [&](const std::array<std::uint8_t, 8>& pattern, TColor colour, const Rect& r) {
    c.TextColor = clWhite;
    c.BkColor = colour;
    c.Brush.Style = BrushStyle::Pattern;
    c.Brush.Pattern = pattern;
    c.PatBlt(r.left, r.top, r.Width(), r.Height(), PATAND);
  };
  stipple(kStipple25, clBlack, {20, 20, 100, 90});
  stipple(kStipple50, clBlack, {120, 20, 200, 90});
  stipple(kStipple25, clBlue, {20, 110, 100, 190});
  stipple(kStipple50, clRed, {120, 110, 200, 190});
  c.Brush = Brush{clWhite, BrushStyle::Solid, {}};
  c.PatBlt(95, 85, 30, 30, DSTINVERT);
}

void RegionsAndEdges(Canvas& c) {
  Panel(c, {720, 250, 950, 480}, "FillRgn and DrawEdge");
  const Region rgn = Region::Ellipse({10, 10, 90, 70}).Union(Region(Rect{50, 40, 110, 90})).Subtract(Region::Ellipse({30, 25, 60, 50}));
  c.Brush = Brush{clMaroon, BrushStyle::Cross, {}};
  c.BkColor = clSilver;
  c.BkMode = BkMode::Opaque;
  c.FillRgn(rgn);
  c.Brush = Brush{clBtnFace, BrushStyle::Solid, {}};
  c.FillRect({120, 5, 225, 205});
  c.FillRect({5, 95, 120, 205});
  struct EdgeCase {
    unsigned edge, flags;
  };
  const EdgeCase cases[] = {
      {EDGE_RAISED, BF_RECT},           {EDGE_SUNKEN, BF_RECT},         {EDGE_ETCHED, BF_RECT},
      {EDGE_BUMP, BF_RECT},             {EDGE_RAISED, BF_RECT | BF_SOFT}, {EDGE_SUNKEN, BF_RECT | BF_SOFT},
      {EDGE_RAISED, BF_RECT | BF_FLAT}, {EDGE_SUNKEN, BF_RECT | BF_MONO}, {BDR_RAISEDINNER, BF_RECT},
      {BDR_SUNKENOUTER, BF_RECT},       {EDGE_RAISED, BF_TOPLEFT},      {EDGE_SUNKEN, BF_BOTTOMRIGHT},
  };
  for (int i = 0; i < 12; ++i) {
    Rect r = Rect::FromXYWH(130 + (i % 2) * 48, 12 + (i / 2) * 32, 40, 26);
    c.DrawEdge(r, cases[i].edge, cases[i].flags | BF_ADJUST);
    c.Brush.Color = i % 2 ? clWhite : clYellow;
    c.FillRect(r.Inflate(-2, -2));
  }
  Rect r{10, 105, 110, 195};
  c.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST);
  c.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  c.Brush = Brush{clWhite, BrushStyle::Solid, {}};
  c.FillRect(r);
}

void Blits(Canvas& c) {
  Panel(c, {10, 490, 470, 710}, "StretchBlt 4x, 3x, mirrored, shrunk; BitBlt with black outside");
  Bitmap icon(12, 12, clWhite);
  {
    Canvas ic(icon);
    ic.Brush.Color = clYellow;
    ic.Ellipse(0, 0, 12, 12);
    ic.SetPixel(4, 4, clBlack);
    ic.SetPixel(7, 4, clBlack);
    ic.Pen.Color = clRed;
    ic.MoveTo(3, 8);
    ic.LineTo(9, 8);
    ic.SetPixel(0, 0, clBlue);
  }
  c.BitBlt(10, 10, 12, 12, icon, 0, 0);
  c.StretchBlt(30, 10, 48, 48, icon, 0, 0, 12, 12);
  c.StretchBlt(90, 10, 36, 36, icon, 0, 0, 12, 12);
  c.StretchBlt(186, 10, -48, 48, icon, 0, 0, 12, 12);
  c.StretchBlt(200, 58, 48, -48, icon, 0, 0, 12, 12);
  c.StretchBlt(260, 10, 50, 50, icon, 0, 0, 12, 12);
  c.StretchBlt(320, 10, 7, 7, icon, 0, 0, 12, 12);
  c.BitBlt(340, 10, 24, 24, icon, -6, -6);
  c.Brush = Brush{clAqua, BrushStyle::Solid, {}};
  c.StretchBlt(380, 10, 48, 48, icon, 0, 0, 12, 12, MERGECOPY);
  // The whole card so far, shrunk into the panel.
  c.StretchBlt(10, 75, 240, 120, c.Target(), 0, 0, kWidth, kHeight / 2 + 130);
}

void Texts(Canvas& c) {
  Panel(c, {480, 490, 950, 710}, "TextOut with escapement 0, 90, 180, 270 and 30 degrees");
  const int x = 200, y = 100;
  c.Pen.Color = clRed;
  c.MoveTo(x - 90, y);
  c.LineTo(x + 91, y);
  c.MoveTo(x, y - 90);
  c.LineTo(x, y + 91);
  c.Font = Font{};
  c.Font.Name = "DejaVu Sans";
  c.Font.Height = -14;
  const std::pair<int, TColor> turns[] = {{0, clBlack}, {900, clBlue}, {1800, clGreen}, {2700, clPurple}, {300, clMaroon}};
  for (const auto& [esc, colour] : turns) {
    c.Font.Escapement = esc;
    c.Font.Orientation = esc;
    c.Font.Color = colour;
    c.SelectFont(c.Font);
    c.BkMode = esc == 300 ? BkMode::Opaque : BkMode::Transparent;
    c.BkColor = clYellow;
    c.TextOut(x, y, "Vantrel " + std::to_string(esc / 10));
  }
  c.Font.Escapement = 0;
  c.Font.Orientation = 0;
  c.Font.Style = fsBold;
  c.Font.Color = clBlack;
  c.SelectFont(c.Font);
  Rect box{310, 20, 460, 180};
  c.Brush.Color = clInfoBk;
  c.FillRect(box);
  c.BkMode = BkMode::Transparent;
  c.DrawText("DrawText centres and wraps words inside its box.", box, DT_CENTER | DT_WORDBREAK);
}

}  // namespace

gfx::Bitmap CanvasCard() {
  Bitmap card(kWidth, kHeight, kPaper);
  Canvas c(card);
  Lines(c);
  PenStyles(c);
  Rectangles(c);
  Ellipses(c);
  Polygons(c);
  Brushes(c);
  Stipples(c);
  RegionsAndEdges(c);
  Blits(c);
  Texts(c);
  return card;
}

int main(int argc, char** argv) {
  struct Card {
    std::string_view Option;
    const char* DefaultFile;
    gfx::Bitmap (*Make)();  // null: the card writes its file itself
  };
  static const Card cards[] = {{"", "testcard.png", CanvasCard},
                               {"--widgets", "widgetcard.png", nullptr},
                               {"--ruler", "ruler-testcard.png", RulerCard},
                               {"--effectlabel", "effectlabel-testcard.png", EffectLabelCard},
                               {"--shapes", "shapes-testcard.png", ShapeCard},
                               {"--measure", "measure-testcard.png", MeasureCard}};
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const Card* card = &cards[0];
  if (!args.empty())
    for (const Card& k : cards)
      if (!k.Option.empty() && args.front() == k.Option) {
        card = &k;
        args.erase(args.begin());
        break;
      }
  if (args.size() > 1 || (!args.empty() && (args[0] == "--help" || args[0] == "-h"))) {
    std::fprintf(stderr, "usage: vantrel-testcard [--widgets|--ruler|--effectlabel|--shapes|--measure] [OUT.png]\n");
    return args.size() > 1 ? 2 : 0;
  }
  const std::string out = args.empty() ? card->DefaultFile : std::string(args[0]);
  try {
    if (!card->Make) return WidgetCard(out);
    const Bitmap picture = card->Make();
    WritePngFile(out, picture);
    std::printf("wrote %s (%dx%d)\n", out.c_str(), picture.Width(), picture.Height());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantrel-testcard: %s\n", e.what());
    return 1;
  }
}
