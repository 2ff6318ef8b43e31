#pragma once
// The window of an open menu: a borderless popup-kind form listing the visible entries of one
// menu item, self-drawn in the classic style (raised frame, highlight bar, check marks, radio
// bullets, shortcut column, submenu arrows). A submenu opens as another TMenuForm beside it.
//
// While the menu is open it watches all input through an application message hook: keys
// navigate (Up, Down, Right opens a submenu, Left and Escape close one, Enter chooses, a
// letter chooses the item with that access key), and a press outside every menu window
// closes the menu without a choice.
#include <functional>
#include <memory>

#include "toolkit/core/TForm.h"
#include "toolkit/menus/TMenuItem.h"
#include "toolkit/menus/TMenuKeyNavigation.h"

class TMenuForm : public TForm, private TMenuKeyNavigation {
 public:
  explicit TMenuForm(TComponent* AOwner);
  ~TMenuForm() override;

  // Called once, when the whole menu closed: with the chosen item, or nullptr.
  using TDoneEvent = std::function<void(TMenuItem* chosen)>;

  // Opens the entries of ITEMS at screen point (X, Y) (moved to stay on the screen).
  void Popup(TMenuItem* items, int x, int y, TDoneEvent onDone);
  // Open: this menu window (the root) or any submenu of it is showing.
  bool IsOpen() const { return FOpen; }
  // Closes this menu and all its submenus; the root then reports CHOSEN.
  void CloseMenu(TMenuItem* chosen);

  TMenuItem* Source() const { return FItems; }
  // A menu dropped from a menu bar: Left on the top level, or Right on an entry without a
  // submenu, asks the bar for the neighbouring menu (-1 or +1).
  std::function<void(int direction)> OnNavigate;
  int Selected() const { return FSelected; }
  void SetSelected(int index);
  TMenuForm* SubMenu() const { return FSubMenu && FSubMenu->FOpen ? FSubMenu.get() : nullptr; }
  // Index of the entry (among Source's children) at client point P, or -1; its rectangle.
  int ItemAt(Point p) const;
  Rect ItemRect(int index) const;

  // Sizes in pixels.
  static constexpr int kFrame = 3;        // raised edge and one pixel of menu colour
  static constexpr int kCheckWidth = 18;  // check mark or picture column
  static constexpr int kArrowWidth = 16;  // submenu arrow column
  static constexpr int kShortCutGap = 12;
  static constexpr int kLineHeight = 8;   // separator

  plat::WindowRole WindowRole() const override { return plat::WindowRole::PopupMenu; }

 protected:
  void Paint() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void Layout();
  int ItemHeight(const TMenuItem* item) const;
  void OpenSubMenu(int index, bool selectFirst);
  void CloseSubMenu();
  void Choose(int index);
  void MoveHighlight(int step) override;
  void ChooseHighlighted() override;
  void CloseLevel() override;
  bool OwnsWindow(const TControl* control) const;
  TMenuForm* Root();
  TMenuForm* Innermost();
  void HandleKey(int key);
  void HandleChar(char c);
  void InstallHook();
  void RemoveHook();

  TMenuItem* FItems = nullptr;
  TMenuForm* FParentMenu = nullptr;
  std::unique_ptr<TMenuForm> FSubMenu;
  int FSubMenuIndex = -1;
  int FSelected = -1;
  bool FOpen = false;
  int FTextHeight = 13;
  int FCaptionWidth = 0;
  int FShortCutWidth = 0;
  int FHookId = 0;
  TDoneEvent FOnDone;
};
