#pragma once
// A panel: a windowed container with up to two bevels, a border between them and a centred
// caption, drawn the classic way (each bevel a 3D frame of BevelWidth pixels).
#include "toolkit/core/TCustomControl.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);

  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  // bsSingle adds a one-pixel window-frame line round everything.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);

  // The width of the frame (bevels and border) on each side; children aligned to the panel
  // stay inside it.
  int FrameWidth() const;

  Rect AlignRect() const override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

  // Draws a 3D frame WIDTH pixels wide: TOPCOLOR on the left and top, BOTTOMCOLOR on the right
  // and bottom (which also takes the top-right and bottom-left corners); R shrinks by WIDTH.
  static void Frame3D(TCanvas& canvas, Rect& r, TColor topColor, TColor bottomColor, int width);

 protected:
  void Paint() override;

 private:
  TPanelBevel FBevelOuter = bvRaised;
  TPanelBevel FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
  TBorderStyle FBorderStyle = bsNone;
};
