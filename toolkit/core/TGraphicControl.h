#pragma once
// A windowless control painted on its parent's surface, beneath the parent's windowed
// children. Canvas() is set up (origin, clip) for each Paint(); outside Paint() it draws
// directly into the form's window and the form shows it when the message is done.
#include <memory>

#include "toolkit/core/TControlCanvas.h"
#include "toolkit/core/TControl.h"

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  TCanvas& Canvas();

 protected:
  virtual void Paint() {}
  void PaintControl(TCanvas& canvas) override;

 private:
  TControlCanvas FCanvas;
};
