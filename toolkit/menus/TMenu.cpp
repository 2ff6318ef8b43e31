#include "toolkit/menus/TMenu.h"

namespace {

TMenuItem* FindIn(const TMenuItem* parent, TShortCut shortCut) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Enabled()) continue;
    if (item->ShortCut() == shortCut && !item->IsLine()) return item;
    if (TMenuItem* found = FindIn(item, shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(TComponent::Make<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() = default;

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
  if (shortCut == scNone) return nullptr;
  return FindIn(FItems.get(), shortCut);
}

bool TMenu::IsShortCut(int key, TShiftState shift) {
  TMenuItem* item = FindShortCut(ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}
