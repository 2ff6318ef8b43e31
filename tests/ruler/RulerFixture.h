#pragma once
// A virtual desktop with the application and one borderless form holding a ruler, for the
// control's tests. The form sits at the screen's top-left, so form pixels are screen pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Font.h"
#include "platform/virtual/VirtualDesktop.h"
#include "ruler/TRuler.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"

// A ruler that counts its paints.
class TCountingRuler : public TRuler {
 public:
  explicit TCountingRuler(TComponent* owner) : TRuler(owner) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    TRuler::Paint();
  }
};

class RulerTest : public ::testing::Test {
 protected:
  static constexpr int kLeft = 10, kTop = 10;  // the ruler's place on the form

  RulerTest() {
    gfx::SetBuiltinFontOnly(true);
    plat::Platform::SetCurrent(&Desk);
    App = std::make_unique<TApplication>();
    Desk.SetIdleProcessor([this] { App->ProcessIdleWork(); });
    Form = TComponent::Create<TForm>(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetColor(clWhite);
    Form->SetBoundsRect(Rect::FromXYWH(0, 0, 400, 200));
    Ruler = TComponent::Create<TCountingRuler>(Form);
    Ruler->SetParent(Form);
    Ruler->SetBounds(kLeft, kTop, 300, 41);
    Form->Show();
    Settle();
  }
  ~RulerTest() override {
    Desk.SetIdleProcessor(nullptr);
    App.reset();
    plat::Platform::SetCurrent(nullptr);
  }

  void Settle() {
    Desk.Flush();
    App->ProcessMessages();
  }
  // Paints the settings in effect so far and returns the number of paints it took.
  int PaintsAfterSettle() {
    const int before = Ruler->Paints;
    Settle();
    return Ruler->Paints - before;
  }
  gfx::TColor Pixel(int x, int y) { return Desk.Screen().Get(x, y); }
  // The ruler's pixels as they are on the screen.
  gfx::Bitmap OnScreen() {
    return Desk.Screen().Copy(Rect::FromXYWH(kLeft, kTop, Ruler->Width(), Ruler->Height()));
  }
  // What the ruler's current look paints, computed off screen.
  gfx::Bitmap Expected() {
    gfx::Bitmap bmp(Ruler->Width(), Ruler->Height(), 0);
    gfx::Canvas canvas(bmp);
    PaintRuler(canvas, Ruler->PaintState(), Ruler->Width(), Ruler->Height());
    return bmp;
  }

  // Mouse input in ruler coordinates, through the desktop's queue.
  void MoveTo(int x, int y) {
    Desk.InjectMouseMove(kLeft + x, kTop + y);
    Settle();
  }
  void Press(plat::MouseButton b = plat::MouseButton::Left) {
    Desk.InjectButtonDown(b);
    Settle();
  }
  void Release(plat::MouseButton b = plat::MouseButton::Left) {
    Desk.InjectButtonUp(b);
    Settle();
  }

  plat::VirtualDesktop Desk;
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TCountingRuler* Ruler = nullptr;
};
