#pragma once
// A windowless tool button with a glyph and/or caption. Flat buttons show no frame until the
// pointer is over them (a thin raised frame) or they are pressed (sunken). Buttons that share
// a GroupIndex act as a set of radio buttons that latch down.
//
// Glyph holds NumGlyphs images side by side (up, disabled, down, latched); the colour of the
// glyph's bottom-left pixel is transparent. Without a disabled image, a disabled button
// draws its glyph embossed.
#include "graphics/Bitmap.h"
#include "toolkit/core/TGraphicControl.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);

  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  const gfx::Bitmap& Glyph() const { return FGlyph; }
  void SetGlyph(gfx::Bitmap value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);  // 1..4
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }  // -1: glyph and caption centred
  void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  // A transparent button lets its parent show where it draws nothing.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  void Click() override;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void DrawGlyph(TCanvas& canvas, int x, int y, TButtonState state);
  void UpdateExclusive();
  void ButtonPressed(int groupIndex, TSpeedButton* sender);

  bool FFlat = false;
  gfx::Bitmap FGlyph;
  int FNumGlyphs = 1;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  TButtonState FState = bsUp;
  bool FMouseInControl = false;
  bool FDragging = false;
};
