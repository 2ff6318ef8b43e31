#pragma once
// A popup menu that draws its own window: it unfolds (or slides) open frame by frame, shows
// the items' check-area pictures (TMenuItemBitmaps), plays the desktop's "MenuPopup" and
// "MenuCommand" sounds, and reports a chosen command (OnMenuCommand) and the closing of the
// menu (OnMenuClose).
//
// Popup returns after the opening animation; the menu then stays open, without a loop of its
// own, until a command is chosen or the menu is dismissed. While it is open it watches the
// program's input through an application hook and holds the pointer and the keyboard:
// Up / Down move the highlight (separators skipped, wrapping round), Enter chooses, Escape
// closes, a letter chooses the item whose caption marks it with '&' (a beep when none does);
// the left button released over a command chooses it, a press outside the menu closes it.
//
// A command produces, in order: OnMenuClose (Sender: the item), the "MenuCommand" sound,
// OnMenuCommand (Sender: the item), the item's OnClick. Handlers may destroy the menu or its
// owner; nothing here touches them afterwards. Items with sub-items are listed but open no
// sub-menu.
#include <memory>

#include "graphics/Font.h"
#include "menu/TMenuOptions.h"
#include "toolkit/menus/TMenuKeyNavigation.h"
#include "toolkit/menus/TPopupMenu.h"

class TAnimatedMenuWindow;

class TAnimatedPopupMenu : public TPopupMenu, private TMenuKeyNavigation {
 public:
  explicit TAnimatedPopupMenu(TComponent* AOwner);
  ~TAnimatedPopupMenu() override;

  void Popup(int x, int y) override;
  bool IsOpen() const override { return FOpen; }
  void CloseMenu() override;
  // Chooses ITEM as a left release over it does (see above); ignored during the animation.
  void ChooseItem(TMenuItem* item) override;

  TMenuOptions& Options() { return FOptions; }
  const TMenuOptions& Options() const { return FOptions; }
  int StatusBarIndex() const { return FStatusBarIndex; }
  void SetStatusBarIndex(int value) { FStatusBarIndex = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value) { FParentShowHint = value; }
  // The menu font: the owner form's (ParentFont), the desktop's menu face (SystemFont), or Font.
  const gfx::Font& Font() const { return FFont; }
  void SetFont(const gfx::Font& value) { FFont = value; FParentFont = false; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value) { FParentFont = value; }
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool value) { FSystemFont = value; }

  // True while the opening animation runs (a release chooses nothing then).
  bool Animating() const { return FAnimating; }
  // Whether the menu window holds the pointer and the keyboard.
  bool Grabbed() const { return FGrabbed; }
  TAnimatedMenuWindow* MenuWindow() const { return FWindow.get(); }

  TNotifyEvent OnMenuCommand;
  TNotifyEvent OnMenuClose;

  // An item changed while the menu shows: it is drawn again.
  void MenuChanged(TMenuItem* item) override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  friend class TAnimatedMenuWindow;
  // Hides the window and lets go of the input; SENDER goes to OnMenuClose. False when a
  // handler destroyed the menu.
  bool Shut(TMenuItem* sender);
  void ShrinkWindow();
  void InstallHook();
  void RemoveHook();
  void HandleKey(int key);
  void MoveHighlight(int step) override;
  void ChooseHighlighted() override;
  void CloseLevel() override;
  void Accelerator(int key);
  void CloseOtherMenus();
  gfx::Font MenuFont() const;

  TMenuOptions FOptions;
  int FStatusBarIndex = 0;
  bool FShowHint = false;
  bool FParentShowHint = true;
  gfx::Font FFont;
  bool FParentFont = true;
  bool FSystemFont = false;

  std::unique_ptr<TAnimatedMenuWindow> FWindow;
  bool FOpen = false;
  bool FAnimating = false;
  bool FGrabbed = false;
  int FHookId = 0;
  unsigned FGeneration = 0;  // one per popup: a popup run inside another one's animation wins
  // False once the menu is gone, for code that called out to handlers.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
