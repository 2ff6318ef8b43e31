#pragma once
// A group box: an etched frame with a caption in its top edge, holding other controls.
#include "toolkit/core/TCustomControl.h"

class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* AOwner);

  // Aligned children stay inside the frame, below the caption.
  Rect AlignRect() const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
};
