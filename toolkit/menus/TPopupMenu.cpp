#include "toolkit/menus/TPopupMenu.h"

#include "toolkit/core/PropText.h"
#include "toolkit/menus/TMenuForm.h"

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

void TPopupMenu::ChooseItem(TMenuItem* item) {
  if (!IsOpen() || !item || item->IsLine() || !item->Visible() || !item->EffectivelyEnabled()) return;
  if (item->Count() > 0 || item->Menu() != this) return;
  FWindow->CloseMenu(item);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

std::optional<std::string> TPopupMenu::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "AutoPopup")) return PropText::Bool(FAutoPopup);
  if (PropText::Is(name, "IsOpen")) return PropText::Bool(IsOpen());
  return TMenu::GetPropText(name);
}
