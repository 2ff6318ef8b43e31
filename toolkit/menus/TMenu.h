#pragma once
// The common part of main and popup menus: a root item holding the entries, and shortcut
// lookup.
#include <memory>

#include "toolkit/menus/TMenuItem.h"

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return FItems.get(); }

  // The enabled item (at any depth, visible or not, as hidden menus keep their shortcuts)
  // whose shortcut is SHORTCUT, or nullptr.
  TMenuItem* FindShortCut(TShortCut shortCut) const;
  // Clicks the item with the shortcut of KEY + SHIFT; true when there was one.
  bool IsShortCut(int key, TShiftState shift);

  // An item of this menu changed (caption, check mark, visibility, children...).
  virtual void MenuChanged(TMenuItem* item) { (void)item; }

 private:
  std::unique_ptr<TMenuItem> FItems;
};
