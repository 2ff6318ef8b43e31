#pragma once
// The base of the styled check box and radio button: a flat 12 x 12 box beside a caption that
// can be drawn with 3D effects and hot tracking, on a see-through background. It draws the
// caption and handles the mouse, the keyboard (space), the focus and the accelerator; the
// descendants draw their box (PaintBox) and decide what a click does (Toggle).
#include <memory>
#include <string>

#include "widgets/THilight3d.h"
#include "widgets/TTransparentControl.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum THilightStyle { hsNone, hsMoving, hsRaising, hsFlushing, hsUnderline, hsColor, hsFrame, hsSunkedFrame };
using TTextHilightStyle = THilightStyle;  // hsNone .. hsColor
enum TVerticalAlignment { vaTop, vaBottom, vaCenter };
using TLeftRight = TAlignment;  // taLeftJustify (box at the left) or taRightJustify

class TStyledControl : public TTransparentControl {
 public:
  explicit TStyledControl(TComponent* AOwner);
  ~TStyledControl() override;

  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TColor BoxColor() const { return FBoxColor; }
  void SetBoxColor(TColor value);
  bool ButtonLike() const { return FButtonLike; }
  void SetButtonLike(bool value);
  TColor CheckColor() const { return FCheckColor; }
  void SetCheckColor(TColor value);
  bool Checked() const { return FState == cbChecked; }
  virtual void SetChecked(bool value);
  bool FocusFrame() const { return FFocusFrame; }
  void SetFocusFrame(bool value);
  TFont3d& Font3d() { return *FFont3d; }
  const TFont3d& Font3d() const { return *FFont3d; }
  THilight3d& Hilight3d() { return *FHilight3d; }
  const THilight3d& Hilight3d() const { return *FHilight3d; }
  TTextHilightStyle HilightStyle() const { return FHilightStyle; }
  void SetHilightStyle(TTextHilightStyle value);  // hsFlushing also switches FocusFrame off
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

  // The caption drawn: at most 255 characters of Caption.
  std::string ShownCaption() const;
  // The box (client pixels) and the part of the control a state change repaints.
  Rect BoxRect() const;
  Rect BoxArea() const;

  // Runtime state.
  bool MouseInside() const { return FMouseInside; }
  bool Pressed() const { return FPressed; }
  TCheckBoxState StateValue() const { return FState; }

  // Hover suppression: off by default; when on, hover effects show only while the active
  // control is not a styled control itself.
  static void SetHoverSuppression(bool value);
  static bool HoverSuppression();

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  // Draws the box in R (12 x 12) with CANVAS, whose font is the caption's.
  virtual void PaintBox(TCanvas& canvas, const Rect& r) = 0;
  virtual void SetState(TCheckBoxState value);
  // What a click (mouse, space, accelerator) does.
  virtual void Toggle() = 0;
  virtual void FireMouseEnter();
  virtual void FireMouseLeave();
  virtual bool CanModify() const { return true; }

  void Paint() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(int& key, TShiftState shift) override;
  void KeyUp(int& key, TShiftState shift) override;
  bool WantsKey(int key) const override;
  void Loaded() override;

  // The edge colours of a raised box (first: top-left) or, with SUNKEN, the reverse.
  static void EdgeColors(bool sunken, TColor& first, TColor& second);
  void InvalidateState();
  void InvalidateCaption();
  void AdjustSize();
  bool HoverAllowed() const;
  TCheckBoxState FState = cbUnchecked;

 private:
  Rect CaptionArea() const;
  int HoverState() const;
  // Draws (or, with DT_CALCRECT in FORMAT, measures into R) the caption with its 3D look.
  void DrawCaption(TCanvas& canvas, Rect& r, unsigned format, int hover, TColor fontColor);
  void Plain3d(TCanvas& canvas, Rect& r, unsigned format, TColor textColor, TColor color3d, int s,
               TShadowPosition pos);
  void Font3dChanged();
  char Accelerator() const;

  TLeftRight FAlignment = taLeftJustify;
  bool FAutoSize = false;
  TColor FBoxColor = clBtnFace;
  bool FButtonLike = true;
  TColor FCheckColor = clBlack;
  bool FFocusFrame = false;
  std::unique_ptr<TFont3d> FFont3d;
  std::unique_ptr<THilight3d> FHilight3d;
  std::unique_ptr<TFont3d> FWorkFont3d;  // the copy painting works with
  TTextHilightStyle FHilightStyle = hsFlushing;
  int FSpacing = 2;
  TAlignment FTextAlignment = taLeftJustify;
  TVerticalAlignment FVerticalAlignment = vaTop;
  bool FWordWrap = false;

  bool FMouseInside = false;
  bool FFocused = false;
  bool FTracking = false;
  bool FPressed = false;
};
