#pragma once
// A menu entry: caption ('&' marks the access key, "-" makes a separator line), check mark,
// radio grouping (checking a RadioItem unchecks the other RadioItems of its GroupIndex among
// its siblings), keyboard shortcut, visibility, enabled state, nested items and OnClick.
//
// Items are components (so a form finds them by name); the parent item lists its children
// without owning them. An item destroyed before its parent leaves the parent's list.
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "toolkit/core/TComponent.h"
#include "toolkit/menus/Forward.h"

// A shortcut: the virtual key in the low byte plus scShift / scCtrl / scAlt.
using TShortCut = std::uint16_t;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

TShortCut ShortCut(int key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift);
// "Ctrl+C", "Shift+Ctrl+F1", "F12", "Del"...; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The caption without its '&' marks ("&&" stays one '&').
std::string StripHotkey(const std::string& caption);
// The caption's access key in lower case, or 0.
char GetHotkey(const std::string& caption);

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  bool IsLine() const { return FCaption == "-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  // Toggles Checked on every click (the check mark then follows the clicks by itself).
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value) { FShortCut = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // The default entry of a menu is drawn bold (the command a double click would run).
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int value) { FHelpContext = value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value) { FHint = value; }
  // A small picture shown left of the caption (16 x 16; the bottom-left colour is transparent).
  const gfx::Bitmap& Bitmap() const { return FBitmap; }
  void SetBitmap(gfx::Bitmap value);
  // The pictures of the check area for the unchecked and the checked state (SetMenuItemBitmaps):
  // self-drawn menus show them in place of the plain check mark; empty bitmaps for none.
  const gfx::Bitmap& UncheckedBitmap() const { return FUncheckedBitmap; }
  const gfx::Bitmap& CheckedBitmap() const { return FCheckedBitmap; }
  void SetCheckBitmaps(gfx::Bitmap unchecked, gfx::Bitmap checked);

  // Children.
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int index) const;  // nullptr when out of range
  TMenuItem* Parent() const { return FParent; }
  int IndexOf(const TMenuItem* item) const;
  // Links ITEM as the last (or INDEX-th) child; ITEM leaves its previous parent first.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  // Makes a new item owned by this item's owner (the menu's owner for a menu's root) and
  // adds it: the quick way to build a menu in code.
  TMenuItem* NewItem(const std::string& name, const std::string& caption, TNotifyEvent onClick = {},
                     TShortCut shortCut = scNone);
  // The menu this item belongs to (through its parents), or nullptr.
  TMenu* Menu() const;
  // The first child whose caption, without '&', is CAPTION (no case), or nullptr.
  TMenuItem* Find(const std::string& caption) const;
  // Enabled here and in every parent.
  bool EffectivelyEnabled() const;

  // Performs the item's command: AutoCheck toggles the check mark, then OnClick.
  virtual void Click();

  std::optional<std::string> GetPropText(std::string_view name) const override;

  TNotifyEvent OnClick;

 private:
  friend class TMenu;
  void Changed();
  void UncheckGroup();

  std::string FCaption;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  bool FEnabled = true;
  bool FDefault = false;
  int FHelpContext = 0;
  std::string FHint;
  gfx::Bitmap FBitmap;
  gfx::Bitmap FUncheckedBitmap;
  gfx::Bitmap FCheckedBitmap;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item only
};
