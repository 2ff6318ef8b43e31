#pragma once
// A windowed control that paints itself: the background is erased with Color, then Paint()
// draws with Canvas(); windowed children are painted after it, on top.
#include <memory>

#include "toolkit/core/TControlCanvas.h"
#include "toolkit/core/TWinControl.h"

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintControl(TCanvas& canvas) override;

 private:
  TControlCanvas FCanvas;
};
