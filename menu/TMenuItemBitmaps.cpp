#include "menu/TMenuItemBitmaps.h"

#include <charconv>

#include "toolkit/core/PropText.h"
#include "toolkit/core/ResourceLoader.h"
#include "toolkit/core/TApplication.h"

TMenuItemBitmaps::TMenuItemBitmaps(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItemBitmaps::~TMenuItemBitmaps() {
  if (FMenuItem) RemoveFreeNotification(FMenuItem);
}

gfx::Bitmap TMenuItemBitmaps::LoadResource(const std::string& name) {
  if (name.empty()) return {};
  if (name[0] != '#') return LoadBitmapResource(name);
  unsigned number = 0;
  const char* first = name.data() + 1;
  const char* last = name.data() + name.size();
  auto [p, ec] = std::from_chars(first, last, number);
  if (first == last || ec != std::errc() || p != last) {
    if (Application) Application->MessageBox("'" + name + "' is not a valid resource name", "Error", MB_OK | MB_ICONERROR);
    return {};
  }
  return LoadBitmapResource(std::to_string(number));
}

void TMenuItemBitmaps::SetCheckedBitmap(gfx::Bitmap value) {
  FCheckedBitmap = std::move(value);
  if (FSingleBitmap) FUncheckedBitmap = FCheckedBitmap;
  Apply();
}

void TMenuItemBitmaps::SetUncheckedBitmap(gfx::Bitmap value) {
  FUncheckedBitmap = std::move(value);
  if (FSingleBitmap) FCheckedBitmap = FUncheckedBitmap;
  Apply();
}

void TMenuItemBitmaps::SetMenuItem(TMenuItem* value) {
  if (value == FMenuItem) return;
  if (FMenuItem) RemoveFreeNotification(FMenuItem);
  FMenuItem = value;
  if (FMenuItem) FreeNotification(FMenuItem);
  Apply();
}

void TMenuItemBitmaps::SetSingleBitmap(bool value) {
  if (value == FSingleBitmap) return;
  FSingleBitmap = value;
  if (FSingleBitmap) {
    if (FCheckedBitmap.IsEmpty()) FCheckedBitmap = FUncheckedBitmap;
  } else if (FUncheckedBitmap.IsEmpty()) {
    FUncheckedBitmap = FCheckedBitmap;
  }
  Apply();
}

void TMenuItemBitmaps::SetCheckedBmpResource(const std::string& value) {
  if (value == FCheckedBmpResource) return;
  FCheckedBmpResource = value;
  SetCheckedBitmap(LoadResource(value));
}

void TMenuItemBitmaps::SetUncheckedBmpResource(const std::string& value) {
  if (value == FUncheckedBmpResource) return;
  FUncheckedBmpResource = value;
  SetUncheckedBitmap(LoadResource(value));
}

void TMenuItemBitmaps::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  if (!FEnabled) {
    if (FMenuItem && FMenuItem->Parent()) FMenuItem->SetCheckBitmaps({}, {});
    return;
  }
  Apply();
}

void TMenuItemBitmaps::Apply() {
  if (!FEnabled || !FMenuItem || !FMenuItem->Parent()) return;
  FMenuItem->SetCheckBitmaps(FUncheckedBitmap, FCheckedBitmap);
}

void TMenuItemBitmaps::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FMenuItem) FMenuItem = nullptr;
}

std::optional<std::string> TMenuItemBitmaps::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "MenuItem")) return FMenuItem ? FMenuItem->Name() : std::string();
  if (PropText::Is(name, "SingleBitmap")) return PropText::Bool(FSingleBitmap);
  if (PropText::Is(name, "Enabled")) return PropText::Bool(FEnabled);
  if (PropText::Is(name, "CheckedBmpResource")) return FCheckedBmpResource;
  if (PropText::Is(name, "UncheckedBmpResource")) return FUncheckedBmpResource;
  return TComponent::GetPropText(name);
}
