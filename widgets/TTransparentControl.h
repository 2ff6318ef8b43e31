#pragma once
// A windowed self-painting control that can show its parent's background under itself: in a
// see-through mode it paints the parent's background and the parent's windowless controls
// into its own picture before drawing, so it looks like part of whatever lies behind it.
#include "graphics/Bitmap.h"
#include "toolkit/core/TCustomControl.h"

enum TTransparentMode { tmOpaque, tmSemiTransparent, tmTransparent };

class TTransparentControl : public TCustomControl {
 public:
  explicit TTransparentControl(TComponent* AOwner);

  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);
  bool SeeThrough() const { return FTransparentMode != tmOpaque; }

 protected:
  // The control paints every pixel itself (see PaintParentBackground), so no erase.
  void EraseBackground(TCanvas& canvas) override;
  // Paints the parent's background and windowless controls at this control's place into
  // CANVAS (whose origin is this control's top-left).
  void PaintParentBackground(TCanvas& canvas);
  // Marks R (client pixels) for repainting.
  void InvalidatePart(const Rect& r);

 private:
  TTransparentMode FTransparentMode = tmSemiTransparent;
};
