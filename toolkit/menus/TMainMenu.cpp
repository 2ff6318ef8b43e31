#include "toolkit/menus/TMainMenu.h"

#include "toolkit/core/TApplication.h"
#include "toolkit/core/TForm.h"
#include "toolkit/menus/TMenuBar.h"

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {
  FForm = dynamic_cast<TForm*>(AOwner);
  if (FForm) {
    FBar = TComponent::Create<TMenuBar>(FForm);
    FBar->SetParent(FForm);
    FBar->SetBounds(0, 0, FForm->ClientWidth(), FBar->Height());
    FBar->SetAlign(alTop);
    FBar->SetMenu(this);
    FreeNotification(FBar);
  }
  if (Application && FForm) {
    FHookId = Application->AddMessageHook([this](TMsg& msg, bool& handled) {
      if (handled || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return;
      if (!FForm || GetParentForm(msg.hwnd) != FForm || !FForm->AcceptsInput()) return;
      const int key = int(msg.wParam);
      const auto shift = TShiftState(msg.lParam & 0xFF);
      if (IsShortCut(key, shift)) handled = true;
    });
  }
}

TMainMenu::~TMainMenu() {
  if (FHookId && Application) Application->RemoveMessageHook(FHookId);
  if (FBar) {
    FBar->SetMenu(nullptr);
    RemoveFreeNotification(FBar);
  }
}

void TMainMenu::MenuChanged(TMenuItem* item) {
  TMenu::MenuChanged(item);
  if (FBar && !Destroying()) FBar->MenuChanged();
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FBar) FBar = nullptr;
  if (operation == opRemove && component == FForm) FForm = nullptr;
}
