#include "toolkit/TPopupMenu.h"

#include "toolkit/TMenuForm.h"

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  if (!FWindow) FWindow = TComponent::Make<TMenuForm>(nullptr);
  FWindow->Popup(Items(), x, y, [this](TMenuItem* chosen) {
    if (chosen) chosen->Click();
    if (OnClose) OnClose(this);
  });
}

bool TPopupMenu::IsOpen() const { return FWindow && FWindow->IsOpen(); }

void TPopupMenu::CloseMenu() {
  if (FWindow) FWindow->CloseMenu(nullptr);
}
