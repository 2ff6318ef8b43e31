#pragma once
// A popup (context) menu. Popup(x, y) opens it at a screen point and returns at once; the
// chosen item's OnClick runs when the user picks it, after the menu has closed. A click
// outside the menu or Escape closes it without a command.
#include <memory>

#include "toolkit/TMenu.h"

class TMenuForm;

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  void Popup(int x, int y);
  bool IsOpen() const;
  void CloseMenu();  // closes it without a command
  // The menu window while it exists (for tests and the scenario runner).
  TMenuForm* Window() const { return FWindow.get(); }

  // Before the menu opens (handlers may change the items), and after it closed (after the
  // command, when one was chosen).
  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

 private:
  std::unique_ptr<TMenuForm> FWindow;
};
