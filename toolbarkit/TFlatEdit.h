#pragma once
// A single-line edit with a flat border: two rings of button face around a ring of window
// colour while cold, a thin sunken edge while hot (focused, or under the mouse while the
// focus is not in another flat edit).
#include <string>

#include "toolkit/controls/TCustomEdit.h"

class TFlatEdit : public TCustomEdit {
 public:
  explicit TFlatEdit(TComponent* AOwner);
  ~TFlatEdit() override;

  static const char* Version() { return "1.0"; }
  // Whether CONTROL is a flat edit (of this class or one derived from it).
  static bool IsFlatEdit(const TControl* control);

  bool MouseInControl() const { return FMouseInControl; }
  // Whether the border is drawn hot now.
  virtual bool Hot() const;

  void SetParent(TWinControl* value) override;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void PaintBorder(TCanvas& canvas, Rect& r) override;
  int BorderInset() const override { return 3; }
  void WndProc(TMessage& message) override;
  void Loaded() override;
  // Height := the font's character cell + 6.
  void AdjustHeight();
  // The same, or on a form not shown yet (or on none yet) as the form first shows.
  void FitHeight();
  // Redraws the border (the whole field: it is drawn with the text).
  virtual void RedrawBorder();

 private:
  bool FMouseInControl = false;
  bool FHeightPending = false;  // see FitHeight
};
