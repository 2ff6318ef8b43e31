#pragma once
// A list of text lines with one selected line: sunken border, highlight bar, focus
// rectangle; the arrows, Home, End, Page Up / Down and the mouse wheel move through it. It
// has no scroll bar: it scrolls to keep the selected line in view.
#include <string>
#include <vector>

#include "toolkit/core/TCustomControl.h"

class TListBox : public TCustomControl {
 public:
  explicit TListBox(TComponent* AOwner);

  const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(std::vector<std::string> items);  // selection cleared, scrolled to the top
  void AddItem(const std::string& item);
  void Clear() { SetItems({}); }
  int Count() const { return int(FItems.size()); }

  int ItemIndex() const { return FItemIndex; }  // -1: none
  void SetItemIndex(int value);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int value);
  int ItemHeight() const;
  // Lines that fit in the list.
  int VisibleCount() const;
  // The line at client point P, or -1; the rectangle of line INDEX (client pixels).
  int ItemAtPos(Point p) const;
  Rect ItemRect(int index) const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

  // The selection changed through the user (mouse or keys).
  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(int& key, TShiftState shift) override;
  bool WantsKey(int key) const override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, Point mousePos) override;
  void WndProc(TMessage& message) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  void SelectByUser(int index);
  void ScrollIntoView();
  std::vector<std::string> FItems;
  int FItemIndex = -1;
  int FTopIndex = 0;
  bool FTracking = false;
};
