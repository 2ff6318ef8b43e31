#pragma once
// A form's main menu. Owned by a form, it shows a menu bar at the top of the form's client
// area while any top-level entry is visible, and runs its items' shortcuts for the form
// (before the form's key preview, as classic menu shortcuts do), also while the entries are
// hidden.
#include "toolkit/core/Forward.h"
#include "toolkit/menus/Forward.h"
#include "toolkit/menus/TMenu.h"

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;

  void MenuChanged(TMenuItem* item) override;
  // The bar control on the owner form (nullptr without a form owner).
  TMenuBar* Bar() const { return FBar; }
  TForm* Form() const { return FForm; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TForm* FForm = nullptr;
  TMenuBar* FBar = nullptr;
  int FHookId = 0;
};
