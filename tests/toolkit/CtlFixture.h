#pragma once
// A virtual desktop with the application object, for the tests of the standard controls and
// dialogs. Modal loops are driven by Steps: each time a loop has nothing to do, the next step
// runs (typically injecting input); when the steps run out, every modal form is cancelled so a
// failing test cannot hang.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "graphics/Font.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"

class CtlTest : public ::testing::Test {
 protected:
  CtlTest() {
    gfx::SetBuiltinFontOnly(true);
    plat::Platform::SetCurrent(&Desk);
    App = std::make_unique<TApplication>();
    Desk.SetIdleProcessor([this] { App->ProcessIdleWork(); });
    Desk.SetWaitHandler([this] {
      if (!Steps.empty()) {
        auto step = std::move(Steps.front());
        Steps.pop_front();
        step();
        return true;
      }
      ++StepsExhausted;
      for (TForm* f : App->ModalForms()) f->SetModalResult(mrCancel);
      return true;
    });
  }
  ~CtlTest() override {
    Desk.SetIdleProcessor(nullptr);
    Desk.SetWaitHandler(nullptr);
    App.reset();
    plat::Platform::SetCurrent(nullptr);
  }

  // A borderless form owned by the application, shown at BOUNDS.
  TForm* ShowForm(Rect bounds, TBorderStyle style = bsNone, const char* name = "frmTest") {
    TForm* f = TComponent::Create<TForm>(App.get());
    f->SetName(name);
    f->SetBorderStyle(style);
    f->SetBoundsRect(bounds);
    f->Show();
    Settle();
    return f;
  }
  template <class T>
  T* Add(TForm* form, Rect bounds, const char* name = nullptr) {
    T* c = TComponent::Create<T>(form);
    if (name) c->SetName(name);
    c->SetParent(form);
    c->SetBoundsRect(bounds);
    return c;
  }
  void Settle() {
    Desk.Flush();
    App->ProcessMessages();
  }
  void ClickAt(int x, int y) {
    Desk.InjectMouseMove(x, y);
    Desk.InjectClick();
  }
  void Key(int vk, plat::ShiftState mods = 0) { Desk.InjectKey(vk, mods); }
  gfx::TColor Pixel(int x, int y) { return Desk.Screen().Get(x, y); }
  // A modal loop's next step: STEP runs when the loop waits.
  void Then(std::function<void()> step) { Steps.push_back(std::move(step)); }

  plat::VirtualDesktop Desk;
  std::unique_ptr<TApplication> App;
  std::deque<std::function<void()>> Steps;
  int StepsExhausted = 0;
};

constexpr gfx::TColor kFace = 0xC0C0C0, kShadow = 0x808080, kHighlight = 0xFFFFFF;
