#pragma once
// The bar of a form's main menu: a strip along the top of the client area (aligned alTop, as
// the classic menu bar takes its room from the client area) with the visible top-level
// entries; clicking one drops its submenu down, or runs it when it has none.
#include <memory>

#include "toolkit/core/TCustomControl.h"
#include "toolkit/menus/Forward.h"

class TMenuBar : public TCustomControl {
 public:
  explicit TMenuBar(TComponent* AOwner);
  ~TMenuBar() override;

  void SetMenu(TMainMenu* menu);
  TMainMenu* Menu() const { return FMenu; }
  // Re-reads the entries: height, visibility (hidden when no top-level entry is visible).
  void MenuChanged();

  // Index of the top-level entry at client point P, or -1; its rectangle.
  int ItemAt(Point p);
  Rect ItemRect(int index);
  // Drops down the submenu of top-level entry INDEX (or runs an entry without one).
  void OpenItem(int index);
  bool DroppedDown() const;
  TMenuForm* DropDown() const { return FDropDown.get(); }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& message) override;

 private:
  int TextWidthOf(const std::string& s);
  int NeighbourOf(int index, int direction);
  TMainMenu* FMenu = nullptr;
  std::unique_ptr<TMenuForm> FDropDown;
  int FOpenIndex = -1;
  int FHotIndex = -1;
  bool FMeasurePending = false;
};
