#pragma once
// The window of an open TAnimatedPopupMenu: a borderless popup listing the menu's visible
// items, drawn by itself (raised frame, rows, separators, check squares with the items'
// pictures, highlight). During the opening animation the window is smaller than the menu and
// shows the part of it at the corner it grows from.
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/core/TForm.h"
#include "toolkit/menus/TMenuItem.h"

class TAnimatedPopupMenu;

class TAnimatedMenuWindow : public TForm {
 public:
  explicit TAnimatedMenuWindow(TComponent* AOwner);
  ~TAnimatedMenuWindow() override;

  static constexpr int kFrame = 2;  // the raised edge round the menu

  plat::WindowRole WindowRole() const override { return plat::WindowRole::PopupMenu; }

  void SetMenu(TAnimatedPopupMenu* menu) { FMenu = menu; }
  TAnimatedPopupMenu* Menu() const { return FMenu; }

  // Measures the items with FONT: the full size of the menu.
  gfx::Size Layout(const gfx::Font& font);
  gfx::Size FullSize() const { return FFullSize; }
  // The menu's place when the window is smaller: anchored at the right and / or the bottom.
  void SetAnchors(bool right, bool bottom);
  bool AnchorRight() const { return FAnchorRight; }
  bool AnchorBottom() const { return FAnchorBottom; }

  // The highlighted item (its index among the menu's items), -1 for none.
  int Selected() const { return FSelected; }
  void SetSelected(int index);
  // Moves the highlight to the previous or next item that is not a separator, wrapping round.
  void MoveSelection(int step);
  TMenuItem* SelectedItem() const;

  // The item (index among the menu's items) at window point P, separators included; -1 for none.
  int ItemAt(gfx::Point p) const;
  // The row of item INDEX in window pixels (empty for a hidden item).
  gfx::Rect ItemRect(int index) const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TMenuItem* Items() const;
  int RowHeight(const TMenuItem* item) const;
  // Where the full menu's top-left lies in the window.
  gfx::Point Offset() const;
  void PaintItem(TCanvas& canvas, int index, const gfx::Rect& row);
  void PaintCheckArea(TCanvas& canvas, const TMenuItem* item, const gfx::Rect& row, bool highlighted);

  TAnimatedPopupMenu* FMenu = nullptr;  // not owned: the menu owns this window
  gfx::Font FFont;
  gfx::Size FFullSize;
  int FCaptionWidth = 0;
  int FShortCutWidth = 0;
  bool FAnchorRight = false;
  bool FAnchorBottom = false;
  int FSelected = -1;
  gfx::Bitmap FCheckMark;
  gfx::Bitmap FRadioItem;
};
