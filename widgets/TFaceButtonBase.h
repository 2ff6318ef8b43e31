#pragma once
// A windowless push button painted off-screen: a caption and a glyph of up to three frames
// (up, disabled, pressed) in one of four layouts, an optional drop-down menu with a small
// arrow mark, a 3D bevel, and a flat mode that raises the button only under the mouse (its
// glyph then greyed while it is not hot). Buttons of one parent with the same non-zero
// GroupIndex latch down exclusively.
#include <string>

#include "graphics/Bitmap.h"
#include "toolkit/controls/TSpeedButton.h"  // TButtonLayout
#include "toolkit/core/TGraphicControl.h"

class TPopupMenu;

class TFaceButtonBase : public TGraphicControl {
 public:
  explicit TFaceButtonBase(TComponent* AOwner);

  TColor LightColor() const { return FLightColor; }
  void SetLightColor(TColor value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor value);
  // Frames side by side: a width that is a multiple of the height gives width / height
  // frames; otherwise the count stays as it was. The bottom-left pixel is transparent.
  const gfx::Bitmap& Glyph() const { return FGlyph; }
  void SetGlyph(const gfx::Bitmap& value);
  int FrameCount() const { return FFrameCount; }
  int FrameWidth() const;
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* value);
  bool GrayedInactive() const { return FGrayedInactive; }
  void SetGrayedInactive(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  bool Down() const { return FDown; }
  void SetDown(bool value);  // only with a GroupIndex
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value) { FAllowAllUp = value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  bool MarkDropDown() const { return FMarkDropDown; }
  void SetMarkDropDown(bool value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  bool Paint256() const { return FPaint256; }
  void SetPaint256(bool value) { FPaint256 = value; }

  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  // Draws the caption, arrow mark, glyph and edges over a background already in CANVAS.
  void PaintFace(TCanvas& canvas);
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void DrawGlyphFrame(TCanvas& canvas, int x, int y);
  char Accelerator() const;

  TColor FLightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  gfx::Bitmap FGlyph;
  int FFrameCount = 0;
  TColor FTransparentColor = clNone;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FGrayedInactive = true;
  TButtonLayout FLayout = blGlyphLeft;
  int FBevelWidth = 1;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FMarkDropDown = true;
  int FSpacing = 1;
  bool FPaint256 = false;
  bool FHot = true;  // a button that is not flat always counts as hot
  bool FPressed = false;
};
