#pragma once
// TRuler: a pixel scale with ticks at every tenth of a unit, numbers at whole units, an optional
// caption, horizontal or vertical, four text rotations, and rolling of the scale by mouse.
//
// Setters follow one rule: compare with the stored value, return when equal, otherwise store
// and, when EnableRepaint is true, invalidate (so any number of changes costs one paint).
// TickColor, EnableRepaint and RollEnabled are plain values: changing them repaints nothing.
// Caption, Color and Font are the control's own (TControl) values under the same rule.
//
// A UnitSize of zero or below cannot be laid out: such a ruler paints only its background,
// and rolling it changes nothing (there is nothing to divide by).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ruler/RulerPainter.h"
#include "ruler/RulerTypes.h"
#include "ruler/TRulerLook.h"
#include "ruler/TValRange.h"
#include "toolkit/core/TCustomControl.h"

class TRuler : public TCustomControl {
 public:
  explicit TRuler(TComponent* AOwner);

  // Published properties, in their declared order. Caption and Color are TControl's.
  TCaptionAlign CaptionAlign() const { return FCaptionAlign; }
  void SetCaptionAlign(TCaptionAlign value);
  int CaptionIndent1() const { return FCaptionIndent1; }
  void SetCaptionIndent1(int value);
  int CaptionIndent2() const { return FCaptionIndent2; }
  void SetCaptionIndent2(int value);
  bool EnableRepaint() const { return FEnableRepaint; }
  void SetEnableRepaint(bool value) { FEnableRepaint = value; }
  // Copies VALUE into the control's font and repaints, without comparing first.
  using TControl::Font;
  void SetFont(const TFont& value);
  void SetFont(const gfx::Font& value);
  TFontRotation FontRotation() const { return FFontRotation; }
  void SetFontRotation(TFontRotation value);
  TNumberAlign NumberAlign() const { return FNumberAlign; }
  void SetNumberAlign(TNumberAlign value);
  int NumberIndent() const { return FNumberIndent; }
  void SetNumberIndent(int value);
  // Changes nothing else: the owner resizes the control, FontRotation keeps its value.
  TOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TOrientation value);
  bool RollEnabled() const { return FRollEnabled; }
  void SetRollEnabled(bool value) { FRollEnabled = value; }
  // Owned by the control; callers change its values in place.
  TValRange& RollLimits() { return *FRollLimits; }
  const TValRange& RollLimits() const { return *FRollLimits; }
  // Scale value, in units, at pixel 0.
  double StartValue() const { return FStartValue; }
  void SetStartValue(double value);
  TTickAlign TickAlign() const { return FTickAlign; }
  void SetTickAlign(TTickAlign value);
  TColor TickColor() const { return FTickColor; }
  void SetTickColor(TColor value) { FTickColor = value; }  // no repaint: callers repaint
  int TickSizeBig() const { return FTickSizeBig; }
  void SetTickSizeBig(int value);
  int TickSizeMiddle() const { return FTickSizeMiddle; }
  void SetTickSizeMiddle(int value);
  int TickSizeSmall() const { return FTickSizeSmall; }
  void SetTickSizeSmall(int value);
  // Pixels per unit.
  double UnitSize() const { return FUnitSize; }
  void SetUnitSize(double value);
  // The number at unit n is n times this.
  double UnitPrice() const { return FUnitPrice; }
  void SetUnitPrice(double value);
  // Decimals of the numbers; negative values are stored as 0 (after the comparison).
  int UnitPrecision() const { return FUnitPrecision; }
  void SetUnitPrecision(int value);

  // Outline, set by the windows that own a ruler: drawn last of all when DrawFrame is true.
  bool DrawFrame = false;
  TColor FrameColor = clBlack;
  int FrameWidth = 1;

  // A roll is in progress, and the mouse coordinate along the ruler where its last step ended.
  bool Rolling = false;
  int LastRollPos = 0;

  // The look the user chooses, given and taken whole; taking a different one repaints (as far as
  // EnableRepaint allows), tick colour and rolling included.
  TRulerLook Look() const;
  void SetLook(const TRulerLook& look);

  // Everything a paint reads, as it stands now.
  TRulerPaintState PaintState() const;

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // OnClick comes from MouseUp after a roll only, never from a plain click.
  void Click() override {}
  void WndProc(TMessage& message) override;
  // The ruler paints every pixel itself.
  void EraseBackground(TCanvas& canvas) override { (void)canvas; }

 private:
  void Changed();  // the repaint request of every setter
  // The setter rule: floating values compare exactly.
  template <class T>
  void Store(T& field, T value) {
    if (value == field) return;
    field = value;
    Changed();
  }

  TCaptionAlign FCaptionAlign = caTopLeft;
  int FCaptionIndent1 = 0;
  int FCaptionIndent2 = 0;
  bool FEnableRepaint = true;
  TFontRotation FFontRotation = fr0;
  TNumberAlign FNumberAlign = naCenter;
  int FNumberIndent = 0;
  TOrientation FOrientation = orHoriz;
  bool FRollEnabled = false;
  std::unique_ptr<TValRange> FRollLimits;
  // Kept between paints: where the tick walk stands along a long ruler.
  TRulerWalkMarks FWalkMarks;
  double FStartValue = 0.0;
  TTickAlign FTickAlign = taBottomRight;
  TColor FTickColor = clBlack;
  int FTickSizeBig = 45;
  int FTickSizeMiddle = 35;
  int FTickSizeSmall = 15;
  double FUnitSize = 50.0;
  double FUnitPrice = 1.0;
  int FUnitPrecision = 0;
};
