#pragma once
// A windowless geometric shape: outline with Pen, inside with Brush. The outline lies inside
// the control's bounds whatever the pen width.
#include "toolkit/core/TGraphicControl.h"

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);

  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType value);
  const gfx::Pen& Pen() const { return FPen; }
  void SetPen(const gfx::Pen& value);
  const gfx::Brush& Brush() const { return FBrush; }
  void SetBrush(const gfx::Brush& value);
  // Shortcuts for the common changes.
  void SetPenColor(TColor value);
  void SetBrushColor(TColor value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;

 private:
  TShapeType FShape = stRectangle;
  gfx::Pen FPen;
  gfx::Brush FBrush;
};
