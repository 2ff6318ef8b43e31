#pragma once
// A popup (context) menu. Popup(x, y) opens it at a screen point and returns at once; the
// chosen item's OnClick runs when the user picks it, after the menu has closed. A click
// outside the menu or Escape closes it without a command.
#include <memory>

#include "toolkit/menus/Forward.h"
#include "toolkit/menus/TMenu.h"

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // Menus that draw their own window override these three.
  virtual void Popup(int x, int y);
  virtual bool IsOpen() const;
  virtual void CloseMenu();  // closes it without a command
  // While the menu is open: chooses ITEM as a click on it would (nothing for a separator, a
  // disabled or hidden item, or an item of another menu).
  virtual void ChooseItem(TMenuItem* item);

  // Whether a right click on a control that uses this menu opens it (for the controls that
  // look at it), and the component the menu was last opened for.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
  // The menu window while it exists (for tests and the scenario runner).
  TMenuForm* Window() const { return FWindow.get(); }

  // Before the menu opens (handlers may change the items), and after it closed (after the
  // command, when one was chosen).
  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::unique_ptr<TMenuForm> FWindow;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;  // not owned
};
