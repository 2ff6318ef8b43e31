#pragma once
// A virtual desktop with the application object on it, for the toolkit core's tests.
#include <gtest/gtest.h>

#include <memory>

#include "graphics/Font.h"
#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"

class CoreTest : public ::testing::Test {
 protected:
  CoreTest() {
    gfx::SetBuiltinFontOnly(true);
    plat::Platform::SetCurrent(&Desk);
    App = std::make_unique<TApplication>();
    // Posted messages and painting run between events, as on a real desktop.
    Desk.SetIdleProcessor([this] { App->ProcessIdleWork(); });
  }
  ~CoreTest() override {
    Desk.SetIdleProcessor(nullptr);
    Desk.SetWaitHandler(nullptr);
    App.reset();
    plat::Platform::SetCurrent(nullptr);
  }

  // A plain form owned by the application, shown at BOUNDS.
  TForm* ShowForm(Rect bounds, TBorderStyle style = bsNone, const char* name = nullptr) {
    TForm* f = TComponent::Create<TForm>(App.get());
    if (name) f->SetName(name);
    f->SetBorderStyle(style);
    f->SetBoundsRect(bounds);
    f->Show();
    Settle();
    return f;
  }
  // Works off every queued event and paints.
  void Settle() {
    Desk.Flush();
    App->ProcessMessages();
  }
  gfx::TColor Pixel(int x, int y) { return Desk.Screen().Get(x, y); }
  plat::VirtualWindow* WindowOf(TForm* f) { return static_cast<plat::VirtualWindow*>(f->NativeWindow()); }

  plat::VirtualDesktop Desk;
  std::unique_ptr<TApplication> App;
};
