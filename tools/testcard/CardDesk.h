#pragma once
// A virtual desktop with one borderless form filling it, for the cards that lay controls out
// and take the screen's picture.
#include <memory>

#include "platform/virtual/VirtualDesktop.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"

class CardDesk {
 public:
  CardDesk(int width, int height, gfx::TColor color, int fontHeight) : FDesk(gfx::Size{width, height}) {
    plat::Platform::SetCurrent(&FDesk);
    FApp = std::make_unique<TApplication>();
    FDesk.SetIdleProcessor([this] { FApp->ProcessIdleWork(); });
    FForm = TComponent::Create<TForm>(FApp.get());
    FForm->SetBorderStyle(bsNone);
    FForm->SetBounds(0, 0, width, height);
    FForm->SetColor(color);
    FForm->Font().SetName("Arial");
    FForm->Font().SetHeight(fontHeight);
    FForm->Show();
  }
  ~CardDesk() {
    FDesk.SetIdleProcessor(nullptr);
    FApp.reset();
    plat::Platform::SetCurrent(nullptr);
  }
  CardDesk(const CardDesk&) = delete;
  CardDesk& operator=(const CardDesk&) = delete;

 protected:
  plat::VirtualDesktop FDesk;
  std::unique_ptr<TApplication> FApp;
  TForm* FForm = nullptr;
};
