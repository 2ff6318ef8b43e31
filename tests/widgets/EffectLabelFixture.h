#pragma once
// Effect label tests: a virtual desktop with the application (for painting through forms and
// for mouse input), labels painted straight into bitmaps, and a reference model of the layers.
//
// The built-in face has no anti-aliasing, so plain text drawn in one colour marks exactly the
// pixels of the glyphs; the model stacks those pixel sets at the offsets a case expects.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "widgets/TEffectLabel.h"

// Exposes painting and mouse handling, and counts paints.
class TTestEffectLabel : public TEffectLabel {
 public:
  using TEffectLabel::TEffectLabel;
  int Paints = 0;

  // Paints the label into TARGET with its client area at (X, Y).
  void PaintInto(gfx::Bitmap& target, int x = 0, int y = 0) {
    gfx::Canvas c(target);
    c.Origin = {x, y};
    PaintControl(c);
  }
  void Press(int x, int y, TMouseButton b = mbLeft) { MouseDown(b, ssLeft, x, y); }
  void Drag(int x, int y, TShiftState s = ssLeft) { MouseMove(s, x, y); }
  void Release(int x, int y, TMouseButton b = mbLeft) { MouseUp(b, 0, x, y); }

 protected:
  void Paint() override {
    ++Paints;
    TEffectLabel::Paint();
  }
};

class EffectLabelTest : public ::testing::Test {
 protected:
  EffectLabelTest() {
    gfx::SetBuiltinFontOnly(true);
    plat::Platform::SetCurrent(&Desk);
    App = std::make_unique<TApplication>();
    Desk.SetIdleProcessor([this] { App->ProcessIdleWork(); });
  }
  ~EffectLabelTest() override {
    Desk.SetIdleProcessor(nullptr);
    App.reset();
    plat::Platform::SetCurrent(nullptr);
    gfx::SetBuiltinFontOnly(true);
  }

  TForm* ShowForm(Rect bounds, TColor colour) {
    TForm* f = TComponent::Create<TForm>(App.get());
    f->SetBorderStyle(bsNone);
    f->SetBoundsRect(bounds);
    f->SetColor(colour);
    f->Show();
    Settle();
    return f;
  }
  void Settle() {
    Desk.Flush();
    App->ProcessMessages();
  }

  // An unowned label with the built-in face at scale 1 (6-pixel advance, 10-pixel cell).
  static std::unique_ptr<TTestEffectLabel> MakeLabel(const std::string& caption, int width, int height) {
    auto l = TComponent::Make<TTestEffectLabel>(nullptr);
    l->SetCaption(caption);
    l->SetBounds(0, 0, width, height);
    l->Font().SetHeight(-8);
    return l;
  }
  // The label painted over a bitmap of colour BACKGROUND.
  static gfx::Bitmap Render(TTestEffectLabel& l, TColor background) {
    gfx::Bitmap b(l.Width(), l.Height(), background);
    l.PaintInto(b);
    return b;
  }

  // One layer of the model: the glyph pixels of the plain text moved by (Dx, Dy) in COLOUR.
  struct Layer {
    int Dx, Dy;
    TColor Colour;
  };
  // The plain caption as DrawText lays it out in the label's client rectangle, stacked
  // layer by layer over BACKGROUND.
  static gfx::Bitmap Model(const TEffectLabel& l, TColor background, const std::vector<Layer>& layers,
                           unsigned alignFlag = gfx::DT_LEFT) {
    gfx::Bitmap b(l.Width(), l.Height(), background);
    gfx::Canvas c(b);
    c.SelectFont(l.Font().Data());
    c.BkMode = gfx::BkMode::Transparent;
    for (const Layer& layer : layers) {
      c.TextColor = layer.Colour;
      Rect r = Rect{0, 0, l.Width(), l.Height()}.Offset(layer.Dx, layer.Dy);
      c.DrawText(l.Caption(), r, alignFlag | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS);
    }
    return b;
  }

  // Pixels of B that are not BACKGROUND.
  static std::vector<Point> Ink(const gfx::Bitmap& b, TColor background) {
    std::vector<Point> ink;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (b.At(x, y) != background) ink.push_back({x, y});
    return ink;
  }
  static Rect InkBox(const gfx::Bitmap& b, TColor background) {
    Rect box;
    for (Point p : Ink(b, background)) box = box.Union(Rect{p.x, p.y, p.x + 1, p.y + 1});
    return box;
  }
  // Number of pixels where A and B differ (both the same size), for readable failures.
  static int Differences(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
  }

  plat::VirtualDesktop Desk;
  std::unique_ptr<TApplication> App;
};
