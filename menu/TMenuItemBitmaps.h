#pragma once
// Gives one menu item the pictures of its check area: an unchecked and a checked bitmap (one
// serves both with SingleBitmap). They come from bitmaps set in code or from the program's
// resources by name ("#12" names the resource "12"). The pictures reach the item whenever
// anything here changes and before every popup of an animated menu of the same owner; with
// no item, or not enabled, this changes nothing, and switching Enabled off takes them away.
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/core/TComponent.h"
#include "toolkit/menus/TMenuItem.h"

class TMenuItemBitmaps : public TComponent {
 public:
  explicit TMenuItemBitmaps(TComponent* AOwner);
  ~TMenuItemBitmaps() override;

  const gfx::Bitmap& CheckedBitmap() const { return FCheckedBitmap; }
  void SetCheckedBitmap(gfx::Bitmap value);
  const gfx::Bitmap& UncheckedBitmap() const { return FUncheckedBitmap; }
  void SetUncheckedBitmap(gfx::Bitmap value);
  TMenuItem* MenuItem() const { return FMenuItem; }
  void SetMenuItem(TMenuItem* value);
  bool SingleBitmap() const { return FSingleBitmap; }
  void SetSingleBitmap(bool value);
  const std::string& CheckedBmpResource() const { return FCheckedBmpResource; }
  void SetCheckedBmpResource(const std::string& value);
  const std::string& UncheckedBmpResource() const { return FUncheckedBmpResource; }
  void SetUncheckedBmpResource(const std::string& value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // Hands the pictures to the item (when enabled and the item sits in a menu).
  void Apply();

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The picture of resource NAME; an empty bitmap, after an error box, for a bad "#" name.
  static gfx::Bitmap LoadResource(const std::string& name);

  gfx::Bitmap FCheckedBitmap;
  gfx::Bitmap FUncheckedBitmap;
  TMenuItem* FMenuItem = nullptr;  // not owned
  bool FSingleBitmap = false;
  std::string FCheckedBmpResource;
  std::string FUncheckedBmpResource;
  bool FEnabled = true;
};
