// The effect label test card: every style in every colour scheme, the layer options, face
// gradients and turned captions, with the real fonts.
#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"
#include "tools/testcard/Cards.h"
#include "widgets/TEffectLabel.h"

namespace {


constexpr int kCellW = 170, kCellH = 64, kNoteH = 14;
constexpr TColor kPaper = 0xE8E8E8;

struct Cell {
  std::string Note;
  std::function<void(TEffectLabel&)> Setup;
  int Height = kCellH;
};


// A label that paints straight into a bitmap.
class TCardLabel : public TEffectLabel {
 public:
  using TEffectLabel::TEffectLabel;
  void PaintInto(gfx::Bitmap& target, int x, int y) {
    gfx::Canvas c(target);
    c.Origin = {x, y};
    PaintControl(c);
  }
};

int Differences(const gfx::Bitmap& a, const gfx::Bitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

}  // namespace

gfx::Bitmap EffectLabelCard() {
  // Controls live on a desktop with an application, even when they only paint into bitmaps.
  plat::VirtualDesktop desk;
  plat::Platform::SetCurrent(&desk);
  struct Unset {
    ~Unset() { plat::Platform::SetCurrent(nullptr); }
  } unset;
  auto app = std::make_unique<TApplication>();

  const std::pair<TEffectStyle, const char*> styles[] = {
      {esNone, "esNone"}, {esRaised, "esRaised"}, {esSunken, "esSunken"}, {esShadow, "esShadow"}, {esFlying, "esFlying"}};
  const std::pair<TColourScheme, const char*> schemes[] = {
      {csText, "csText"}, {csWindows, "csWindows"}, {csEmbossed, "csEmbossed"}, {csGold, "csGold"}, {csSteel, "csSteel"}};

  std::vector<std::vector<Cell>> rows;
  for (auto [style, styleName] : styles) {
    std::vector<Cell> row;
    for (auto [scheme, schemeName] : schemes)
      row.push_back({std::string(styleName) + " " + schemeName, [style, scheme](TEffectLabel& l) {
                       l.SetColourScheme(scheme);
                       l.SetEffectStyle(style);
                     }});
    rows.push_back(std::move(row));
  }
  rows.push_back({
      {"shadow eoReal, depth 3",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esShadow);
         l.SetDepthShadow(3);
         l.SetStyleShadow(eoReal);
       }},
      {"raised, both eoReal",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esRaised);
         l.SetDepthHighlight(2);
         l.SetDepthShadow(2);
         l.SetStyleShadow(eoReal);
         l.SetStyleHighlight(eoReal);
         l.Font().SetColor(0x204080);
       }},
      {"shadow eoExtrude, depth 6",
       [](TEffectLabel& l) {
         l.SetColourScheme(csGold);
         l.SetEffectStyle(esShadow);
         l.SetDepthShadow(6);
         l.SetStyleShadow(eoExtrude);
       }},
      {"shadow eoGraduated, depth 8",
       [](TEffectLabel& l) {
         l.SetColourScheme(csSteel);
         l.SetEffectStyle(esShadow);
         l.SetDirectionShadow(edDownLeft);
         l.SetDepthShadow(8);
         l.SetStyleShadow(eoGraduated);
         l.SetAlignment(taRightJustify);
       }},
      {"highlight eoGraduated up 6",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esNone);
         l.SetColourHighlight(clRed);
         l.SetDirectionHighlight(edUp);
         l.SetDepthHighlight(6);
         l.SetStyleHighlight(eoGraduated);
         l.Font().SetColor(clYellow);
       }},
  });
  rows.push_back({
      {"goVertical, red to blue",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esShadow);
         l.Font().SetStyle(gfx::fsBold);
         l.SetGraduateFrom(clRed);
         l.Font().SetColor(clBlue);
         l.SetGraduateFace(goVertical);
       }},
      {"goHorizontal, centred",
       [](TEffectLabel& l) {
         l.SetEffectStyle(esRaised);
         l.Font().SetStyle(gfx::fsBold);
         l.SetAlignment(taCenter);
         l.SetGraduateFrom(clYellow);
         l.Font().SetColor(clMaroon);
         l.SetGraduateFace(goHorizontal);
       }},
      {"opaque, sunken, word wrap",
       [](TEffectLabel& l) {
         l.SetCaption("Two words wrap");
         l.Font().SetSize(12);
         l.SetTransparent(false);
         l.SetColor(clWhite);
         l.SetEffectStyle(esSunken);
       }},
      {"flying, steel, opaque",
       [](TEffectLabel& l) {
         l.SetTransparent(false);
         l.SetColor(0xF0E0D0);
         l.SetColourScheme(csSteel);
         l.SetEffectStyle(esFlying);
       }},
      {"AsButton, pressed",
       [](TEffectLabel& l) {
         l.SetColourScheme(csEmbossed);
         l.SetAsButton(true);
         l.SetEffectStyle(esSunken);
       }},
  });
  const int tall = 150;
  rows.push_back({
      {"270 glyphs, strip font",
       [](TEffectLabel& l) {
         l.SetCaption("Mouse at pixel:");
         l.Font().SetName("Arial");
         l.Font().SetHeight(-11);
         l.Font().SetColor(clBlack);
         l.SetEffectStyle(esNone);
         l.SetAngle(270);
       },
       tall},
      {"270 upright, strip font",
       [](TEffectLabel& l) {
         l.SetCaption("12345");
         l.Font().SetName("Arial");
         l.Font().SetHeight(-11);
         l.Font().SetColor(clBlack);
         l.SetEffectStyle(esNone);
         l.SetKeepLettersVertical(true);
         l.SetAngle(270);
       },
       tall},
      {"30 glyphs, raised, opaque",
       [](TEffectLabel& l) {
         l.SetCaption("Turned");
         l.SetTransparent(false);
         l.SetColor(clWhite);
         l.SetAngle(30);
       },
       tall},
      {"45 upright, shadow, opaque",
       [](TEffectLabel& l) {
         l.SetCaption("Steps");
         l.Font().SetSize(14);
         l.SetTransparent(false);
         l.SetColor(0xD0F0F0);
         l.SetEffectStyle(esShadow);
         l.SetKeepLettersVertical(true);
         l.SetAngle(45);
       },
       tall},
      {"120 glyphs, gradient",
       [](TEffectLabel& l) {
         l.SetCaption("Gradient");
         l.Font().SetStyle(gfx::fsBold);
         l.SetEffectStyle(esShadow);
         l.SetGraduateFrom(clLime);
         l.Font().SetColor(clNavy);
         l.SetGraduateFace(goHorizontal);
         l.SetAngle(120);
       },
       tall},
  });

  int height = 0;
  for (const auto& row : rows) height += row.front().Height + kNoteH;
  gfx::Bitmap card(kCellW * 5, height, kPaper);
  gfx::Canvas c(card);
  c.Font.Name = "Arial";
  c.Font.Height = -10;
  c.SelectFont(c.Font);
  c.TextColor = clBlack;
  c.BkMode = gfx::BkMode::Transparent;

  int y = 0, inked = 0;
  for (const auto& row : rows) {
    const int h = row.front().Height;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int x = int(i) * kCellW;
      // Stripes under the cell show which labels are transparent.
      for (int sy = y; sy < y + h; sy += 8) {
        c.Brush = gfx::Brush{0xD8E4EC, gfx::BrushStyle::Solid, {}};
        c.FillRect(Rect{x, sy, x + kCellW, std::min(sy + 4, y + h)});
      }
      auto l = TComponent::Make<TCardLabel>(nullptr);
      l->SetCaption("Vantrel");
      l->SetBounds(0, 0, kCellW - 10, h - 4);
      row[i].Setup(*l);
      const gfx::Bitmap before = card.Copy(Rect::FromXYWH(x + 5, y + 2, l->Width(), l->Height()));
      l->PaintInto(card, x + 5, y + 2);
      inked += Differences(before, card.Copy(Rect::FromXYWH(x + 5, y + 2, l->Width(), l->Height()))) > 50;
      c.TextOut(x + 4, y + h + 1, row[i].Note);
      c.Pen = gfx::Pen{0xA0A0A0, 1, gfx::PenStyle::Solid};
      c.MoveTo(x + kCellW - 1, y);
      c.LineTo(x + kCellW - 1, y + h + kNoteH);
    }
    y += h + kNoteH;
    c.MoveTo(0, y - 1);
    c.LineTo(kCellW * 5, y - 1);
  }
  if (inked != int(rows.size() * 5)) throw std::runtime_error("a cell of the effect label card drew nothing");
  return card;
}
