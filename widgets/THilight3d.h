#pragma once
// The 3D look of a caption under the mouse or with the focus: a TFont3d in yellow by default,
// with one more colour for the mouse-over state.
#include "widgets/TFont3d.h"

class THilight3d : public TFont3d {
 public:
  explicit THilight3d(TNotifyEvent onChange = nullptr);

  TColor MouseOverColor() const { return FMouseOverColor; }
  void SetMouseOverColor(TColor value);

  void Assign(const TObject* source) override;

 private:
  TColor FMouseOverColor = clBtnHighlight;
};
