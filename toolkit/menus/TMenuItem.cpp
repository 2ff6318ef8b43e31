#include "toolkit/menus/TMenuItem.h"

#include <algorithm>
#include <cctype>

#include "toolkit/core/Accelerator.h"
#include "toolkit/core/PropText.h"
#include "toolkit/menus/TMenu.h"

namespace {

std::string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= plat::VK_F1 && key <= plat::VK_F12) return "F" + std::to_string(key - plat::VK_F1 + 1);
  switch (key) {
    case plat::VK_BACK: return "BkSp";
    case plat::VK_TAB: return "Tab";
    case plat::VK_RETURN: return "Enter";
    case plat::VK_ESCAPE: return "Esc";
    case plat::VK_SPACE: return "Space";
    case plat::VK_PRIOR: return "PgUp";
    case plat::VK_NEXT: return "PgDn";
    case plat::VK_END: return "End";
    case plat::VK_HOME: return "Home";
    case plat::VK_LEFT: return "Left";
    case plat::VK_UP: return "Up";
    case plat::VK_RIGHT: return "Right";
    case plat::VK_DOWN: return "Down";
    case plat::VK_INSERT: return "Ins";
    case plat::VK_DELETE: return "Del";
    default: return {};
  }
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TShortCut ShortCut(int key, TShiftState shift) {
  if (key <= 0 || key > 0xFF) return scNone;
  TShortCut sc = TShortCut(key);
  if (shift & ssShift) sc |= scShift;
  if (shift & ssCtrl) sc |= scCtrl;
  if (shift & ssAlt) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(shortCut & 0xFF);
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

std::string StripHotkey(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

char GetHotkey(const std::string& caption) {
  return char(std::tolower(static_cast<unsigned char>(AcceleratorChar(caption))));
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* child : FItems) child->FParent = nullptr;
  FItems.clear();
  if (FParent) {
    auto& siblings = FParent->FItems;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    TMenuItem* parent = FParent;
    FParent = nullptr;
    if (!parent->Destroying()) parent->Changed();
  }
}

void TMenuItem::Changed() {
  if (TMenu* menu = Menu()) menu->MenuChanged(this);
}

void TMenuItem::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  Changed();
}

void TMenuItem::UncheckGroup() {
  if (!FParent || !FRadioItem) return;
  for (TMenuItem* sibling : FParent->FItems)
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
}

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  if (value) UncheckGroup();
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == FRadioItem) return;
  FRadioItem = value;
  if (FRadioItem && FChecked) UncheckGroup();
  Changed();
}

void TMenuItem::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  if (FRadioItem && FChecked) UncheckGroup();
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  Changed();
}

void TMenuItem::SetBitmap(gfx::Bitmap value) {
  FBitmap = std::move(value);
  Changed();
}

void TMenuItem::SetCheckBitmaps(gfx::Bitmap unchecked, gfx::Bitmap checked) {
  FUncheckedBitmap = std::move(unchecked);
  FCheckedBitmap = std::move(checked);
  Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= int(FItems.size())) return nullptr;
  return FItems[index];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) throw std::invalid_argument("TMenuItem::Insert: no item");
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw std::invalid_argument("TMenuItem::Insert: an item cannot contain itself");
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  if (item->FRadioItem && item->FChecked) item->UncheckGroup();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  Changed();
}

TMenuItem* TMenuItem::NewItem(const std::string& name, const std::string& caption, TNotifyEvent onClick,
                              TShortCut shortCut) {
  TComponent* owner = Owner();
  if (!owner) {
    TMenu* menu = Menu();
    owner = menu ? (menu->Owner() ? menu->Owner() : menu) : nullptr;
  }
  if (!owner) throw std::logic_error("TMenuItem::NewItem: the item has no owner to hold new items");
  TMenuItem* item = TComponent::Create<TMenuItem>(owner);
  if (!name.empty()) item->SetName(name);
  item->FCaption = caption;
  item->OnClick = std::move(onClick);
  item->FShortCut = shortCut;
  Add(item);
  return item;
}

TMenu* TMenuItem::Menu() const {
  const TMenuItem* p = this;
  while (p->FParent) p = p->FParent;
  return p->FMenu;
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  const std::string wanted = Lower(StripHotkey(caption));
  for (TMenuItem* item : FItems)
    if (Lower(StripHotkey(item->FCaption)) == wanted) return item;
  return nullptr;
}

bool TMenuItem::EffectivelyEnabled() const {
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (!p->FEnabled) return false;
  return true;
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

std::optional<std::string> TMenuItem::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Caption")) return FCaption;
  if (PropText::Is(name, "Checked")) return PropText::Bool(FChecked);
  if (PropText::Is(name, "RadioItem")) return PropText::Bool(FRadioItem);
  if (PropText::Is(name, "GroupIndex")) return PropText::Int(FGroupIndex);
  if (PropText::Is(name, "AutoCheck")) return PropText::Bool(FAutoCheck);
  if (PropText::Is(name, "ShortCut")) return PropText::Int(FShortCut);
  if (PropText::Is(name, "Visible")) return PropText::Bool(FVisible);
  if (PropText::Is(name, "Enabled")) return PropText::Bool(FEnabled);
  if (PropText::Is(name, "Default")) return PropText::Bool(FDefault);
  if (PropText::Is(name, "HelpContext")) return PropText::Int(FHelpContext);
  if (PropText::Is(name, "Hint")) return FHint;
  if (PropText::Is(name, "Count")) return PropText::Int(Count());
  return TComponent::GetPropText(name);
}
