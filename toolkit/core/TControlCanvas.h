#pragma once
// The canvas a self-painting control draws with. Inside a paint it is set up by the paint cycle
// (origin, clip); outside one it draws straight into the form's window, which shows it when
// the current message is done. Pen, brush, font and text settings persist between uses.
#include <functional>
#include <memory>

#include "graphics/Bitmap.h"
#include "toolkit/core/Types.h"

class TControlCanvas {
 public:
  TControlCanvas();
  ~TControlCanvas();

  // The canvas for CONTROL: the paint's own while painting, else one on the form's window.
  TCanvas& For(TControl& control);
  // Runs PAINT with the canvas pointed at CANVAS's target, origin and clip.
  void Paint(const TCanvas& canvas, const std::function<void()>& paint);

 private:
  std::unique_ptr<TCanvas> FCanvas;
  gfx::Bitmap FScratch;  // the target while the control has no form
  bool FInPaint = false;
};
